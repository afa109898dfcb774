#include "markup/attr_number.h"

#include <climits>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <type_traits>

#if !defined(_WIN32)
#include <langinfo.h>
#endif

#include <inkline/shared/numeric.h>

namespace {

bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Past the leading white space and sign of a number, as atoi and strtod
// skip them; negative tells whether the sign was "-".
const char* SkipSpaceAndSign(const char* text, bool& negative) {
  const char* p = text;
  while (IsCSpace(*p)) ++p;
  negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  return p;
}

// Whether the C library reads decimals as this file does: its locale writes
// decimal points as "." (asked for every number, as a host may change its
// locale), and it rounds them correctly. The Windows library's own strtod
// is left to read every number, as it always has.
bool ReadsDecimalsAsHere() {
#if defined(_WIN32)
  return false;
#else
  const char* point = nl_langinfo(RADIXCHAR);  // no copy of the whole locale
  return point[0] == '.' && point[1] == '\0';
#endif
}

// The plain decimal at text, as most markup values are ("2", "-0.5",
// "45.158004"), when the C library reads decimal points as "."; false for
// anything else. Up to 15 digits the digits make an exact double, and so
// does ten to the power of the fraction's length: their quotient, rounded
// once, is what strtod gives.
bool ReadPlainDecimal(const char* text, double& value) {
  constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  constexpr int kMostDigits = 15;
  if (!ReadsDecimalsAsHere()) return false;
  bool negative;
  const char* p = SkipSpaceAndSign(text, negative);
  // Nothing strtod reads starts with another printable ASCII byte (a quote
  // of a quoted value, say): no number. Other bytes may be white space in
  // some locale, and strtod's to judge.
  const unsigned char first = static_cast<unsigned char>(*p);
  if (first > ' ' && first < 0x7F &&
      !(IsDigit(*p) || *p == '.' || *p == 'i' || *p == 'I' || *p == 'n' || *p == 'N')) {
    value = 0.0;
    return true;
  }
  uint64_t digits = 0;
  int count = 0;
  int fraction = 0;
  for (; IsDigit(*p) && count <= kMostDigits; ++p, ++count) digits = digits * 10 + (*p - '0');
  if (*p == '.') {
    for (++p; IsDigit(*p) && count <= kMostDigits; ++p, ++count, ++fraction) {
      digits = digits * 10 + (*p - '0');
    }
  }
  // An exponent, a hexadecimal number or more digits are strtod's to read.
  if (count == 0 || count > kMostDigits || *p == 'e' || *p == 'E' || *p == 'x' || *p == 'X') {
    return false;
  }
  value = static_cast<double>(digits) / kPowersOfTen[fraction];
  if (negative) value = -value;
  return true;
}

}  // namespace

int ReadMarkupInteger(const char* text) {
  bool negative;
  const char* p = SkipSpaceAndSign(text, negative);
  // Accumulates the magnitude; one past INT_MAX is enough to saturate both ways.
  const long long limit = static_cast<long long>(INT_MAX) + 1;
  long long magnitude = 0;
  for (; IsDigit(*p); ++p) {
    if (magnitude < limit) magnitude = magnitude * 10 + (*p - '0');
  }
  if (magnitude > limit) magnitude = limit;
  const long long value = negative ? -magnitude : magnitude;
  if (value > INT_MAX) return INT_MAX;
  return static_cast<int>(value);
}

double ReadMarkupReal(const char* text) {
  double value;
  return ReadPlainDecimal(text, value) ? value : std::strtod(text, nullptr);
}

template <typename T>
T NarrowMarkupInteger(int value) {
  if constexpr (std::is_floating_point_v<T> || std::is_same_v<T, int>) {
    return static_cast<T>(value);
  } else {
    using Unsigned = std::make_unsigned_t<T>;
    const Unsigned low = static_cast<Unsigned>(static_cast<unsigned>(value));
    if (low <= static_cast<Unsigned>(std::numeric_limits<T>::max())) return static_cast<T>(low);
    // Above the signed maximum: the same bits as a negative number.
    return static_cast<T>(static_cast<int>(low) -
                          static_cast<int>(std::numeric_limits<Unsigned>::max()) - 1);
  }
}

template <typename T>
T NarrowMarkupReal(double value) {
  if constexpr (std::is_same_v<T, double>) {
    return value;
  } else if constexpr (std::is_same_v<T, float>) {
    // From here on a value no longer rounds to the largest float.
    constexpr double kFloatOverflow = 0x1.ffffffp+127;
    if (value >= kFloatOverflow) return std::numeric_limits<float>::infinity();
    if (value <= -kFloatOverflow) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
  } else {
    return NarrowMarkupInteger<T>(shared::TruncToInt(value));
  }
}

template int NarrowMarkupInteger<int>(int);
template float NarrowMarkupInteger<float>(int);
template double NarrowMarkupInteger<double>(int);
template char NarrowMarkupInteger<char>(int);
template short NarrowMarkupInteger<short>(int);
template int NarrowMarkupReal<int>(double);
template float NarrowMarkupReal<float>(double);
template double NarrowMarkupReal<double>(double);
template char NarrowMarkupReal<char>(double);
template short NarrowMarkupReal<short>(double);
