// Draws what the portable GDI hands a device context into a Cairo context.
#ifndef INKLINE_HOST_CAIRO_GDI_SINK_H
#define INKLINE_HOST_CAIRO_GDI_SINK_H

#include <cairo.h>

#include <memory>

#include <inkline/win32_sink.h>

#include "mask_blend.h"

class GlyphRun;

class CairoGdiSink final : public GdiSink {
 public:
  // Native text gathered in `pending` is shown before anything GDI draws,
  // so the picture keeps the order of the calls.
  CairoGdiSink(cairo_t* cr, GlyphRun* pending) : cr_(cr), pending_(pending) {}
  // Fills the glyphs (and the opaque cell box) in GDI's pixel coordinates.
  void Text(const GdiTextOutput& text) override;
  // Strokes a PolyDraw path with the context's pen.
  void Stroke(const GdiStroke& stroke) override;
  bool WantsPlacedGlyphs() const override { return !rows_.pixels; }

  // From now on glyphs are blended from cached coverage masks straight into
  // image's pixels, in rows [top, bottom) only (a band's clip), instead of
  // filled as outlines. image must be the image surface cr draws into.
  void BlendGlyphsInto(cairo_surface_t* image, int top, int bottom);

 private:
  void BlendGlyphs(const GdiTextOutput& text);
  // glyph's mask from the cache, or made afresh in scratch_ when the cache
  // does not keep its angle; null for a glyph too large for a mask.
  const GlyphMask* MaskFor(const GdiGlyph& glyph, double escapement, const MaskPlace& place,
                           bool cached);
  void FillGlyph(const GdiGlyph& glyph, double escapement, COLORREF color);

  cairo_t* cr_;
  GlyphRun* pending_;
  cairo_surface_t* image_ = nullptr;
  PixelRows rows_;
  GlyphMaskFront masks_{GlyphMaskCache::Shared()};  // this sink's thread's masks
  std::shared_ptr<const GlyphMask> held_;  // the cached mask being drawn
  GlyphMask scratch_;                      // a mask not worth keeping
};

// Sets the source colour of cr to a COLORREF.
void SetSourceRgb(cairo_t* cr, COLORREF rgb);

#endif  // INKLINE_HOST_CAIRO_GDI_SINK_H
