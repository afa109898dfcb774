// Stepping through text in the double-byte code page: a byte with its high
// bit set leads a two-byte character, which counts as one character.
#ifndef INKLINE_SRC_LAYOUT_TEXT_UNITS_H
#define INKLINE_SRC_LAYOUT_TEXT_UNITS_H

#include <cstddef>

#include <inkline/shared/text_units.h>

namespace layout {

using shared::CharBytes;
using shared::IsLeadByte;

// Number of characters of a NUL-terminated text. Null counts 0.
long CountChars(const char* text);

// Number of characters in the first `bytes` bytes of text (which must hold
// that many before its NUL), by the same rule.
long CountChars(const char* text, std::size_t bytes);

}  // namespace layout

#endif  // INKLINE_SRC_LAYOUT_TEXT_UNITS_H
