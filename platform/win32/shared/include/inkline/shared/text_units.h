// Stepping through text in the double-byte code page: a byte with its high
// bit set leads a two-byte character, which counts as one character.
#ifndef INKLINE_SHARED_TEXT_UNITS_H
#define INKLINE_SHARED_TEXT_UNITS_H

#include <cstddef>

namespace shared {

// Whether the byte leads a two-byte character.
inline bool IsLeadByte(char byte) { return (static_cast<unsigned char>(byte) & 0x80) != 0; }

// Bytes taken by the character at ch: 2 for a lead byte followed by a trail
// byte, else 1. A lead byte right before the NUL is a one-byte character, so
// stepping never passes the end of the text and never hands on the NUL as
// half a character.
inline std::size_t CharBytes(const char* ch) { return IsLeadByte(ch[0]) && ch[1] != '\0' ? 2 : 1; }

// The character code at ch: the byte itself, or lead << 8 | trail.
inline unsigned CharCode(const char* ch) {
  const auto lead = static_cast<unsigned char>(ch[0]);
  return CharBytes(ch) == 2 ? (lead << 8 | static_cast<unsigned char>(ch[1])) : lead;
}

}  // namespace shared

#endif  // INKLINE_SHARED_TEXT_UNITS_H
