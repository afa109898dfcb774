#include "markup/attr_number.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <type_traits>

#include <inkline/shared/numeric.h>

namespace {

bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int ReadMarkupInteger(const char* text) {
  const char* p = text;
  while (IsCSpace(*p)) ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  // Accumulates the magnitude; one past INT_MAX is enough to saturate both ways.
  const long long limit = static_cast<long long>(INT_MAX) + 1;
  long long magnitude = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (magnitude < limit) magnitude = magnitude * 10 + (*p - '0');
  }
  if (magnitude > limit) magnitude = limit;
  const long long value = negative ? -magnitude : magnitude;
  if (value > INT_MAX) return INT_MAX;
  return static_cast<int>(value);
}

double ReadMarkupReal(const char* text) { return std::strtod(text, nullptr); }

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
