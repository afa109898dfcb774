#include "font_cache.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <inkline/label_codes.h>
#include <inkline/shared/code_page.h>

#include "face_aliases.h"
#include "glyph_shape.h"

namespace gdi {
namespace {

// Bounds on what the cache keeps, so that a long session drawing at ever new
// scales does not grow without end. Past a bound the cache starts afresh.
constexpr size_t kMaxSizedFaces = 128;
constexpr size_t kMaxShapesPerSize = 4096;
constexpr size_t kMaxResolvedNames = 256;

// lfHeight 0 asks for the default size: a cell 16 pixels high.
constexpr double kDefaultCellHeight = 16.0;
// Sizes the mapper will make, in pixels per em.
constexpr double kMinEm = 1.0;
constexpr double kMaxEm = 16384.0;
// Synthetic bold grows each glyph by a twenty-fourth of the em across and up
// (and its advance across); synthetic italic leans it by tan 12 degrees.
constexpr double kBoldPerEm = 1.0 / 24.0;
constexpr double kSlant = 0.2126;
// Font weights from this on are bold.
constexpr LONG kBoldWeight = 600;

struct FaceMetrics {
  double unitsPerEm;
  double ascent, descent;  // font units; their sum is the cell height
  double averageWidth;     // font units, 0 when unknown
};

// A TrueType font's cell is its Windows ascent plus descent; other fonts
// only have the typographic ones.
FaceMetrics MetricsOf(FT_Face face) {
  FaceMetrics m{};
  m.unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 1000.0;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    m.ascent = os2->usWinAscent;
    m.descent = os2->usWinDescent;
  } else if (face->ascender - face->descender > 0) {
    m.ascent = face->ascender;
    m.descent = -face->descender;
  } else {
    m.ascent = m.unitsPerEm;
    m.descent = 0.0;
  }
  m.averageWidth = os2 && os2->version != 0xFFFF ? os2->xAvgCharWidth : 0.0;
  return m;
}

// In whole pixels, as GDI sizes TrueType fonts.
double ClampEm(double em) { return std::min(std::max(std::round(em), kMinEm), kMaxEm); }

// GDI's size semantics: a positive height is the cell height (ascent plus
// descent), a negative one the character (em) height.
double EmHeight(LONG lfHeight, const FaceMetrics& m) {
  const double cell = m.ascent + m.descent;
  if (lfHeight < 0) return ClampEm(-static_cast<double>(lfHeight));
  const double h = lfHeight > 0 ? static_cast<double>(lfHeight) : kDefaultCellHeight;
  return ClampEm(h * m.unitsPerEm / cell);
}

// A non-zero width is the average character width; the glyphs stretch to it.
double EmWidth(LONG lfWidth, double emHeight, const FaceMetrics& m) {
  if (lfWidth == 0 || m.averageWidth <= 0.0) return emHeight;
  return ClampEm(std::fabs(static_cast<double>(lfWidth)) * m.unitsPerEm / m.averageWidth);
}

std::string FaceBytes(const LOGFONTA& lf) {
  return std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
}

}  // namespace

// Counts the sized faces ever made, for shape ids that are never reused.
static std::atomic<unsigned long long> sizedFacesMade{0};

SizedFace::SizedFace(FT_Face face, int faceId, double emX, double emY, bool embolden, bool oblique)
    : face_(face), faceId_(faceId), emX_(emX), embolden_(embolden), oblique_(oblique), serial_(++sizedFacesMade) {
  const FaceMetrics m = MetricsOf(face);
  const double scaleY = emY / m.unitsPerEm;
  // GDI's text metrics are whole pixels.
  ascent_ = std::round(m.ascent * scaleY);
  descent_ = std::round(m.descent * scaleY);
  // Each size keeps its own hinting state, whatever other sizes of the face
  // load meanwhile.
  if (FT_New_Size(face_, &size_) != 0) {
    size_ = nullptr;
    return;
  }
  if (FT_Activate_Size(size_) != 0 ||
      FT_Set_Pixel_Sizes(face_, static_cast<FT_UInt>(emX), static_cast<FT_UInt>(emY)) != 0) {
    FT_Done_Size(size_);
    size_ = nullptr;
  }
}

