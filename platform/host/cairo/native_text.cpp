#include "native_text.h"

#include <cmath>
#include <cstring>

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

#include <inkline/host/gbk.h>
#include <inkline/label_codes.h>
#include <inkline/shared/code_page.h>
#include <inkline/shared/numeric.h>
#include <inkline/win32_fonts.h>

namespace {

// Font weights from this on are bold, as the portable GDI counts them.
constexpr LONG kBoldWeight = 600;

}  // namespace

// What fontconfig reads from a face file, once a face.
const NativeTextFonts::Style& NativeTextFonts::StyleOf(int faceId) {
  const auto known = styles_.find(faceId);
  if (known != styles_.end()) return known->second;
  Style& style = styles_[faceId];
  const inkline::FaceFile* file = inkline::FaceFileOf(faceId);
  FcPattern* scan = file ? FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(file->file.c_str()),
                                           file->index, nullptr, nullptr)
                         : nullptr;
  if (!scan) return style;
  FcChar8* value = nullptr;
  if (FcPatternGetString(scan, FC_FAMILY, 0, &value) == FcResultMatch)
    style.family = reinterpret_cast<const char*>(value);
  int weight = 0, slant = 0;
  if (FcPatternGetInteger(scan, FC_WEIGHT, 0, &weight) == FcResultMatch)
    style.bold = weight >= FC_WEIGHT_DEMIBOLD;
  if (FcPatternGetInteger(scan, FC_SLANT, 0, &slant) == FcResultMatch)
    style.italic = slant != FC_SLANT_ROMAN;
  FcPatternDestroy(scan);
  return style;
}

namespace {

// What of a font description picks its faces: the face name, weight and slant.
std::string FontKey(const LOGFONTA& font) {
  std::string key(font.lfFaceName, strnlen(font.lfFaceName, sizeof font.lfFaceName));
  key += '|' + std::to_string(font.lfWeight) + (font.lfItalic ? "i" : "");
  return key;
}

bool Bold(const LOGFONTA& font) { return font.lfWeight >= kBoldWeight; }

// A code the current label's codes speak for: its meaning changes from
// label to label, so what it draws is never kept by its bytes.
bool IsLabelCode(const std::string& bytes) {
  return bytes.size() == 2 && inkline::CurrentLabelCodes() &&
         inkline::IsUserDefinedCode(gbk::Code(bytes.c_str()));
}

}  // namespace

NativeTextFonts::NativeTextFonts() : options_(cairo_font_options_create()) {
  cairo_font_options_set_hint_metrics(options_, CAIRO_HINT_METRICS_OFF);
}

NativeTextFonts::~NativeTextFonts() {
  for (auto& entry : faces_) cairo_font_face_destroy(entry.second->face);
  cairo_font_options_destroy(options_);
}

// Bold or italic asked of a face that is neither is made up, as the
// portable GDI makes it up for pictures.
NativeTextFonts::Face* NativeTextFonts::Open(int faceId, bool bold, bool italic) {
  const inkline::FaceFile* file = inkline::FaceFileOf(faceId);
  if (!file) return nullptr;
  const Style& style = StyleOf(faceId);
  const bool embolden = bold && !style.bold, slant = italic && !style.italic;
  const auto key = std::make_pair(faceId, (embolden ? 1 : 0) | (slant ? 2 : 0));  // slant: its own Face
  auto it = faces_.find(key);
  if (it != faces_.end()) return it->second.get();
  auto face = std::make_unique<Face>();
  // Cairo keeps one face a pattern: made-up bold goes into the pattern, so
  // the plain face and its bold one stay apart.
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(file->file.c_str()));
  FcPatternAddInteger(pattern, FC_INDEX, file->index);
  FcPatternAddBool(pattern, FC_EMBOLDEN, embolden ? FcTrue : FcFalse);
  face->face = cairo_ft_font_face_create_for_pattern(pattern);
  FcPatternDestroy(pattern);
  face->slant = slant;  // leaned by the font matrix, which every picture keeps
  cairo_matrix_t identity;
  cairo_matrix_init_identity(&identity);
  cairo_scaled_font_t* unit = cairo_scaled_font_create(face->face, &identity, &identity, options_);
  cairo_font_extents_t extents;
  cairo_scaled_font_extents(unit, &extents);
  cairo_scaled_font_destroy(unit);
  face->ascent = extents.ascent;
  face->descent = extents.descent;
  face->family = style.family;
  return faces_.emplace(key, std::move(face)).first->second.get();
}

NativeTextFonts::Font* NativeTextFonts::FontFor(const LOGFONTA& font) {
  std::string key = FontKey(font);
  auto known = fonts_.find(key);
  if (known != fonts_.end()) return known->second.get();
  std::unique_ptr<Font> made;
  InklineTextGlyph own{};
  if (InklineGlyphFor(&font, 0, &own)) {
    made = std::make_unique<Font>();
    made->face = Open(own.face, Bold(font), font.lfItalic != 0);
    if (!made->face) made.reset();
  }
  return fonts_.emplace(std::move(key), std::move(made)).first->second.get();
}

