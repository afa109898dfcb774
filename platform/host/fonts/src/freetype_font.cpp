// A vector font: glyphs looked up once per character, outlines flattened
// once per character and tolerance step, both kept in tables that drawing
// threads read without a lock.
#include <inkline/host/freetype_font_lib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <unordered_map>

#include <inkline/host/gbk.h>
#include <inkline/label_codes.h>

#include "code_table.h"
#include "font_face.h"
#include "outline_flattener.h"

namespace {

// Tolerance steps are half octaves of the character height, from 1/32 of it
// (tiny text) down to 1/65536 (huge text).
constexpr int kCoarsestStep = -10;
constexpr int kFinestStep = -32;
constexpr int kSteps = kCoarsestStep - kFinestStep + 1;
// Flattened outlines kept per font; past that, outlines are flattened on
// every call (a map that large is not reused much anyway).
constexpr size_t kMaxCachedBytes = size_t{64} << 20;

double ToleranceOfStep(int step, int grid) { return grid * std::exp2(step / 2.0); }

// What an empty outline hands out: callers always get valid pointers.
double noPoint = 0.0;
int noSize = 0;

size_t BytesOf(const FlatOutline& o) {
  return sizeof o + o.points.capacity() * sizeof(double) + o.sizes.capacity() * sizeof(int);
}

}  // namespace

// Under the library's lock: the glyphs of a label's characters by
// character, and outlines of single glyphs (of a label's characters and
// clusters) by face, index and step.
struct GlyphKey {
  const FontFace* face;
  unsigned index;
  int step;
  bool operator==(const GlyphKey& o) const {
    return face == o.face && index == o.index && step == o.step;
  }
};
struct GlyphKeyHash {
  size_t operator()(const GlyphKey& k) const {
    return std::hash<const void*>()(k.face) ^ (std::hash<unsigned>()(k.index) * 31u) ^
           (static_cast<size_t>(k.step) << 20);
  }
};

struct FreeTypeFont::Caches {
  CodeTable<Glyph> glyphs;
  std::array<CodeTable<FlatOutline>, kSteps> outlines;  // by step - kFinestStep
  std::unordered_map<char32_t, Glyph> labelChars;
  std::unordered_map<GlyphKey, std::unique_ptr<FlatOutline>, GlyphKeyHash> glyphOutlines;
};

namespace {

// Past the cache's limit, and for clusters put together from their glyphs:
// the calling thread's own buffer for a font.
FlatOutline& Composed(const FreeTypeFont* font) {
  thread_local std::unordered_map<const FreeTypeFont*, FlatOutline> buffers;
  return buffers[font];
}

// A code the installed label codes speak for.
bool IsLabelCode(unsigned code) {
  return inkline::CurrentLabelCodes() && inkline::IsUserDefinedCode(code);
}

}  // namespace

FreeTypeFont::FreeTypeFont(FreeTypeFontLib* lib, FontFace* face, int grid, double outputTolerance)
    : lib_(lib),
      face_(face),
      grid_(grid),
      outputTolerance_(outputTolerance),
      caches_(std::make_unique<Caches>()) {
  if (face_) {
    scale_ = grid_ / (face_->Ascent() + face_->Descent());
    descent_ = face_->Descent() * scale_;
  }
}

FreeTypeFont::~FreeTypeFont() = default;

const std::string& FreeTypeFont::File() const {
  static const std::string none;
  return face_ ? face_->File() : none;
}

int FreeTypeFont::FaceIndex() const { return face_ ? face_->Index() : 0; }

double FreeTypeFont::EmPerCharHeight() const {
  return face_ ? face_->UnitsPerEm() / (face_->Ascent() + face_->Descent()) : 1.0;
}

// The engine asks for every character of a run at one height, so each
// thread remembers its last answer.
int FreeTypeFont::StepAt(double height) const {
  struct Last {
    double height = 0.0, tolerance = 0.0;
    int step = kCoarsestStep;
  };
  thread_local Last last;
  if (height == last.height && outputTolerance_ == last.tolerance) return last.step;
  last = Last{height, outputTolerance_, StepOf(height)};
  return last.step;
}

