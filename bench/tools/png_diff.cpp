// Compares two PNG pictures pixel by pixel, as colours on the page (alpha
// applied over white), whatever channels each file stores:
//   png_diff A.png B.png [DIFF.png]
// prints the number of differing pixels and the largest channel difference;
// DIFF.png, when given, shows differing pixels in red over a faint copy of A.
// Exit 0 when identical, 1 when they differ, 2 when a file cannot be read.
#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// The pixel as 0xRRGGBB on white; Cairo stores premultiplied ARGB.
uint32_t OnWhite(uint32_t p, bool hasAlpha) {
  if (!hasAlpha) return p & 0xFFFFFF;
  const uint32_t a = p >> 24;
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const uint32_t c = (p >> shift) & 0xFF;
    out |= std::min<uint32_t>(255, c + (255 - a)) << shift;
  }
  return out;
}

int ChannelDifference(uint32_t a, uint32_t b) {
  int most = 0;
  for (int shift = 0; shift <= 16; shift += 8)
    most = std::max(most, std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                   static_cast<int>((b >> shift) & 0xFF)));
  return most;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: png_diff A.png B.png [DIFF.png]\n");
    return 2;
  }
  cairo_surface_t* a = cairo_image_surface_create_from_png(argv[1]);
  cairo_surface_t* b = cairo_image_surface_create_from_png(argv[2]);
  if (cairo_surface_status(a) || cairo_surface_status(b)) {
    std::fprintf(stderr, "png_diff: cannot read %s\n", cairo_surface_status(a) ? argv[1] : argv[2]);
    return 2;
  }
  const int w = cairo_image_surface_get_width(a), h = cairo_image_surface_get_height(a);
  if (w != cairo_image_surface_get_width(b) || h != cairo_image_surface_get_height(b)) {
    std::printf("sizes differ\n");
    return 1;
  }
  const bool alphaA = cairo_image_surface_get_format(a) == CAIRO_FORMAT_ARGB32;
  const bool alphaB = cairo_image_surface_get_format(b) == CAIRO_FORMAT_ARGB32;
  cairo_surface_t* diff = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  long differing = 0;
  int largest = 0;
  for (int y = 0; y < h; ++y) {
    const auto* ra = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(a) +
                                                       y * cairo_image_surface_get_stride(a));
    const auto* rb = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(b) +
                                                       y * cairo_image_surface_get_stride(b));
    auto* rd = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(diff) +
                                           y * cairo_image_surface_get_stride(diff));
    for (int x = 0; x < w; ++x) {
      const uint32_t pa = OnWhite(ra[x], alphaA), pb = OnWhite(rb[x], alphaB);
      const int d = ChannelDifference(pa, pb);
      if (d > 0) ++differing;
      largest = std::max(largest, d);
      // Faint copy of A: each channel pulled three quarters of the way to white.
      const uint32_t grey = ((pa >> 2) & 0x3F3F3F) + 0xC0C0C0;
      rd[x] = d > 0 ? 0xFF0000 : grey;
    }
  }
  cairo_surface_mark_dirty(diff);
  if (argc > 3) cairo_surface_write_to_png(diff, argv[3]);
  std::printf("%ld of %ld pixels differ, largest channel difference %d\n", differing,
              static_cast<long>(w) * h, largest);
  cairo_surface_destroy(diff);
  cairo_surface_destroy(a);
  cairo_surface_destroy(b);
  return differing ? 1 : 0;
}
