#include "markup/markup_text.h"

std::size_t MarkupCharSize(const std::string& text, std::size_t pos) {
  const bool lead = (static_cast<unsigned char>(text[pos]) & 0x80) != 0;
  // A lead byte at the very end is a character of its own.
  return lead && pos + 1 < text.size() ? 2 : 1;
}

std::string LowerCaseCopy(const std::string& text) {
  std::string lower = text;
  for (std::size_t i = 0; i < lower.size(); i += MarkupCharSize(lower, i)) {
    if (lower[i] >= 'A' && lower[i] <= 'Z') lower[i] = static_cast<char>(lower[i] - 'A' + 'a');
  }
  return lower;
}

std::size_t FindInText(const std::string& text, const std::string& what, std::size_t from) {
  if (from > text.size()) return std::string::npos;
  for (std::size_t i = from; i + what.size() <= text.size(); i += MarkupCharSize(text, i)) {
    if (text.compare(i, what.size(), what) == 0) return i;
  }
  return std::string::npos;
}

std::size_t ReplaceInText(std::string& text, const std::string& what, const std::string& with) {
  if (what.empty()) return 0;
  std::size_t found = FindInText(text, what);
  if (found == std::string::npos) return 0;
  std::string out;
  out.reserve(text.size());
  std::size_t done = 0;
  std::size_t count = 0;
  while (found != std::string::npos) {
    out.append(text, done, found - done);
    out += with;
    done = found + what.size();
    ++count;
    found = FindInText(text, what, done);
  }
  out.append(text, done, std::string::npos);
  text.swap(out);
  return count;
}
