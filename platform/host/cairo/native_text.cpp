#include "native_text.h"

#include <cmath>
#include <cstring>

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <inkline/host/gbk.h>
#include <inkline/shared/numeric.h>
#include <inkline/win32_fonts.h>

namespace {

// The family name fontconfig reads from a font file; empty when none.
std::string FamilyOf(const std::string& file) {
  std::string name;
  FcPattern* scan = FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(file.c_str()), 0, nullptr, nullptr);
  if (!scan) return name;
  FcChar8* value = nullptr;
  if (FcPatternGetString(scan, FC_FAMILY, 0, &value) == FcResultMatch)
    name = reinterpret_cast<const char*>(value);
  FcPatternDestroy(scan);
  return name;
}

// What of a font description picks its file: the face name, weight and slant.
std::string FileKey(const LOGFONTA& font) {
  std::string key(font.lfFaceName, strnlen(font.lfFaceName, sizeof font.lfFaceName));
  key += '|' + std::to_string(font.lfWeight) + (font.lfItalic ? "i" : "");
  return key;
}

}  // namespace

NativeTextFonts::NativeTextFonts() : options_(cairo_font_options_create()) {
  cairo_font_options_set_hint_metrics(options_, CAIRO_HINT_METRICS_OFF);
}

NativeTextFonts::~NativeTextFonts() {
  for (auto& entry : faces_) {
    cairo_scaled_font_destroy(entry.second->unit);
    cairo_font_face_destroy(entry.second->face);
  }
  cairo_font_options_destroy(options_);
}

NativeTextFonts::Face* NativeTextFonts::Open(const std::string& file) {
  auto it = faces_.find(file);
  if (it != faces_.end()) return it->second.get();
  auto face = std::make_unique<Face>();
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(file.c_str()));
  face->face = cairo_ft_font_face_create_for_pattern(pattern);
  FcPatternDestroy(pattern);
  cairo_matrix_t identity;
  cairo_matrix_init_identity(&identity);
  face->unit = cairo_scaled_font_create(face->face, &identity, &identity, options_);
  cairo_font_extents_t unit;
  cairo_scaled_font_extents(face->unit, &unit);
  face->ascent = unit.ascent;
  face->descent = unit.descent;
  face->family = FamilyOf(file);
  return faces_.emplace(file, std::move(face)).first->second.get();
}

NativeTextFonts::Face* NativeTextFonts::FaceFor(const LOGFONTA& font) {
  std::string key = FileKey(font);
  auto known = byFont_.find(key);
  if (known != byFont_.end()) return known->second;
  char file[4096];
  Face* face = InklineFontFileFor(&font, file, sizeof file) > 0 ? Open(file) : nullptr;
  byFont_.emplace(std::move(key), face);
  return face;
}

const NativeTextFonts::Character& NativeTextFonts::CharacterOf(Face& face, const std::string& bytes) {
  auto it = face.characters.find(bytes);
  if (it != face.characters.end()) return it->second;
  Character c;
  c.utf8 = gbk::ToUtf8(bytes);
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  if (cairo_scaled_font_text_to_glyphs(face.unit, 0, 0, c.utf8.data(), static_cast<int>(c.utf8.size()),
                                       &glyphs, &count, nullptr, nullptr, nullptr) ==
          CAIRO_STATUS_SUCCESS &&
      count == 1) {
    c.single = true;
    c.glyph = glyphs[0].index;
  }
  cairo_glyph_free(glyphs);
  return face.characters.emplace(bytes, std::move(c)).first->second;
}

void NativeTextFonts::Select(cairo_t* cr, const NativeTextPlacement& placement) const {
  cairo_set_font_face(cr, placement.face);
  cairo_set_font_options(cr, options_);
  cairo_set_font_size(cr, placement.emSize);
}

bool NativeTextFonts::Place(const LOGFONTA& font, double x, double y, double angle, bool shifted,
                            const std::string& bytes, NativeTextPlacement* placement) {
  if (bytes.empty() || font.lfHeight == 0) return false;
  Face* face = FaceFor(font);
  if (!face) return false;
  // A positive height is the cell (ascent + descent), a negative one the em.
  const double cell = face->ascent + face->descent;
  const double em = font.lfHeight < 0 ? -font.lfHeight
                                      : (cell > 0 ? font.lfHeight / cell : font.lfHeight);
  const Character& character = CharacterOf(*face, bytes);
  placement->utf8 = character.utf8;
  placement->hasGlyph = character.single;
  placement->glyph = character.glyph;
  // Plain text arrives a quarter (one-byte) or half (two-byte character) of
  // the font height along the baseline from its cell's corner; undoing
  // exactly that keeps proportional glyphs where the run's advances put them.
  const double shift = bytes.size() >= 2 ? 0.5 : 0.25;
  const double along = shifted ? -shift * std::abs(static_cast<double>(font.lfHeight)) : 0.0;
  const double down = face->ascent * em;                         // cell top to baseline
  const double a = angle * shared::kPi / 180.0;
  // Baseline direction in Cairo coordinates (y down) and the downward normal.
  const double dx = std::cos(a), dy = -std::sin(a);
  const double nx = std::sin(a), ny = std::cos(a);
  placement->family = &face->family;
  placement->face = face->face;
  placement->emSize = em;
  placement->angle = angle;
  placement->originX = x + along * dx + down * nx;
  placement->originY = y + along * dy + down * ny;
  return true;
}