// The glyph the portable GDI would draw; text that is not one character
// is left to Cairo in the font's own face.
const NativeTextFonts::Character* NativeTextFonts::CharacterOf(const LOGFONTA& lf, Font& font,
                                                               const std::string& bytes) {
  const bool labelCode = IsLabelCode(bytes);
  if (!labelCode) {  // most characters: found by their bytes
    const auto known = font.characters.find(bytes);
    if (known != font.characters.end()) return &known->second;
  }
  const std::u32string decoded = shared::DecodeCodePage(bytes.data(), static_cast<int>(bytes.size()));
  std::string key = bytes;
  if (labelCode) {
    key = "\x01";  // by the character, which means the same in every label
    if (decoded.size() == 1) shared::AppendUtf8(decoded[0], &key);
    const auto known = font.characters.find(key);
    if (known != font.characters.end()) return &known->second;
  }
  Character c;
  c.face = font.face;
  for (const char32_t ch : decoded) shared::AppendUtf8(ch, &c.utf8);
  InklineTextGlyph glyph{};
  if (decoded.size() == 1 && InklineGlyphFor(&lf, decoded[0], &glyph)) {
    if (Face* from = Open(glyph.face, Bold(lf), lf.lfItalic != 0)) c.face = from;
    c.glyph = glyph.index;
  } else {
    c.glyph = ~0ul;  // laid out by Cairo
  }
  return &font.characters.emplace(std::move(key), std::move(c)).first->second;
}

void NativeTextFonts::Select(cairo_t* cr, const NativeTextPlacement& placement) const {
  cairo_set_font_face(cr, placement.face);
  cairo_set_font_options(cr, options_);
  cairo_matrix_t matrix;
  FontMatrix(placement, 0.0, &matrix);
  cairo_set_font_matrix(cr, &matrix);
}

// Made-up italic leans the glyphs by tan 12 degrees, as the portable GDI
// leans them: up (Cairo's -y) goes right.
void FontMatrix(const NativeTextPlacement& placement, double angle, cairo_matrix_t* out) {
  constexpr double kSlant = 0.2126;
  cairo_matrix_init_rotate(out, -angle * shared::kPi / 180.0);
  cairo_matrix_t size;
  cairo_matrix_init(&size, placement.emSize, 0, placement.slanted ? -kSlant * placement.emSize : 0,
                    placement.emSize, 0, 0);
  cairo_matrix_multiply(out, &size, out);
}

bool NativeTextFonts::Place(const LOGFONTA& font, double x, double y, double angle, bool shifted,
                            const std::string& bytes, NativeTextPlacement* placement) {
  if (bytes.empty() || font.lfHeight == 0) return false;
  Font* f = FontFor(font);
  if (!f) return false;
  const Face& own = *f->face;
  // A positive height is the cell (ascent + descent), a negative one the em.
  const double cell = own.ascent + own.descent;
  const double em = font.lfHeight < 0 ? -font.lfHeight
                                      : (cell > 0 ? font.lfHeight / cell : font.lfHeight);
  placement->glyphs.clear();
  placement->pieces.clear();
  placement->label = 0;
  placement->run = -1;
  placement->rightToLeft = false;
  placement->runRightToLeft = false;
  placement->logical = 0;
  placement->advance = 0;
  const char32_t decoded = IsLabelCode(bytes) ? gbk::ToUnicode(gbk::Code(bytes.c_str())) : 0;
  if (const inkline::ShapedCluster* cluster = inkline::ClusterOfChar(decoded)) {
    Face* face = Open(cluster->face, Bold(font), font.lfItalic != 0);
    if (!face) return false;
    placement->utf8 = cluster->text;
    placement->family = &face->family;
    placement->face = face->face;
    placement->slanted = face->slant;
    for (const inkline::ClusterGlyph& g : cluster->glyphs)
      placement->glyphs.push_back(NativeGlyph{g.index, g.x, g.y});
    placement->pieces = cluster->pieces;
    placement->advance = cluster->advance;
    placement->label = inkline::CurrentLabelSerial();
    placement->run = cluster->run;
    placement->rightToLeft = cluster->rightToLeft;
    placement->runRightToLeft = cluster->runRightToLeft;
    placement->logical = cluster->logical;
  } else {
    const Character* character = CharacterOf(font, *f, bytes);
    placement->utf8 = character->utf8;
    placement->family = &character->face->family;
    placement->face = character->face->face;
    placement->slanted = character->face->slant;
    if (character->glyph != ~0ul) placement->glyphs.push_back(NativeGlyph{character->glyph, 0, 0});
  }
  placement->bold = Bold(font);
  placement->italic = font.lfItalic != 0;
  // Plain text arrives a quarter (one-byte) or half (two-byte character) of
  // the font height along the baseline from its cell's corner; undoing
  // exactly that keeps proportional glyphs where the run's advances put them.
  const double shift = bytes.size() >= 2 ? 0.5 : 0.25;
  const double along = shifted ? -shift * std::abs(static_cast<double>(font.lfHeight)) : 0.0;
  const double down = own.ascent * em;                         // cell top to baseline
  const double a = angle * shared::kPi / 180.0;
  // Baseline direction in Cairo coordinates (y down) and the downward normal.
  const double dx = std::cos(a), dy = -std::sin(a);
  const double nx = std::sin(a), ny = std::cos(a);
  placement->emSize = em;
  placement->angle = angle;
  placement->originX = x + along * dx + down * nx;
  placement->originY = y + along * dy + down * ny;
  return true;
}
