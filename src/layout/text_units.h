// Small numeric and text helpers shared by the layout: character stepping in
// the double-byte code page, and the conversions the layout rounds with.
#ifndef INKLINE_LAYOUT_TEXT_UNITS_H
#define INKLINE_LAYOUT_TEXT_UNITS_H

#include <cstddef>
#include <cstdint>

namespace layout {

// Bytes taken by the character at ch: 2 for a lead byte (high bit set)
// followed by a trail byte, else 1. A lead byte right before the NUL counts
// as a one-byte character, so stepping never passes the end of the text.
std::size_t CharBytes(const char* ch);

// Number of characters of a NUL-terminated text, a two-byte character
// counting once. Null counts 0.
long CountChars(const char* text);

// Truncates toward zero; values beyond the 32-bit range saturate and NaN
// gives 0, so no conversion is ever undefined.
std::int32_t TruncToInt(double v);

// Rounds a coordinate to single precision (the layout's positions go through
// a float); values beyond the float range become infinities.
double ToSingle(double v);

// Rounds by adding 0.5 and truncating toward zero, the library's rounding.
inline std::int32_t RoundHalfUp(double v) { return TruncToInt(v + 0.5); }

}  // namespace layout

#endif  // INKLINE_LAYOUT_TEXT_UNITS_H
