// A vector font: glyphs looked up once per character, outlines flattened
// once per character and tolerance step.
#include <inkline/host/freetype_font_lib.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include <inkline/host/gbk.h>

#include "font_face.h"
#include "outline_flattener.h"

namespace {

// Tolerance steps are half octaves of the character height, from 1/32 of it
// (tiny text) down to 1/65536 (huge text).
constexpr int kCoarsestStep = -10;
constexpr int kFinestStep = -32;
constexpr size_t kMaxCachedOutlines = 16384;

double ToleranceOfStep(int step, int grid) { return grid * std::exp2(step / 2.0); }

}  // namespace

FreeTypeFont::FreeTypeFont(FreeTypeFontLib* lib, FontFace* face, int grid, double outputTolerance)
    : lib_(lib), face_(face), grid_(grid), outputTolerance_(outputTolerance) {
  if (face_) {
    scale_ = grid_ / (face_->Ascent() + face_->Descent());
    yOffset_ = static_cast<short>(std::lround(-face_->Descent() * scale_));
  }
  // Callers get valid pointers even for an empty outline.
  points_.reserve(64);
  sizes_.reserve(8);
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

int FreeTypeFont::StepAt(double height) const {
  if (!(height > 0.0) || !std::isfinite(height) || !(outputTolerance_ > 0.0))
    return kCoarsestStep;
  const double relative = outputTolerance_ / height;
  const int step = static_cast<int>(std::floor(2.0 * std::log2(relative)));
  return std::clamp(step, kFinestStep, kCoarsestStep);
}

double FreeTypeFont::ToleranceAt(double height) const {
  return ToleranceOfStep(StepAt(height), grid_);
}

const FreeTypeFont::Glyph& FreeTypeFont::GlyphOf(unsigned code) {
  const auto known = glyphs_.find(code);
  if (known != glyphs_.end()) return known->second;

  Glyph glyph;
  const char32_t codePoint = gbk::ToUnicode(code);
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
  return glyphs_.emplace(code, glyph).first->second;
}

short FreeTypeFont::GetCharOutline(char* ch, double** points, int** partSizes,
                                   short* partCount, double height) {
  points_.clear();
  sizes_.clear();
  short found = 0;
  if (ch && *ch) {
    const unsigned code = gbk::Code(ch);
    const Glyph& glyph = GlyphOf(code);
    if (glyph.face) {
      const int step = StepAt(height);
      const unsigned long long key =
          (static_cast<unsigned long long>(code) << 8) | static_cast<unsigned>(step + 128);
      auto cached = outlines_.find(key);
      if (cached == outlines_.end()) {
        if (outlines_.size() >= kMaxCachedOutlines) outlines_.clear();
        auto flat = std::make_unique<FlatOutline>();
        glyph.face->Outline(glyph.index, DesignTransform{glyph.scale, -1.0 * yOffset_},
                            ToleranceOfStep(step, grid_), flat.get());
        cached = outlines_.emplace(key, std::move(flat)).first;
      }
      points_ = cached->second->points;
      sizes_ = cached->second->sizes;
      found = 1;
    }
  }
  if (points) *points = points_.data();
  if (partSizes) *partSizes = sizes_.data();
  if (partCount) *partCount = static_cast<short>(std::min<size_t>(sizes_.size(), SHRT_MAX));
  return found;
}

double FreeTypeFont::CharLength(char* ch) {
  if (!ch || !*ch) return 0.0;
  return GlyphOf(gbk::Code(ch)).advance;
}

short StrokeFont::GetCharOutline(char*, double** points, int** partSizes, short* partCount,
                                 double) {
  if (points) *points = &noPoint_;
  if (partSizes) *partSizes = &noSize_;
  if (partCount) *partCount = 0;
  return 0;
}

double StrokeFont::CharLength(char* ch) { return (ch && *ch) ? grid_ : 0.0; }
