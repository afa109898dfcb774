#include "markup/markup_text.h"

#include <vector>

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

namespace {

// For each prefix of `what`, the length of its longest proper prefix that is
// also its suffix (the Knuth-Morris-Pratt table).
std::vector<std::size_t> BorderTable(const std::string& what) {
  std::vector<std::size_t> border(what.size(), 0);
  for (std::size_t i = 1, k = 0; i < what.size(); ++i) {
    while (k > 0 && what[i] != what[k]) k = border[k - 1];
    if (what[i] == what[k]) ++k;
    border[i] = k;
  }
  return border;
}

}  // namespace

// Finds every byte match in one pass, so a long `what` whose prefixes recur
// in the text costs no more than a short one; a match counts when it starts
// at a character start and after the previous match.
std::size_t ReplaceInText(std::string& text, const std::string& what, const std::string& with) {
  if (what.empty()) return 0;
  const std::vector<std::size_t> border = BorderTable(what);
  std::string out;
  std::size_t done = 0;       // text before this is in out
  std::size_t charStart = 0;  // walks the character starts
  std::size_t count = 0;
  for (std::size_t i = 0, k = 0; i < text.size(); ++i) {
    while (k > 0 && text[i] != what[k]) k = border[k - 1];
    if (text[i] == what[k]) ++k;
    if (k < what.size()) continue;
    k = border[k - 1];
    const std::size_t found = i + 1 - what.size();
    while (charStart < found) charStart += MarkupCharSize(text, charStart);
    if (charStart != found || found < done) continue;
    if (count == 0) out.reserve(text.size());
    out.append(text, done, found - done);
    out += with;
    done = i + 1;
    ++count;
  }
  if (count == 0) return 0;
  out.append(text, done, std::string::npos);
  text.swap(out);
  return count;
}