// floor(2 log2(tolerance / height)), from the binary exponent: with
// r = m 2^e and m in [0.5, 1), 2 log2 r lies in [2e - 2, 2e - 1) below
// m = sqrt(0.5) and in [2e - 1, 2e) from there on. Right at that boundary
// the logarithm decides, as it always did.
int FreeTypeFont::StepOf(double height) const {
  if (!(height > 0.0) || !std::isfinite(height) || !(outputTolerance_ > 0.0))
    return kCoarsestStep;
  const double relative = outputTolerance_ / height;
  if (!std::isfinite(relative)) return kCoarsestStep;
  if (relative == 0.0) return kFinestStep;
  int exponent = 0;
  const double m = std::frexp(relative, &exponent);
  constexpr double kHalfRoot = 0.70710678118654752;
  int step = 2 * exponent - (m < kHalfRoot ? 2 : 1);
  if (std::abs(m - kHalfRoot) < 1e-12)
    step = static_cast<int>(std::floor(2.0 * std::log2(relative)));
  return std::clamp(step, kFinestStep, kCoarsestStep);
}

double FreeTypeFont::ToleranceAt(double height) const {
  return ToleranceOfStep(StepAt(height), grid_);
}

const FreeTypeFont::Glyph& FreeTypeFont::GlyphOf(unsigned code) {
  if (code >= CodeTable<Glyph>::kCodes) code = 0;  // no such character
  if (const Glyph* known = caches_->glyphs.Find(code)) return *known;
  std::lock_guard<std::mutex> hold(lib_->mutex_);
  if (const Glyph* known = caches_->glyphs.Find(code)) return *known;
  return *caches_->glyphs.Add(code, std::make_unique<Glyph>(FindGlyph(gbk::ToUnicode(code))));
}

double FreeTypeFont::EmInDesignUnits() const {
  return face_ ? scale_ * face_->UnitsPerEm() : static_cast<double>(grid_);
}

FreeTypeFont::Glyph FreeTypeFont::ForeignGlyph(FontFace* face, unsigned index) const {
  Glyph glyph;
  if (!face) return glyph;
  glyph.face = face;
  glyph.index = index;
  glyph.scale = EmInDesignUnits() / face->UnitsPerEm();
  return glyph;
}

FreeTypeFont::Glyph FreeTypeFont::LabelCharGlyph(char32_t c) {
  std::lock_guard<std::mutex> hold(lib_->mutex_);
  auto known = caches_->labelChars.find(c);
  if (known == caches_->labelChars.end()) known = caches_->labelChars.emplace(c, FindGlyph(c)).first;
  return known->second;
}

// Outlines are flattened at the pen position; a cluster moves copies of them.
const FlatOutline* FreeTypeFont::GlyphOutline(const Glyph& glyph, int step) {
  if (!glyph.face) return nullptr;
  std::lock_guard<std::mutex> hold(lib_->mutex_);
  std::unique_ptr<FlatOutline>& kept = caches_->glyphOutlines[GlyphKey{glyph.face, glyph.index, step}];
  if (kept) return kept.get();
  auto flat = std::make_unique<FlatOutline>();
  glyph.face->Outline(glyph.index, DesignTransform{glyph.scale, descent_},
                      ToleranceOfStep(step, grid_), flat.get());
  cachedBytes_ += BytesOf(*flat);
  kept = std::move(flat);
  return kept.get();
}

const FlatOutline* FreeTypeFont::LabelOutline(unsigned code, int step) {
  const char32_t c = gbk::ToUnicode(code);
  const inkline::ShapedCluster* cluster = inkline::ClusterOfChar(c);
  if (!cluster) return c ? GlyphOutline(LabelCharGlyph(c), step) : nullptr;
  FlatOutline& out = Composed(this);
  out.points.clear();
  out.sizes.clear();
  FontFace* face = lib_->FaceOfId(cluster->face);
  const double em = EmInDesignUnits();
  for (const inkline::ClusterGlyph& g : cluster->glyphs) {
    const FlatOutline* one = GlyphOutline(ForeignGlyph(face, g.index), step);
    if (!one) continue;
    const double dx = g.x * em, dy = g.y * em;
    for (size_t i = 0; i + 1 < one->points.size(); i += 2) {
      out.points.push_back(one->points[i] + dx);
      out.points.push_back(one->points[i + 1] + dy);
    }
    out.sizes.insert(out.sizes.end(), one->sizes.begin(), one->sizes.end());
  }
  return &out;
}

