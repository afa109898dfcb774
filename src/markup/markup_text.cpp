#include "markup/markup_text.h"

#include <cstring>
#include <vector>

#include "markup/markup_scan.h"

using html_text::IsLeadByte;

std::string LowerCaseCopy(std::string lower) {
  LowerCaseInPlace(lower);
  return lower;
}

namespace {

// Lower-cases the sixteen bytes at p when none of them leads a two-byte
// character, as in the usual all-ASCII tag; false leaves them to the byte
// loop.
bool LowerCaseAsciiBlock(char* p) {
#if defined(__SSE2__) && defined(__GNUC__)
  const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  if (_mm_movemask_epi8(bytes) != 0) return false;
  const __m128i upper = _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8('A' - 1)),
                                      _mm_cmplt_epi8(bytes, _mm_set1_epi8('Z' + 1)));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(p),
                   _mm_add_epi8(bytes, _mm_and_si128(upper, _mm_set1_epi8('a' - 'A'))));
  return true;
#else
  (void)p;
  return false;
#endif
}

}  // namespace

void LowerCaseInPlace(char* text, std::size_t size) {
  std::size_t i = 0;
  while (i < size) {
    // i is always a character start here, so a whole block of ASCII bytes
    // may be done at once.
    if (size - i >= 16 && LowerCaseAsciiBlock(text + i)) {
      i += 16;
      continue;
    }
    const std::size_t blockEnd = size - i >= 16 ? i + 16 : size;
    for (; i < blockEnd; ++i) {
      const char c = text[i];
      if (IsLeadByte(c)) {
        ++i;  // the second byte stays as it is
      } else if (c >= 'A' && c <= 'Z') {
        text[i] = static_cast<char>(c - 'A' + 'a');
      }
    }
  }
}

void LowerCaseInPlace(std::string& text) { LowerCaseInPlace(text.data(), text.size()); }

namespace {

// Whether `what` stands at pos. Names and tags are short: a plain loop beats
// a call to compare them.
bool StandsAt(std::string_view text, std::size_t pos, std::string_view what) {
  if (text.size() - pos < what.size()) return false;
  for (std::size_t k = 0; k < what.size(); ++k) {
    if (text[pos + k] != what[k]) return false;
  }
  return true;
}

}  // namespace

std::size_t FindInText(std::string_view text, std::string_view what, std::size_t from) {
  if (from > text.size()) return std::string::npos;
  if (what.empty()) return from;
  if (!shared::IsLeadByte(what[0])) {
    // Jumps from one first byte to the next; FindAscii keeps to character starts.
    for (std::size_t i = FindAscii(text, what[0], from); i != std::string::npos;
         i = FindAscii(text, what[0], i + 1)) {
      if (StandsAt(text, i, what)) return i;
    }
    return std::string::npos;
  }
  for (std::size_t i = from; i + what.size() <= text.size(); i += CharSizeAt(text, i)) {
    if (StandsAt(text, i, what)) return i;
  }
  return std::string::npos;
}

namespace {

// Calls found(pos) for every occurrence of `what` in `text` at a character
// start, left to right and without overlap, and returns how many. Every byte
// match is found in one pass with the Knuth-Morris-Pratt table, so a long
// `what` whose prefixes recur in the text costs no more than a short one.
template <typename Found>
std::size_t ForEachMatch(std::string_view text, std::string_view what, Found&& found) {
  if (what.empty()) return 0;
  // border[i]: the longest proper prefix of what[0..i] that is also its suffix.
  constexpr std::size_t kSmall = 128;
  std::size_t small[kSmall];
  std::vector<std::size_t> large;
  if (what.size() > kSmall) large.resize(what.size());
  std::size_t* const border = what.size() > kSmall ? large.data() : small;
  border[0] = 0;
  for (std::size_t i = 1, k = 0; i < what.size(); ++i) {
    while (k > 0 && what[i] != what[k]) k = border[k - 1];
    if (what[i] == what[k]) ++k;
    border[i] = k;
  }

  std::size_t done = 0;       // where the last match ended
  std::size_t charStart = 0;  // walks the character starts
  std::size_t count = 0;
  for (std::size_t i = 0, k = 0; i < text.size(); ++i) {
    if (k == 0) {
      // Nothing matched so far: skip straight to the next first byte.
      const void* next = std::memchr(text.data() + i, what[0], text.size() - i);
      if (!next) break;
      i = static_cast<std::size_t>(static_cast<const char*>(next) - text.data());
    }
    while (k > 0 && text[i] != what[k]) k = border[k - 1];
    if (text[i] == what[k]) ++k;
    if (k < what.size()) continue;
    k = border[k - 1];
    const std::size_t at = i + 1 - what.size();
    while (charStart < at) charStart += CharSizeAt(text, charStart);
    if (charStart != at || at < done) continue;
    found(at);
    done = i + 1;
    ++count;
  }
  return count;
}

}  // namespace

std::size_t ReplaceInText(std::string& text, const std::string& what, const std::string& with) {
  std::string out;
  std::size_t done = 0;  // text before this is in out
  const std::size_t count = ForEachMatch(text, what, [&](std::size_t at) {
    if (done == 0) out.reserve(text.size());
    out.append(text, done, at - done);
    out += with;
    done = at + what.size();
  });
  if (count == 0) return 0;
  out.append(text, done, std::string::npos);
  text.swap(out);
  return count;
}