SizedFace::~SizedFace() {
  if (size_) FT_Done_Size(size_);
}

const SharedShape* SizedFace::Find(char32_t c) {
  const FT_UInt index = FT_Get_Char_Index(face_, c);
  return index == 0 ? nullptr : Shape(index);
}

const SharedShape* SizedFace::Shape(FT_UInt index) {
  auto it = shapes_.find(index);
  if (it != shapes_.end()) return &it->second;
  // Texts hold the shapes they took, so forgetting them here is safe.
  if (shapes_.size() >= kMaxShapesPerSize) shapes_.clear();
  auto shape = std::make_shared<GlyphShape>(Load(index));
  shape->id = (serial_ << 32) | index;
  return &shapes_.emplace(index, std::move(shape)).first->second;
}

// Outlines are grid-fitted at the whole-pixel size, as GDI hands them out:
// in 26.6 pixels, which the path keeps as fractions of a pixel.
GlyphShape SizedFace::Load(FT_UInt index) const {
  GlyphShape shape;
  if (!size_ || FT_Activate_Size(size_) != 0) return shape;
  if (FT_Load_Glyph(face_, index, FT_LOAD_NO_BITMAP) != 0) return shape;
  FT_GlyphSlot slot = face_->glyph;
  FT_Pos advance = slot->advance.x;
  if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    if (embolden_) {
      const auto strength = static_cast<FT_Pos>(std::lround(emX_ * 64.0 * kBoldPerEm));
      FT_Outline_EmboldenXY(&slot->outline, strength, strength);
      advance += strength;
    }
    shape.outline = OutlineFigures(slot->outline);
  }
  for (GdiPoint& p : shape.outline.points) {
    p.x /= 64.0;
    p.y /= 64.0;
    if (oblique_) p.x += p.y * kSlant;
  }
  shape.advance = std::round(static_cast<double>(advance) / 64.0);
  return shape;
}

FontCache& FontCache::Instance() {
  static auto* cache = new FontCache();
  return *cache;
}

FontCache::FontCache() {
  if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
}

const FontFile* FontCache::ResolveFamilies(const std::string& key,
                                           const std::vector<std::string>& families, bool bold,
                                           bool italic) {
  auto it = files_.find(key);
  if (it != files_.end()) return it->second.get();
  std::unique_ptr<FontFile> file = std::make_unique<FontFile>();
  if (!ResolveFontFile(families, bold, italic, file.get())) file.reset();
  return (files_[key] = std::move(file)).get();
}

const FontFile* FontCache::Resolve(const std::string& faceBytes, bool bold, bool italic) {
  const std::string key =
      "face:" + faceBytes + (bold ? "|b" : "|") + (italic ? "i" : "");
  auto it = files_.find(key);
  if (it != files_.end()) return it->second.get();
  return ResolveFamilies(key, FamiliesForFace(shared::CodePageToUtf8(faceBytes.c_str())), bold, italic);
}

FT_Face FontCache::Open(const FontFile& file) {
  if (!library_) return nullptr;
  const std::string key = file.path + "#" + std::to_string(file.index);
  auto it = faces_.find(key);
  if (it != faces_.end()) return it->second;
  FT_Face face = nullptr;
  ++fileLoads_;
  if (FT_New_Face(library_, file.path.c_str(), file.index, &face) != 0) face = nullptr;
  if (face) FT_Select_Charmap(face, FT_ENCODING_UNICODE);
  faces_[key] = face;  // a file that fails to open is not tried again
  return face;
}

// Bold or italic asked of a file that is neither is made up: emboldened or
// slanted outlines.
SizedFace* FontCache::Sized(const FontFile& file, FT_Face face, double emX, double emY, bool bold,
                            bool italic) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const bool fileIsBold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0 ||
                          (os2 && os2->version != 0xFFFF && os2->usWeightClass >= kBoldWeight);
  const bool embolden = bold && !fileIsBold;
  const bool oblique = italic && (face->style_flags & FT_STYLE_FLAG_ITALIC) == 0;
  const std::string key = file.path + "#" + std::to_string(file.index) + "|" +
                          std::to_string(std::llround(emX * 64.0)) + "x" +
                          std::to_string(std::llround(emY * 64.0)) + (embolden ? "b" : "") +
                          (oblique ? "i" : "");
  std::unique_ptr<SizedFace>& sized = sized_[key];
  if (!sized)
    sized = std::make_unique<SizedFace>(face, inkline::FaceIdOf(file.path, file.index), emX, emY,
                                        embolden, oblique);
  return sized.get();
}

