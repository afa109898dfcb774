#include "markup_pieces.h"

#include <cctype>
#include <cstring>

namespace shaping {
namespace {

bool Alnum(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }

// The end of a tag starting at markup[i] ('<'): past its '>' (quoted values
// may hold one), or the markup's end.
size_t TagEnd(const std::string& m, size_t i) {
  if (m.compare(i, 4, "<!--") == 0) {
    const size_t close = m.find("-->", i + 4);
    return close == std::string::npos ? m.size() : close + 3;
  }
  char quote = 0;
  for (size_t k = i + 1; k < m.size(); ++k) {
    const char c = m[k];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      return k + 1;
    }
  }
  return m.size();
}

// A character reference "&name;" or "&#123;" at markup[i]: its length, 0
// when there is none.
size_t ReferenceLength(const std::string& m, size_t i) {
  size_t k = i + 1;
  if (k < m.size() && m[k] == '#') ++k;
  const size_t first = k;
  while (k < m.size() && Alnum(m[k])) ++k;
  return k > first && k < m.size() && m[k] == ';' ? k + 1 - i : 0;
}

bool StartsTag(const std::string& m, size_t i) {
  if (i + 1 >= m.size()) return false;
  const char next = m[i + 1];
  return std::isalpha(static_cast<unsigned char>(next)) || next == '/' || next == '!';
}

}  // namespace

std::vector<MarkupPiece> MarkupPieces(const std::string& m) {
  std::vector<MarkupPiece> pieces;
  const auto add = [&](size_t start, size_t end, bool text) {
    if (end <= start) return;
    if (!pieces.empty() && pieces.back().text == text && pieces.back().start + pieces.back().length == start)
      pieces.back().length += end - start;
    else
      pieces.push_back(MarkupPiece{start, end - start, text});
  };
  size_t textStart = 0;
  for (size_t i = 0; i < m.size();) {
    size_t kept = 0;
    if (m[i] == '<' && StartsTag(m, i)) kept = TagEnd(m, i) - i;
    else if (m[i] == '&') kept = ReferenceLength(m, i);
    if (kept == 0) {
      ++i;
      continue;
    }
    add(textStart, i, true);
    add(i, i + kept, false);
    i += kept;
    textStart = i;
  }
  add(textStart, m.size(), true);
  return pieces;
}

}  // namespace shaping
