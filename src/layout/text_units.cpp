#include "layout/text_units.h"

#include <cmath>
#include <limits>

namespace layout {

std::size_t CharBytes(const char* ch) {
  const bool lead = static_cast<unsigned char>(ch[0]) & 0x80;
  return (lead && ch[1] != '\0') ? 2 : 1;
}

long CountChars(const char* text) {
  if (!text) return 0;
  long count = 0;
  for (const char* p = text; *p; p += CharBytes(p)) ++count;
  return count;
}

std::int32_t TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

double ToSingle(double v) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (v > kMax) return std::numeric_limits<double>::infinity();
  if (v < -kMax) return -std::numeric_limits<double>::infinity();
  return static_cast<double>(static_cast<float>(v));
}

}  // namespace layout
