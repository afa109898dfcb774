// The numbers every layer shares: the circle constant, the library's
// rounding, conversions that saturate instead of being undefined, and the
// design grid of a font library type.
#ifndef INKLINE_SHARED_NUMERIC_H
#define INKLINE_SHARED_NUMERIC_H

#include <cmath>
#include <cstdint>
#include <limits>

namespace shared {

inline constexpr double kPi = 3.141592653589793;

// Glyph units per character height: a character library (type 1) uses 255,
// every other library 40.
inline constexpr double kCharLibraryGrid = 255.0;
inline constexpr double kVectorGrid = 40.0;
inline constexpr short kCharLibraryType = 1;
inline double DesignGridFor(short libType) {
  return libType == kCharLibraryType ? kCharLibraryGrid : kVectorGrid;
}

// Truncates toward zero; values beyond the 32-bit range saturate and NaN
// gives 0.
inline std::int32_t TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

// The same for 64 bits, saturating at +-9.2e18.
inline std::int64_t TruncToInt64(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 9.2e18) return 9200000000000000000LL;
  if (v <= -9.2e18) return -9200000000000000000LL;
  return static_cast<std::int64_t>(v);
}

// Rounds by adding 0.5 and truncating toward zero, the library's rounding.
inline std::int32_t RoundHalfUp(double v) { return TruncToInt(v + 0.5); }
// The same rounding kept as a double, for comparing values of any size.
inline double RoundHalfUpValue(double v) { return std::trunc(v + 0.5); }

// Rounds a coordinate to single precision (the layout's positions go through
// a float); values beyond the float range become infinities.
inline double ToSingle(double v) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (v > kMax) return std::numeric_limits<double>::infinity();
  if (v < -kMax) return -std::numeric_limits<double>::infinity();
  return static_cast<double>(static_cast<float>(v));
}

}  // namespace shared

#endif  // INKLINE_SHARED_NUMERIC_H
