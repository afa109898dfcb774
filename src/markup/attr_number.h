// Numbers read from markup attribute values, with a defined result for every
// input.
#ifndef INKLINE_SRC_MARKUP_ATTR_NUMBER_H
#define INKLINE_SRC_MARKUP_ATTR_NUMBER_H

// As atoi: leading white space skipped, an optional sign, decimal digits up to
// the first other byte, no digits reads as 0. A value beyond the 32-bit range
// saturates at INT_MAX or INT_MIN instead of being undefined.
int ReadMarkupInteger(const char* text);

// As atof (leading white space, decimal or hexadecimal reals, inf, nan; no
// number reads as 0; beyond the double range reads as an infinity).
double ReadMarkupReal(const char* text);

// The 32-bit value in a narrower integer type, keeping its low bits, or in a
// real type.
template <typename T>
T NarrowMarkupInteger(int value);

// A real in the result type: integers by truncation toward zero, saturating
// at the 32-bit range (NaN gives 0) before keeping the low bits; a float
// beyond its range becomes an infinity of the same sign.
template <typename T>
T NarrowMarkupReal(double value);

#endif  // INKLINE_SRC_MARKUP_ATTR_NUMBER_H
