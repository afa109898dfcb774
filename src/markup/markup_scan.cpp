#include "markup/markup_scan.h"

#include "html/html_text.h"

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool TagAt(std::string_view text, std::size_t pos, std::string_view tag) {
  if (pos > text.size() || text.size() - pos < tag.size()) return false;
  for (std::size_t k = 0; k < tag.size(); ++k) {
    if (LowerAscii(text[pos + k]) != tag[k]) return false;
  }
  return true;
}

std::size_t FindTag(std::string_view text, std::string_view tag, std::size_t from) {
  if (tag.empty()) return from <= text.size() ? from : std::string_view::npos;
  for (std::size_t i = FindAscii(text, tag[0], from); i != std::string_view::npos;
       i = FindAscii(text, tag[0], i + 1)) {
    if (TagAt(text, i, tag)) return i;
  }
  return std::string_view::npos;
}
