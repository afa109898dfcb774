#include "glyph_run.h"

#include <algorithm>
#include <cmath>

#include <inkline/shared/numeric.h>

#include "cairo_gdi_sink.h"

namespace {

// A PDF reader puts a right-to-left line in reading order by reversing its
// characters as they stand. The characters of one glyph standing for
// several (a lam-alef) are therefore given as they stand too, last first,
// so the reversal reads them right.
std::string AsTheyStand(const std::string& utf8, const std::vector<inkline::TextPiece>& pieces) {
  std::string out;
  size_t at = 0;
  for (const inkline::TextPiece& piece : pieces) {
    const std::string text = utf8.substr(at, static_cast<size_t>(piece.bytes));
    at += static_cast<size_t>(piece.bytes);
    std::vector<std::string> chars;
    for (size_t i = 0; i < text.size();) {
      size_t n = 1;
      while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
      chars.push_back(text.substr(i, n));
      i += n;
    }
    for (auto c = chars.rbegin(); c != chars.rend(); ++c) out += *c;
  }
  return out + utf8.substr(std::min(at, utf8.size()));
}

// Where Cairo keeps a point: in 1/256 of a device unit, to nearest.
double ToCairoFixed(double v) { return std::nearbyint(v * 256.0) / 256.0; }

}  // namespace

bool GlyphRun::Continues(const NativeTextPlacement& place, COLORREF fill) const {
  return !glyphs_.empty() && place.face == face_ && place.emSize == emSize_ &&
         place.angle == angle_ && fill == fill_ && place.rightToLeft == rightToLeft_ &&
         place.slanted == slanted_;
}

// The font matrix carries the turn, so the glyphs can be given in picture
// coordinates.
void GlyphRun::SelectFont(cairo_t* cr) const {
  cairo_set_font_face(cr, face_);
  cairo_set_font_options(cr, options_);
  NativeTextPlacement run;
  run.emSize = emSize_;
  run.slanted = slanted_;
  cairo_matrix_t matrix;
  FontMatrix(run, angle_, &matrix);
  cairo_set_font_matrix(cr, &matrix);
}

// Placed as a character drawn on its own was: the frame turned about its
// origin, then the point Cairo keeps for it taken back to the picture, so
// glyphs land on the same pixels.
bool GlyphRun::AddLaidOut(cairo_t* cr, const NativeTextFonts& fonts,
                          const NativeTextPlacement& place) {
  cairo_save(cr);
  fonts.Select(cr, place);
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
  if (status == CAIRO_STATUS_SUCCESS) {
    glyphs_.insert(glyphs_.end(), glyphs, glyphs + count);
    clusters_.insert(rightToLeft_ ? clusters_.begin() : clusters_.end(), clusters, clusters + clusterCount);
    needsText_ = needsText_ || std::any_of(glyphs, glyphs + count,
                                           [](const cairo_glyph_t& g) { return g.index == 0; });
  }
  cairo_glyph_free(glyphs);
  cairo_text_cluster_free(clusters);
  return status == CAIRO_STATUS_SUCCESS;
}

void GlyphRun::Add(cairo_t* cr, const NativeTextFonts& fonts, const NativeTextPlacement& place,
                   COLORREF fill) {
  if (!Continues(place, fill)) {
    Show(cr);
    face_ = place.face;
    options_ = fonts.Options();
    emSize_ = place.emSize;
    angle_ = place.angle;
    slanted_ = place.slanted;
    fill_ = fill;
    rightToLeft_ = place.rightToLeft;
  }
  const size_t before = glyphs_.size();
  if (place.glyphs.empty()) {
    if (!AddLaidOut(cr, fonts, place)) return;
  } else {
    // Each glyph where the shaper put it from the origin: along the turned
    // baseline and up from it (Cairo's y grows downwards).
    const double a = place.angle * shared::kPi / 180.0;
    const double alongX = std::cos(a), alongY = -std::sin(a);
    const double upX = -std::sin(a), upY = -std::cos(a);
    for (const NativeGlyph& g : place.glyphs) {
      const double x = place.originX + (g.x * alongX + g.y * upX) * place.emSize;
      const double y = place.originY + (g.x * alongY + g.y * upY) * place.emSize;
      glyphs_.push_back(cairo_glyph_t{g.index, ToCairoFixed(x), ToCairoFixed(y)});
      needsText_ = needsText_ || g.index == 0;
    }
    // The text's pieces map glyph by glyph where they can, as a reader
    // of the PDF expects the glyphs of a word to stand for its letters.
    std::vector<cairo_text_cluster_t> mine;
    for (const inkline::TextPiece& piece : place.pieces) mine.push_back(cairo_text_cluster_t{piece.bytes, piece.glyphs});
    if (mine.empty())
      mine.push_back(cairo_text_cluster_t{static_cast<int>(place.utf8.size()),
                                          static_cast<int>(glyphs_.size() - before)});
    // A right-to-left run arrives as it stands on the line: its text and
    // clusters are gathered from the end, to be read backwards.
    clusters_.insert(rightToLeft_ ? clusters_.begin() : clusters_.end(), mine.begin(), mine.end());
  }
  needsText_ = needsText_ || place.label != 0;
  if (rightToLeft_)
    utf8_.insert(0, place.pieces.empty() ? place.utf8 : AsTheyStand(place.utf8, place.pieces));
  else
    utf8_ += place.utf8;
}

void GlyphRun::Show(cairo_t* cr) {
  if (glyphs_.empty()) return;
  cairo_save(cr);
  SelectFont(cr);
  SetSourceRgb(cr, fill_);
  // A PDF stays searchable either way: Cairo maps the glyphs of a font back
  // to their characters. Only a glyph the font lacks, or a shaped one (a
  // ligature, a joined form), needs the text beside it, which a PDF would
  // otherwise keep in memory for every run.
  if (needsText_)
    cairo_show_text_glyphs(cr, utf8_.data(), static_cast<int>(utf8_.size()), glyphs_.data(),
                           static_cast<int>(glyphs_.size()), clusters_.data(),
                           static_cast<int>(clusters_.size()),
                           rightToLeft_ ? CAIRO_TEXT_CLUSTER_FLAG_BACKWARD : cairo_text_cluster_flags_t{});
  else
    cairo_show_glyphs(cr, glyphs_.data(), static_cast<int>(glyphs_.size()));
  cairo_restore(cr);
  utf8_.clear();
  glyphs_.clear();
  clusters_.clear();
  needsText_ = false;
}
