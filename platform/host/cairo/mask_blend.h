// Blends a glyph's coverage mask in a solid colour into 32-bit pixels, as
// Cairo composites a solid source through an A8 mask (OVER).
#ifndef INKLINE_HOST_CAIRO_MASK_BLEND_H
#define INKLINE_HOST_CAIRO_MASK_BLEND_H

#include <cairo.h>

#include <inkline/win32.h>

#include "glyph_masks.h"

// The rows [top, bottom) of an image surface's pixels (RGB24 or ARGB32)
// that may be drawn into.
struct PixelRows {
  unsigned char* pixels = nullptr;
  int stride = 0;
  int width = 0;
  int top = 0, bottom = 0;
};

// The rows [top, bottom) of image, an image surface, within the page.
PixelRows RowsOf(cairo_surface_t* image, int top, int bottom);

// Blends mask, its whole pixel at (x, y), in opaque color; what falls
// outside rows is left alone.
void BlendMask(const GlyphMask& mask, int x, int y, COLORREF color, const PixelRows& rows);

#endif  // INKLINE_HOST_CAIRO_MASK_BLEND_H
