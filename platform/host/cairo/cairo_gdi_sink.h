// Draws what the portable GDI hands a device context into a Cairo context.
#ifndef INKLINE_HOST_CAIRO_GDI_SINK_H
#define INKLINE_HOST_CAIRO_GDI_SINK_H

#include <cairo.h>

#include <inkline/win32_sink.h>

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

 private:
  cairo_t* cr_;
  GlyphRun* pending_;
};

// Sets the source colour of cr to a COLORREF.
void SetSourceRgb(cairo_t* cr, COLORREF rgb);

#endif  // INKLINE_HOST_CAIRO_GDI_SINK_H
