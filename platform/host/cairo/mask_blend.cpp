#include "mask_blend.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// The colour in coverage a over what is there: (color * a + under * (255 -
// a)) / 255 per channel, rounded, two channels at a time as the compositor
// does it.
inline std::uint32_t Over(std::uint32_t color, std::uint32_t a, std::uint32_t under) {
  const std::uint32_t b = 255 - a;
  std::uint32_t rb = (color & 0xff00ffu) * a + (under & 0xff00ffu) * b + 0x800080u;
  rb = ((rb + ((rb >> 8) & 0xff00ffu)) >> 8) & 0xff00ffu;
  std::uint32_t ag = ((color >> 8) & 0xff00ffu) * a + ((under >> 8) & 0xff00ffu) * b + 0x800080u;
  ag = (ag + ((ag >> 8) & 0xff00ffu)) & 0xff00ff00u;
  return rb | ag;
}

// Whether the eight coverage values from p are all zero.
inline bool EightEmpty(const std::uint8_t* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word == 0;
}

// Starts loading the pixels [from, to) of row.
inline void Prefetch(const PixelRows& rows, int row, int from, int to) {
  const unsigned char* start = rows.pixels + static_cast<ptrdiff_t>(row) * rows.stride;
  for (int x = from; x < to; x += 16) __builtin_prefetch(start + 4 * x, 1);
  __builtin_prefetch(start + 4 * (to - 1), 1);
}

}  // namespace

PixelRows RowsOf(cairo_surface_t* image, int top, int bottom) {
  PixelRows rows;
  rows.pixels = cairo_image_surface_get_data(image);
  rows.stride = cairo_image_surface_get_stride(image);
  rows.width = cairo_image_surface_get_width(image);
  rows.top = std::max(top, 0);
  rows.bottom = std::min(bottom, cairo_image_surface_get_height(image));
  return rows;
}

void BlendMask(const GlyphMask& mask, int x, int y, COLORREF color, const PixelRows& rows) {
  const int left = x + mask.left, top = y + mask.top;
  const int from = std::max(left, 0), to = std::min(left + mask.width, rows.width);
  const int first = std::max(top, rows.top), last = std::min(top + mask.height, rows.bottom);
  if (from >= to || first >= last) return;
  // Cairo's pixels are native 32-bit words: alpha, red, green, blue from the top.
  const std::uint32_t solid = 0xff000000u | (std::uint32_t{GetRValue(color)} << 16) |
                              (std::uint32_t{GetGValue(color)} << 8) | GetBValue(color);
  // The glyph's rows lie a page row apart: ask for the ones ahead early.
  constexpr int kRowsAhead = 3;
  for (int row = first; row < std::min(first + kRowsAhead, last); ++row)
    Prefetch(rows, row, from, to);
  for (int row = first; row < last; ++row) {
    if (row + kRowsAhead < last) Prefetch(rows, row + kRowsAhead, from, to);
    const std::uint8_t* coverage =
        mask.coverage.data() + static_cast<size_t>(row - top) * static_cast<size_t>(mask.width) +
        (from - left);
    auto* pixel = reinterpret_cast<std::uint32_t*>(rows.pixels + static_cast<ptrdiff_t>(row) * rows.stride) + from;
    const int n = to - from;
    for (int i = 0; i < n; ++i) {
      if ((i & 7) == 0 && i + 8 <= n && EightEmpty(coverage + i)) {
        i += 7;  // most of a glyph's box is empty
        continue;
      }
      const std::uint32_t a = coverage[i];
      if (a == 255)
        pixel[i] = solid;
      else if (a != 0)
        pixel[i] = Over(solid, a, pixel[i]);
    }
  }
}
