// Where the usual opening tag ends, told from the classes of its bytes, 16 at
// a time, without reading its attributes one by one.
//
// The usual tag's attributes are names of name characters, each alone or
// with "=" and a value: either name characters and "=" up to white space,
// "/" or ">", or any text in quotes right after the first "=", followed by
// white space, "/" or ">". A byte of another kind (NUL, a byte with the high
// bit set, any other punctuation) before the ">" leaves the tag undecided,
// as does any shape the byte-by-byte reading of attribute_scan.h would read
// in another way: white space after "=", a value that runs into the next
// attribute. Where it decides, it agrees with that reading.
#ifndef INKLINE_SRC_HTML_ATTRIBUTE_BLOCK_H
#define INKLINE_SRC_HTML_ATTRIBUTE_BLOCK_H

#if defined(__SSE2__) && defined(__GNUC__)
#define INKLINE_ATTRIBUTE_BLOCK 1

#include <cstdint>
#include <cstring>

#include "html/html_text.h"

namespace html_text {
namespace attribute_block {

// Bit i of a mask for byte i of a window of 64 bytes.
constexpr int kWindow = 64;

// Bits [0, n), n below 64; bits [0, i], i below 64.
inline uint64_t Below(int n) { return (uint64_t{1} << n) - 1; }
inline uint64_t Through(int i) { return (uint64_t{2} << i) - 1; }
// The lowest bit set, or kWindow; the highest, or -1.
inline int Lowest(uint64_t m) { return m ? __builtin_ctzll(m) : kWindow; }
inline int Highest(uint64_t m) { return m ? 63 - __builtin_clzll(m) : -1; }

// The classes of a window's bytes.
struct Window {
  const char* Bytes;
  int Known = 0;  // bytes classified, from the first
  uint64_t Space = 0;
  uint64_t Letter = 0;
  uint64_t Equals = 0;
  uint64_t Quote = 0;   // either quote
  uint64_t TagEnd = 0;  // "/" or ">"
  uint64_t Odd = 0;     // no name character and none of the above
};

// Sorts the 16 bytes at p into w's masks from bit at.
inline void Classify(const char* p, int at, Window& w) {
  using namespace lanes;
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i space = WhiteSpace(v);
  const __m128i letter = Letters(v);
  const __m128i equals = Is(v, '=');
  const __m128i quote = _mm_or_si128(Is(v, '"'), Is(v, '\''));
  const __m128i greater = Is(v, '>');
  const __m128i tagEnd = _mm_or_si128(Is(v, '/'), greater);
  const __m128i otherName = _mm_or_si128(DigitsDotsSlash(v), Is(v, '_'));
  const __m128i known = _mm_or_si128(_mm_or_si128(_mm_or_si128(space, letter), equals),
                                     _mm_or_si128(_mm_or_si128(quote, greater), otherName));
  auto bits = [at](int mask) { return static_cast<uint64_t>(static_cast<uint16_t>(mask)) << at; };
  w.Space |= bits(_mm_movemask_epi8(space));
  w.Letter |= bits(_mm_movemask_epi8(letter));
  w.Equals |= bits(_mm_movemask_epi8(equals));
  w.Quote |= bits(_mm_movemask_epi8(quote));
  w.TagEnd |= bits(_mm_movemask_epi8(tagEnd));
  w.Odd |= bits(~_mm_movemask_epi8(known));
}

// What a window tells of the tag.
struct Step {
  enum Kind { kUndecided, kMore, kClose, kGoOn } Result = kUndecided;
  int At = 0;            // kClose: the ">"; kGoOn: the white space after which to go on
  bool Closing = false;  // kClose: "/>"
};

// Whether the bytes before limit, outside quoted, hold whole attributes
// only: each run between white space starts with a letter, has no odd
// byte, and does not end in "=", which would take what follows as its value.
inline bool WholeAttributes(const Window& w, uint64_t quoted, int limit) {
  const uint64_t inAttribute = Below(limit) & ~(w.Space & ~quoted);
  const uint64_t starts = inAttribute & ~(inAttribute << 1);
  const uint64_t ends = inAttribute & ~(inAttribute >> 1);
  return (starts & ~w.Letter) == 0 && (w.Equals & ends & ~quoted) == 0 &&
         (w.Odd & Below(limit)) == 0;
}

// The tag from the known bytes of w, whose first byte is a letter.
inline Step Read(const Window& w) {
  const char* bytes = w.Bytes;
  const int known = w.Known;
  // Quoted values, up to the first "/" or ">" outside them: each opens right
  // after the first "=" of its attribute and ends at the same quote, which
  // white space, "/" or ">" follows.
  uint64_t quoted = 0;
  int end = Lowest(w.TagEnd);
  int unread = known;  // the first byte not accounted for
  for (uint64_t quotes = w.Quote; quotes != 0;) {
    const int open = Lowest(quotes);
    if (open > end) break;
    if (open == 0 || bytes[open - 1] != '=') return {};
    const int start = Highest(w.Space & ~quoted & Below(open - 1)) + 1;
    if ((w.Equals & Below(open - 1) & ~Below(start)) != 0) return {};
    uint64_t later = w.Quote & ~Through(open);
    int close = Lowest(later);
    while (close < known && bytes[close] != bytes[open]) {
      later &= later - 1;
      close = Lowest(later);
    }
    if (close + 1 >= known) {
      unread = open;
      break;
    }
    if ((((w.Space | w.TagEnd) >> (close + 1)) & 1) == 0) return {};
    const uint64_t value = Through(close) & ~Below(open);
    quoted |= value;
    quotes &= ~Through(close);
    if ((w.TagEnd & value) != 0) end = Lowest(w.TagEnd & ~quoted);
  }
  if (end < unread) {
    Step step;
    step.Closing = bytes[end] == '/';
    step.At = end + (step.Closing ? 1 : 0);
    if (step.At >= known) return {Step::kMore};
    if (bytes[step.At] != '>') return {};
    if (!WholeAttributes(w, quoted, end)) return {};
    step.Result = Step::kClose;
    return step;
  }
  if (known < kWindow) return {Step::kMore};
  // The tag goes on past the window: what stands before its last white
  // space outside values, and before any value still open, must be whole
  // attributes, and the next window starts after that space.
  const int space = Highest(w.Space & ~quoted & Through(unread - 1));
  if (space <= 0 || !WholeAttributes(w, quoted, space)) return {};
  Step step;
  step.Result = Step::kGoOn;
  step.At = space;
  return step;
}

// Reads a window of the tag from rest, a letter; textEnd is the text's NUL,
// after which nothing is read.
inline Step ReadWindow(const char* rest, const char* textEnd) {
  Window w;
  w.Bytes = rest;
  for (;;) {
    const char* p = rest + w.Known;
    const bool last = textEnd - p < 16;
    if (last) {
      char padded[16] = {};  // NULs where the text has ended
      std::memcpy(padded, p, static_cast<std::size_t>(textEnd - p));
      Classify(padded, w.Known, w);
    } else {
      Classify(p, w.Known, w);
    }
    w.Known += 16;
    if (w.TagEnd != 0 || w.Known == kWindow) {
      const Step step = Read(w);
      if (step.Result != Step::kMore) return step;
    }
    if (last || w.Known == kWindow) return {};
  }
}

}  // namespace attribute_block

// The ">" of the usual opening tag whose attributes start at rest, a letter,
// and whether "/>" closes it as well; null when the tag is not a usual one
// and must be read attribute by attribute. textEnd is the text's NUL.
inline const char* FindUsualTagClose(const char* rest, const char* textEnd, bool& closing) {
  using attribute_block::Step;
  // A few windows take any usual tag.
  for (int window = 0; window < 4; ++window) {
    const Step step = attribute_block::ReadWindow(rest, textEnd);
    if (step.Result == Step::kClose) {
      closing = step.Closing;
      return rest + step.At;
    }
    if (step.Result != Step::kGoOn) return nullptr;
    rest = SkipWhiteSpace(rest + step.At);
    if (!IsLetter(*rest)) return nullptr;
  }
  return nullptr;
}

}  // namespace html_text

#endif  // __SSE2__ && __GNUC__

#endif  // INKLINE_SRC_HTML_ATTRIBUTE_BLOCK_H
