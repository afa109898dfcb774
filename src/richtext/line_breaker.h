// Line breaking as a pure function: given the text of a line and a test of
// whether a prefix of so many bytes and characters fits the box, the longest
// prefix that fits. Each step measures once from the counts alone, so a
// break costs time linear in the length of the line it keeps.
#ifndef INKLINE_SRC_RICHTEXT_LINE_BREAKER_H
#define INKLINE_SRC_RICHTEXT_LINE_BREAKER_H

#include <cstddef>
#include <string_view>

namespace richtext {

// The text of a line as two consecutive parts, the runs already on the line
// and the text being added, read as one without joining them.
struct LineText {
  std::string_view head;
  std::string_view tail;

  std::size_t size() const { return head.size() + tail.size(); }
  char operator[](std::size_t i) const { return i < head.size() ? head[i] : tail[i - head.size()]; }
};

// Characters of the line, a lead byte (high bit set) taking its next byte
// along unless it is the last byte.
long CountChars(const LineText& line);

struct Break {
  long bytes;  // byte length of the prefix that stays; -1 when not even an empty line fits
  long chars;  // its characters
};

// Steps one character at a time (a byte of 1 to 127 is one byte, any other
// byte leads two) and stops at the first prefix that does not fit, or at the
// end; the prefix before that last step stays. fits(bytes, chars) must be a
// function of its arguments.
template <typename Fits>
Break BreakLine(const LineText& line, Fits fits) {
  if (!fits(std::size_t{0}, 0L)) return Break{-1, 0};
  const std::size_t length = line.size();
  std::size_t count = 0;
  std::size_t step = 0;
  long chars = 0;
  while (count < length) {
    const auto byte = static_cast<unsigned char>(line[count]);
    step = byte >= 1 && byte <= 127 ? 1 : 2;
    count += step;
    ++chars;
    if (!fits(count < length ? count : length, chars)) break;
  }
  return Break{static_cast<long>(count - step), chars > 0 ? chars - 1 : 0};
}

}  // namespace richtext

#endif  // INKLINE_SRC_RICHTEXT_LINE_BREAKER_H
