#include "html/html_entity_resolver.h"

#include <cstring>

#include "html/html_text.h"

using html_text::SkipWhiteSpace;

namespace {

struct Entity {
  const char* Name;
  std::size_t Length;
  char Byte;
};

// A fixed table: a reader is built for every rich-text label, so the
// resolver must cost nothing to make.
constexpr Entity kEntities[] = {{"quot", 4, '"'}, {"amp", 3, '&'}, {"apos", 4, '\''},
                                {"lt", 2, '<'},   {"gt", 2, '>'},  {"nbsp", 4, ' '}};
constexpr std::size_t kShortestName = 2;
constexpr std::size_t kLongestName = 4;

// The byte a name of the table stands for, or 0 when it is not in the table.
char ByteOf(const char* name, std::size_t length) {
  for (const Entity& entity : kEntities) {
    if (entity.Length == length && std::memcmp(entity.Name, name, length) == 0) return entity.Byte;
  }
  return 0;
}

}  // namespace

CHTMLEntityResolver::CHTMLEntityResolver() = default;

CHTMLEntityResolver::~CHTMLEntityResolver() = default;

int CHTMLEntityResolver::ResolveEntity(const char* text, char& out) const {
  const char* amp = SkipWhiteSpace(text);
  if (*amp != '&') return 0;
  const char* nameBegin = amp + 1;

  // The name runs to the first ";". Looking no farther than the longest known
  // name keeps an unclosed "&" from scanning the rest of the text. Every name
  // is ASCII, so a lead byte (or the NUL) before the ";" rules the text out
  // whatever follows.
  const char* semicolon = nullptr;
  for (const char* p = nameBegin; p <= nameBegin + kLongestName; ++p) {
    if (*p == ';') {
      semicolon = p;
      break;
    }
    if (*p == '\0' || html_text::IsLeadByte(*p)) return 0;
  }
  if (!semicolon) return 0;
  const std::size_t length = static_cast<std::size_t>(semicolon - nameBegin);
  if (length < kShortestName) return 0;
  const char byte = ByteOf(nameBegin, length);
  if (byte == 0) return 0;
  out = byte;
  return static_cast<int>(semicolon + 1 - text);
}
