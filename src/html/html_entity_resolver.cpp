#include "html/html_entity_resolver.h"

#include "html/html_text.h"

using html_text::NextChar;
using html_text::SkipWhiteSpace;

CHTMLEntityResolver::CHTMLEntityResolver()
    : Entities{{"quot", '"'}, {"amp", '&'}, {"apos", '\''},
               {"lt", '<'},   {"gt", '>'},  {"nbsp", ' '}} {
  for (const auto& entry : Entities) {
    if (entry.first.size() > LongestName) LongestName = entry.first.size();
  }
}

CHTMLEntityResolver::~CHTMLEntityResolver() = default;

int CHTMLEntityResolver::ResolveEntity(const char* text, char& out) const {
  // White space holds no lead bytes, so stepping from text or from the first
  // other byte meets the same character boundaries.
  const char* amp = SkipWhiteSpace(text);
  if (*amp != '&') return 0;
  const char* nameBegin = amp + 1;

  // The name runs to the first ";". Looking no farther than the longest known
  // name keeps an unclosed "&" from scanning the rest of the text: a farther
  // ";" would make a name that cannot be in the table.
  const char* semicolon = nullptr;
  for (const char* p = nameBegin; *p != '\0'; p = NextChar(p)) {
    if (*p == ';') {
      semicolon = p;
      break;
    }
    if (static_cast<std::size_t>(p - nameBegin) >= LongestName) break;
  }
  // The shortest name is two bytes, as in &lt;.
  if (!semicolon || semicolon - amp < 3) return 0;

  const auto found = Entities.find(std::string(nameBegin, semicolon));
  if (found == Entities.end()) return 0;
  out = found->second;
  return static_cast<int>(semicolon + 1 - text);
}