double FreeTypeFont::LabelAdvance(unsigned code) {
  const char32_t c = gbk::ToUnicode(code);
  if (const inkline::ShapedCluster* cluster = inkline::ClusterOfChar(c))
    return cluster->advance * EmInDesignUnits();
  return c ? LabelCharGlyph(c).advance : 0.0;
}

// Under the library's lock: the face that has the character, its index,
// scale and advance.
FreeTypeFont::Glyph FreeTypeFont::FindGlyph(char32_t codePoint) {
  Glyph glyph;
  auto take = [&](FontFace* face) {
    if (!face || glyph.face) return;
    const unsigned index = face->GlyphIndex(codePoint);
    if (index == 0) return;
    glyph.face = face;
    glyph.index = index;
  };
  if (codePoint >= 0x20) {
    take(face_);
    if (lib_->DefaultFace() != face_) take(lib_->DefaultFace());
    if (!glyph.face) take(lib_->LastResortFace(codePoint));
  }
  if (glyph.face) {
    // A stand-in face keeps this font's em size.
    glyph.scale = face_ ? scale_ * face_->UnitsPerEm() / glyph.face->UnitsPerEm()
                        : grid_ / (glyph.face->Ascent() + glyph.face->Descent());
    glyph.advance = glyph.face->Advance(glyph.index) * glyph.scale;
  } else if (face_) {
    glyph.advance = face_->Advance(face_->GlyphIndex(U' ')) * scale_;
  } else {
    glyph.advance = grid_ / 2.0;
  }
  return glyph;
}

const FlatOutline* FreeTypeFont::LoadOutline(unsigned code, int step) {
  const Glyph& glyph = GlyphOf(code);
  if (!glyph.face) return nullptr;
  CodeTable<FlatOutline>& table = caches_->outlines[step - kFinestStep];
  std::lock_guard<std::mutex> hold(lib_->mutex_);
  if (const FlatOutline* known = table.Find(code)) return known;
  auto flat = std::make_unique<FlatOutline>();
  glyph.face->Outline(glyph.index, DesignTransform{glyph.scale, descent_},
                      ToleranceOfStep(step, grid_), flat.get());
  if (cachedBytes_ + BytesOf(*flat) > kMaxCachedBytes) {
    FlatOutline& own = Composed(this);
    own = std::move(*flat);
    return &own;
  }
  cachedBytes_ += BytesOf(*flat);
  cachedOutlines_.fetch_add(1, std::memory_order_relaxed);
  return table.Add(code, std::move(flat));
}

short FreeTypeFont::GetCharOutline(char* ch, double** points, int** partSizes,
                                   short* partCount, double height) {
  const FlatOutline* outline = nullptr;
  if (ch && *ch) {
    const unsigned code = gbk::Code(ch);
    const int step = StepAt(height);
    if (IsLabelCode(code)) {
      outline = LabelOutline(code, step);
    } else {
      outline = caches_->outlines[step - kFinestStep].Find(code);
      if (!outline) outline = LoadOutline(code, step);
    }
  }
  // Callers only read the arrays; the interface predates const.
  const bool drawn = outline && !outline->sizes.empty();
  if (points) *points = drawn ? const_cast<double*>(outline->points.data()) : &noPoint;
  if (partSizes) *partSizes = drawn ? const_cast<int*>(outline->sizes.data()) : &noSize;
  if (partCount)
    *partCount = drawn ? static_cast<short>(std::min<size_t>(outline->sizes.size(), SHRT_MAX)) : 0;
  return outline ? 1 : 0;
}

double FreeTypeFont::CharLength(char* ch) {
  if (!ch || !*ch) return 0.0;
  const unsigned code = gbk::Code(ch);
  return IsLabelCode(code) ? LabelAdvance(code) : GlyphOf(code).advance;
}

short StrokeFont::GetCharOutline(char*, double** points, int** partSizes, short* partCount,
                                 double) {
  if (points) *points = &noPoint_;
  if (partSizes) *partSizes = &noSize_;
  if (partCount) *partCount = 0;
  return 0;
}

double StrokeFont::CharLength(char* ch) { return (ch && *ch) ? grid_ : 0.0; }
