// FreeType faces: the cell metrics GDI uses and unscaled glyph outlines.
#include "font_face.h"

#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

namespace {
constexpr FT_Int32 kUnscaled = FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;
}

std::unique_ptr<FontFace> FontFace::Open(FT_Library library, const std::string& file, int index,
                                         long* callCounter) {
  FT_Face face = nullptr;
  if (FT_New_Face(library, file.c_str(), index, &face) != 0) return nullptr;
  if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
    FT_Done_Face(face);
    return nullptr;
  }
  // Unicode where the face has it (FreeType picks it by default when present).
  FT_Select_Charmap(face, FT_ENCODING_UNICODE);
  return std::unique_ptr<FontFace>(new FontFace(face, file, index, callCounter));
}

FontFace::FontFace(FT_Face face, std::string file, int index, long* callCounter)
    : face_(face), file_(std::move(file)), index_(index), calls_(callCounter) {
  unitsPerEm_ = face->units_per_EM;
  // The cell of a GDI font: the Windows ascent and descent when the face has
  // them, else the horizontal header's.
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    ascent_ = os2->usWinAscent;
    descent_ = os2->usWinDescent;
  } else if (face->ascender - face->descender > 0) {
    ascent_ = face->ascender;
    descent_ = -face->descender;
  } else {
    ascent_ = 0.8 * unitsPerEm_;
    descent_ = 0.2 * unitsPerEm_;
  }
}

FontFace::~FontFace() { FT_Done_Face(face_); }

unsigned FontFace::GlyphIndex(char32_t codePoint) {
  ++*calls_;
  return FT_Get_Char_Index(face_, codePoint);
}

double FontFace::Advance(unsigned glyph) {
  ++*calls_;
  FT_Fixed advance = 0;
  if (FT_Get_Advance(face_, glyph, kUnscaled, &advance) != 0) return 0.0;
  return static_cast<double>(advance);
}

bool FontFace::Outline(unsigned glyph, const DesignTransform& transform, double tolerance,
                       FlatOutline* out) {
  ++*calls_;
  out->points.clear();
  out->sizes.clear();
  if (FT_Load_Glyph(face_, glyph, kUnscaled) != 0) return false;
  if (face_->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return false;
  FlattenOutline(face_->glyph->outline, transform, tolerance, out);
  return true;
}