// Starts afresh where a bound is passed: before a text takes its faces,
// never while it holds them. (Each face bounds its own shapes.)
// Sized faces (with their glyph shapes) and resolved names are bounded
// separately: a layer of many sizes must not throw away the name
// resolutions, which cost a fontconfig match each.
void FontCache::Trim() {
  if (sized_.size() >= kMaxSizedFaces) {
    textFonts_.clear();  // they point at sized faces
    sized_.clear();
  }
  if (files_.size() >= kMaxResolvedNames) {
    textFonts_.clear();
    files_.clear();
  }
}

// What of a font description decides its faces and sizes.
static std::string TextFontKey(const LOGFONTA& lf) {
  const LONG numbers[] = {lf.lfHeight, lf.lfWidth, lf.lfWeight >= kBoldWeight ? 1 : 0,
                          lf.lfItalic != 0 ? 1 : 0};
  std::string key(reinterpret_cast<const char*>(numbers), sizeof numbers);
  return key + FaceBytes(lf);
}

TextFont* FontCache::TextFontFor(const LOGFONTA& lf) {
  Trim();
  std::string key = TextFontKey(lf);
  auto known = textFonts_.find(key);
  if (known != textFonts_.end()) return &known->second;
  TextFont made;
  if (!MakeTextFont(lf, &made)) return nullptr;
  return &textFonts_.emplace(std::move(key), std::move(made)).first->second;
}

bool FontCache::MakeTextFont(const LOGFONTA& lf, TextFont* out) {
  const bool bold = lf.lfWeight >= kBoldWeight;
  const bool italic = lf.lfItalic != 0;
  const FontFile* file = Resolve(FaceBytes(lf), bold, italic);
  FT_Face face = file ? Open(*file) : nullptr;
  if (!face) return false;
  const FaceMetrics m = MetricsOf(face);
  const double emY = EmHeight(lf.lfHeight, m);
  const double emX = EmWidth(lf.lfWidth, emY, m);
  TextFont font;
  font.file = file->path;
  font.emHeight = emY;
  font.emWidth = emX;
  font.bold = bold;
  font.italic = italic;
  font.face = Sized(*file, face, emX, emY, bold, italic);
  // Characters the font lacks come from a Chinese font, then the last
  // resort, at the same character height.
  const std::vector<std::string> fallbackLists[] = {ChineseFallbackFamilies(),
                                                    {"DejaVu Sans"}};
  const char* const fallbackKeys[] = {"fallback:chinese", "fallback:last"};
  for (int i = 0; i < 2; ++i) {
    const std::string key = std::string(fallbackKeys[i]) + (bold ? "|b" : "|") + (italic ? "i" : "");
    const FontFile* other = ResolveFamilies(key, fallbackLists[i], bold, italic);
    if (!other || (other->path == file->path && other->index == file->index)) continue;
    FT_Face otherFace = Open(*other);
    if (!otherFace) continue;
    font.fallbacks.push_back(Sized(*other, otherFace, emX, emY, bold, italic));
  }
  *out = font;
  return true;
}

SizedFace* FontCache::ClusterFace(TextFont& font, int faceId) {
  for (const auto& [id, face] : font.clusterFaces)
    if (id == faceId) return face;
  SizedFace* sized = nullptr;
  if (const inkline::FaceFile* named = inkline::FaceFileOf(faceId)) {
    const FontFile file{named->file, named->index};
    if (FT_Face face = Open(file))
      sized = Sized(file, face, font.emWidth, font.emHeight, font.bold, font.italic);
  }
  font.clusterFaces.emplace_back(faceId, sized);
  return sized;
}

std::string FontCache::FileFor(const LOGFONTA& lf) {
  Trim();
  const FontFile* file = Resolve(FaceBytes(lf), lf.lfWeight >= kBoldWeight, lf.lfItalic != 0);
  return file && Open(*file) ? file->path : std::string();
}

}  // namespace gdi
