#include "glyph_run.h"

#include <cmath>

#include <inkline/shared/numeric.h>

#include "cairo_gdi_sink.h"

bool GlyphRun::Continues(cairo_font_face_t* face, const NativeTextPlacement& place,
                         COLORREF fill) const {
  return !glyphs_.empty() && face == face_ && place.emSize == emSize_ && place.angle == angle_ &&
         fill == fill_;
}

// The font matrix carries the turn, so the glyphs can be given in picture
// coordinates.
void GlyphRun::SelectFont(cairo_t* cr) const {
  cairo_set_font_face(cr, face_);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
  cairo_matrix_t matrix;
  cairo_matrix_init_rotate(&matrix, -angle_ * shared::kPi / 180.0);
  cairo_matrix_scale(&matrix, emSize_, emSize_);
  cairo_set_font_matrix(cr, &matrix);
}

void GlyphRun::Add(cairo_t* cr, const NativeTextPlacement& place, COLORREF fill) {
  cairo_font_face_t* face = cairo_get_font_face(cr);
  if (!Continues(face, place, fill)) {
    Show(cr);
    face_ = face;
    emSize_ = place.emSize;
    angle_ = place.angle;
    fill_ = fill;
  }
  // Placed as a character drawn on its own was: the frame turned about its
  // origin, then the point Cairo keeps for it (1/256 of a unit) taken back to
  // the picture, so glyphs land on the same pixels.
  cairo_save(cr);
  cairo_translate(cr, place.originX, place.originY);
  cairo_rotate(cr, -place.angle * shared::kPi / 180.0);
  cairo_move_to(cr, 0, 0);
  double x = 0, y = 0;
  cairo_get_current_point(cr, &x, &y);
  cairo_new_path(cr);
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  cairo_text_cluster_t* clusters = nullptr;
  int clusterCount = 0;
  cairo_text_cluster_flags_t flags{};
  const cairo_status_t status = cairo_scaled_font_text_to_glyphs(
      cairo_get_scaled_font(cr), x, y, place.utf8.data(), static_cast<int>(place.utf8.size()),
      &glyphs, &count, &clusters, &clusterCount, &flags);
  for (int i = 0; status == CAIRO_STATUS_SUCCESS && i < count; ++i)
    cairo_user_to_device(cr, &glyphs[i].x, &glyphs[i].y);
  cairo_restore(cr);
  if (status != CAIRO_STATUS_SUCCESS) return;
  utf8_ += place.utf8;
  glyphs_.insert(glyphs_.end(), glyphs, glyphs + count);
  clusters_.insert(clusters_.end(), clusters, clusters + clusterCount);
  cairo_glyph_free(glyphs);
  cairo_text_cluster_free(clusters);
}

void GlyphRun::Show(cairo_t* cr) {
  if (glyphs_.empty()) return;
  cairo_save(cr);
  SelectFont(cr);
  SetSourceRgb(cr, fill_);
  // With the text beside the glyphs, a PDF stays searchable.
  cairo_show_text_glyphs(cr, utf8_.data(), static_cast<int>(utf8_.size()), glyphs_.data(),
                         static_cast<int>(glyphs_.size()), clusters_.data(),
                         static_cast<int>(clusters_.size()), cairo_text_cluster_flags_t{});
  cairo_restore(cr);
  utf8_.clear();
  glyphs_.clear();
  clusters_.clear();
}
