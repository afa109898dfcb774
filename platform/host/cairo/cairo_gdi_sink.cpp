#include "cairo_gdi_sink.h"

#include <memory>

#include <inkline/shared/numeric.h>

#include "glyph_masks.h"
#include "glyph_run.h"

namespace {


// Appends a GDI path (PT_ types) to cr's current path.
void AppendPath(cairo_t* cr, const GdiPath& path) {
  for (int i = 0; i < path.count; ++i) {
    const BYTE type = path.types[i];
    const GdiPoint& p = path.points[i];
    switch (type & ~PT_CLOSEFIGURE) {
      case PT_MOVETO:
        cairo_move_to(cr, p.x, p.y);
        break;
      case PT_LINETO:
        cairo_line_to(cr, p.x, p.y);
        break;
      case PT_BEZIERTO:
        if (i + 2 < path.count) {
          const GdiPoint& c2 = path.points[i + 1];
          const GdiPoint& e = path.points[i + 2];
          cairo_curve_to(cr, p.x, p.y, c2.x, c2.y, e.x, e.y);
          i += 2;
        }
        break;
      default:
        break;
    }
    if (path.types[i] & PT_CLOSEFIGURE) cairo_close_path(cr);
  }
}

}  // namespace

void SetSourceRgb(cairo_t* cr, COLORREF rgb) {
  cairo_set_source_rgb(cr, GetRValue(rgb) / 255.0, GetGValue(rgb) / 255.0,
                       GetBValue(rgb) / 255.0);
}

void CairoGdiSink::BlendGlyphsInto(cairo_surface_t* image, int top, int bottom) {
  image_ = image;
  rows_ = RowsOf(image, top, bottom);
}

// A glyph too large for a mask, filled as its outline on the page.
void CairoGdiSink::FillGlyph(const GdiGlyph& glyph, double escapement, COLORREF color) {
  cairo_new_path(cr_);
  cairo_translate(cr_, glyph.origin.x, glyph.origin.y);
  cairo_rotate(cr_, -escapement * shared::kPi / 180.0);
  cairo_scale(cr_, 1.0, -1.0);
  AppendPath(cr_, glyph.outline);
  cairo_identity_matrix(cr_);
  cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
  SetSourceRgb(cr_, color);
  cairo_fill(cr_);
}

const GlyphMask* CairoGdiSink::MaskFor(const GdiGlyph& glyph, double escapement,
                                       const MaskPlace& place, bool cached) {
  if (cached) {
    held_ = masks_.Get(glyph, escapement, place);
    return held_.get();
  }
  return RasteriseGlyph(glyph.outline, escapement, place.phaseX, place.phaseY, &scratch_)
             ? &scratch_
             : nullptr;
}

// Cairo draws into the same pixels, so it is told when they change under it.
void CairoGdiSink::BlendGlyphs(const GdiTextOutput& text) {
  const bool cached = masks_.Keeps(text.escapement);
  cairo_surface_flush(image_);
  for (int i = 0; i < text.glyphCount; ++i) {
    const GdiGlyph& glyph = text.glyphList[i];
    if (glyph.outline.count <= 0) continue;
    const MaskPlace place = MaskPlaceFor(glyph.origin);
    if (const GlyphMask* mask = MaskFor(glyph, text.escapement, place, cached)) {
      BlendMask(*mask, place.x, place.y, text.color, rows_);
      continue;
    }
    cairo_surface_mark_dirty(image_);
    FillGlyph(glyph, text.escapement, text.color);
    cairo_surface_flush(image_);
  }
  held_.reset();
  cairo_surface_mark_dirty(image_);
}

void CairoGdiSink::Text(const GdiTextOutput& text) {
  if (pending_) pending_->Show(cr_);
  if (rows_.pixels && !text.opaque) {  // only pixels change: Cairo's state is not touched
    cairo_new_path(cr_);
    BlendGlyphs(text);
    return;
  }
  cairo_save(cr_);
  cairo_identity_matrix(cr_);
  cairo_new_path(cr_);
  if (text.opaque) {
    cairo_move_to(cr_, text.cell[0].x, text.cell[0].y);
    for (int i = 1; i < 4; ++i) cairo_line_to(cr_, text.cell[i].x, text.cell[i].y);
    cairo_close_path(cr_);
    SetSourceRgb(cr_, text.background);
    cairo_fill(cr_);
  }
  if (rows_.pixels) {
    BlendGlyphs(text);
  } else if (text.glyphs.count > 0) {
    AppendPath(cr_, text.glyphs);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_WINDING);
    SetSourceRgb(cr_, text.color);
    cairo_fill(cr_);
  }
  cairo_restore(cr_);
}

void CairoGdiSink::Stroke(const GdiStroke& stroke) {
  if (stroke.path.count <= 0) return;
  if (pending_) pending_->Show(cr_);
  cairo_save(cr_);
  cairo_identity_matrix(cr_);
  cairo_new_path(cr_);
  AppendPath(cr_, stroke.path);
  cairo_set_line_width(cr_, stroke.penWidth > 0 ? stroke.penWidth : 1.0);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
  SetSourceRgb(cr_, stroke.color);
  cairo_stroke(cr_);
  cairo_restore(cr_);
}
