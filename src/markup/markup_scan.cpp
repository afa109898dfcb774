#include "markup/markup_scan.h"

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsLead(char c) { return (static_cast<unsigned char>(c) & 0x80) != 0; }

}  // namespace

bool TagAt(std::string_view text, std::size_t pos, std::string_view tag) {
  if (pos > text.size() || text.size() - pos < tag.size()) return false;
  for (std::size_t k = 0; k < tag.size(); ++k) {
    if (LowerAscii(text[pos + k]) != tag[k]) return false;
  }
  return true;
}

// Documents are short and tags close together: a walk beats a memchr call
// per tag.
std::size_t FindAscii(std::string_view text, char c, std::size_t from) {
  for (std::size_t i = from; i < text.size(); ++i) {
    const char b = text[i];
    if (b == c) return i;
    if (IsLead(b)) ++i;  // the second byte of the character
  }
  return std::string_view::npos;
}

std::size_t FindAngleBracket(std::string_view text, std::size_t from) {
  for (std::size_t i = from; i < text.size(); ++i) {
    const char c = text[i];
    if (IsLead(c)) {
      ++i;  // the second byte of the character
    } else if (c == '<' || c == '>') {
      return i;
    }
  }
  return std::string_view::npos;
}

std::size_t FindTag(std::string_view text, std::string_view tag, std::size_t from) {
  if (tag.empty()) return from <= text.size() ? from : std::string_view::npos;
  for (std::size_t i = FindAscii(text, tag[0], from); i != std::string_view::npos;
       i = FindAscii(text, tag[0], i + 1)) {
    if (TagAt(text, i, tag)) return i;
  }
  return std::string_view::npos;
}
