#include "native_text.h"

#include <cmath>

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <inkline/host/gbk.h>
#include <inkline/shared/numeric.h>
#include <inkline/win32_fonts.h>

NativeTextFonts::~NativeTextFonts() {
  for (auto& entry : faces_) cairo_font_face_destroy(entry.second.face);
}

cairo_font_face_t* NativeTextFonts::FaceFor(const LOGFONTA& font, std::string* family) {
  char file[4096];
  if (InklineFontFileFor(&font, file, sizeof file) <= 0) return nullptr;
  auto it = faces_.find(file);
  if (it == faces_.end()) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(file));
    cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(pattern);
    std::string name;
    if (FcPattern* scan = FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(file), 0, nullptr,
                                          nullptr)) {
      FcChar8* value = nullptr;
      if (FcPatternGetString(scan, FC_FAMILY, 0, &value) == FcResultMatch)
        name = reinterpret_cast<const char*>(value);
      FcPatternDestroy(scan);
    }
    FcPatternDestroy(pattern);
    it = faces_.emplace(file, Face{face, name}).first;
  }
  *family = it->second.family;
  return it->second.face;
}

bool NativeTextFonts::Place(cairo_t* cr, const LOGFONTA& font, double x, double y, double angle,
                            bool shifted, const std::string& bytes,
                            NativeTextPlacement* placement) {
  if (bytes.empty() || font.lfHeight == 0) return false;
  std::string family;
  cairo_font_face_t* face = FaceFor(font, &family);
  if (!face) return false;
  cairo_set_font_face(cr, face);
  // Unhinted metrics: hinting rounds them to whole device units, which at
  // the unit size measured below would make the cell 2 instead of ~1.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);

  // A positive height is the cell (ascent + descent), a negative one the em.
  cairo_set_font_size(cr, 1.0);
  cairo_font_extents_t unit;
  cairo_font_extents(cr, &unit);
  const double cell = unit.ascent + unit.descent;
  const double em = font.lfHeight < 0 ? -font.lfHeight
                                      : (cell > 0 ? font.lfHeight / cell : font.lfHeight);
  cairo_set_font_size(cr, em);

  placement->utf8 = gbk::ToUtf8(bytes);
  // Plain text arrives a quarter (one-byte) or half (two-byte character) of
  // the font height along the baseline from its cell's corner; undoing
  // exactly that keeps proportional glyphs where the run's advances put them.
  const double shift = bytes.size() >= 2 ? 0.5 : 0.25;
  const double along = shifted ? -shift * std::abs(static_cast<double>(font.lfHeight)) : 0.0;
  const double down = unit.ascent * em;                         // cell top to baseline
  const double a = angle * shared::kPi / 180.0;
  // Baseline direction in Cairo coordinates (y down) and the downward normal.
  const double dx = std::cos(a), dy = -std::sin(a);
  const double nx = std::sin(a), ny = std::cos(a);
  placement->family = family;
  placement->emSize = em;
  placement->angle = angle;
  placement->originX = x + along * dx + down * nx;
  placement->originY = y + along * dy + down * ny;
  return true;
}
