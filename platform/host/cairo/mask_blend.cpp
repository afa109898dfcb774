#include "mask_blend.h"

#include <algorithm>
#include <cstdint>

namespace {

// x * a / 255, rounded as the compositor rounds it.
inline std::uint32_t Times(std::uint32_t x, std::uint32_t a) {
  const std::uint32_t t = x * a + 0x80;
  return (t + (t >> 8)) >> 8;
}

// One pixel: the colour in coverage a over what is there, per channel.
inline std::uint32_t Over(std::uint32_t color, std::uint32_t a, std::uint32_t under) {
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const std::uint32_t c = Times((color >> shift) & 0xff, a) + Times((under >> shift) & 0xff, 255 - a);
    out |= std::min<std::uint32_t>(c, 255) << shift;
  }
  return out;
}

}  // namespace

void BlendMask(const GlyphMask& mask, int x, int y, COLORREF color, const PixelRows& rows) {
  const int left = x + mask.left, top = y + mask.top;
  const int from = std::max(left, 0), to = std::min(left + mask.width, rows.width);
  const int first = std::max(top, rows.top), last = std::min(top + mask.height, rows.bottom);
  if (from >= to || first >= last) return;
  // Cairo's pixels are native 32-bit words: alpha, red, green, blue from the top.
  const std::uint32_t solid = 0xff000000u | (std::uint32_t{GetRValue(color)} << 16) |
                              (std::uint32_t{GetGValue(color)} << 8) | GetBValue(color);
  for (int row = first; row < last; ++row) {
    const std::uint8_t* coverage =
        mask.coverage.data() + static_cast<size_t>(row - top) * static_cast<size_t>(mask.width) +
        (from - left);
    auto* pixel = reinterpret_cast<std::uint32_t*>(rows.pixels + static_cast<ptrdiff_t>(row) * rows.stride) + from;
    for (int i = 0; i < to - from; ++i) {
      const std::uint32_t a = coverage[i];
      if (a == 255)
        pixel[i] = solid;
      else if (a != 0)
        pixel[i] = Over(solid, a, pixel[i]);
    }
  }
}
