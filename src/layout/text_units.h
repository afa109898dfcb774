// Stepping through text in the double-byte code page: a byte with its high
// bit set leads a two-byte character, which counts as one character.
#ifndef INKLINE_SRC_LAYOUT_TEXT_UNITS_H
#define INKLINE_SRC_LAYOUT_TEXT_UNITS_H

#include <cstddef>

namespace layout {

// Whether the byte leads a two-byte character.
inline bool IsLeadByte(char byte) { return (static_cast<unsigned char>(byte) & 0x80) != 0; }

// Bytes taken by the character at ch: 2 for a lead byte followed by a trail
// byte, else 1. A lead byte right before the NUL is a one-byte character, so
// stepping never passes the end of the text and never hands on the NUL as
// half a character.
inline std::size_t CharBytes(const char* ch) { return IsLeadByte(ch[0]) && ch[1] != '\0' ? 2 : 1; }

// Number of characters of a NUL-terminated text. Null counts 0.
long CountChars(const char* text);

// Number of characters in the first `bytes` bytes of text (which must hold
// that many before its NUL), by the same rule.
long CountChars(const char* text, std::size_t bytes);

}  // namespace layout

#endif  // INKLINE_SRC_LAYOUT_TEXT_UNITS_H
