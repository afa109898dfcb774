// Finding tags in markup without a lower-case copy of it. Positions are
// character starts as CharSizeAt steps from the beginning:
// a byte with the high bit set and a byte after it make one character.
#ifndef INKLINE_SRC_MARKUP_MARKUP_SCAN_H
#define INKLINE_SRC_MARKUP_MARKUP_SCAN_H

#include <cstddef>
#include <string_view>

#include <inkline/shared/text_units.h>
#include "html/html_text.h"

// The bytes of the character that starts at `pos` (1 or 2).
inline std::size_t CharSizeAt(std::string_view text, std::size_t pos) {
  return shared::IsLeadByte(text[pos]) && pos + 1 < text.size() ? 2 : 1;
}

// Whether `tag` (lower-case ASCII) stands at the character start `pos`, the
// letters of the text compared without case. Every character of a match is a
// single byte, so this is the lower-case copy's answer.
bool TagAt(std::string_view text, std::size_t pos, std::string_view tag);

// The first character start at or after `from` (itself one) holding the
// ASCII byte a or b, or npos: the next such byte, unless it is the second
// byte of a two-byte character. Inline, as the readers call it for every
// tag of a document.
inline std::size_t FindEither(std::string_view text, std::size_t from, char a, char b) {
  if (from >= text.size()) return std::string_view::npos;
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  const char* start = begin + from;  // a character start
  while (start < end) {
    const char* hit = html_text::FindEitherByte(start, end, a, b);
    if (hit == end) break;
    if (html_text::StartsCharacter(start, hit)) return static_cast<std::size_t>(hit - begin);
    start = hit + 1;  // after a trail byte
  }
  return std::string_view::npos;
}

// The first character start at or after `from` (itself one) holding the
// ASCII byte c, or npos.
inline std::size_t FindAscii(std::string_view text, char c, std::size_t from = 0) {
  return FindEither(text, from, c, c);
}

// The first character start at or after `from` (itself one) holding "<" or
// ">", or npos.
inline std::size_t FindAngleBracket(std::string_view text, std::size_t from = 0) {
  return FindEither(text, from, '<', '>');
}

// The first character start at or after `from` (itself one) where TagAt
// holds, or npos. The tag starts with markup punctuation, not a letter.
std::size_t FindTag(std::string_view text, std::string_view tag, std::size_t from = 0);

#endif  // INKLINE_SRC_MARKUP_MARKUP_SCAN_H
