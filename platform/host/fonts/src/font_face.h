// One face of a font file, opened once and shared by every font number that
// uses it. Counts its FreeType calls, so callers can see what a cache saved.
#ifndef INKLINE_HOST_FONTS_FONT_FACE_H
#define INKLINE_HOST_FONTS_FONT_FACE_H

#include <memory>
#include <string>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "outline_flattener.h"

class FontFace {
 public:
  // Opens face `index` of `file`; null when FreeType cannot.
  static std::unique_ptr<FontFace> Open(FT_Library library, const std::string& file, int index,
                                        long* callCounter);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  const std::string& File() const { return file_; }
  int Index() const { return index_; }
  double UnitsPerEm() const { return unitsPerEm_; }
  // The character cell in font units: ascent above the baseline, descent
  // below it (positive), as a GDI cell height counts them.
  double Ascent() const { return ascent_; }
  double Descent() const { return descent_; }

  // Glyph index of a code point, 0 when the face lacks it.
  unsigned GlyphIndex(char32_t codePoint);
  // Advance width in font units.
  double Advance(unsigned glyph);
  // Loads and flattens a glyph; false when FreeType cannot load it.
  bool Outline(unsigned glyph, const DesignTransform& transform, double tolerance,
               FlatOutline* out);

 private:
  FontFace(FT_Face face, std::string file, int index, long* callCounter);

  FT_Face face_;
  std::string file_;
  int index_;
  long* calls_;
  double unitsPerEm_ = 1000.0;
  double ascent_ = 800.0;
  double descent_ = 200.0;
};

#endif  // INKLINE_HOST_FONTS_FONT_FACE_H
