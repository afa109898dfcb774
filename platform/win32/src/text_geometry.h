// Text as GDI writes it: glyph figures placed on a rotated baseline below
// the reference point, in device pixels with y downwards.
#ifndef INKLINE_PLATFORM_WIN32_TEXT_GEOMETRY_H
#define INKLINE_PLATFORM_WIN32_TEXT_GEOMETRY_H

#include <string>
#include <vector>

#include <inkline/win32.h>

#include "font_cache.h"
#include "shape_path.h"

namespace gdi {

// A glyph laid on the baseline: its shape and where its pen position
// lands, in pixels from the reference point's baseline start (x along the
// baseline, y up).
struct LaidGlyph {
  const GlyphShape* shape;
  double x, y;
};

struct TextGeometry {
  ShapePath glyphs;     // the figures of all glyphs, in text order, when asked
  std::vector<GdiGlyph> glyphList;  // each glyph's own outline and origin
  // Each glyph's shape and place, the shape kept alive by the thread that
  // laid it out until its outermost text call ends (ForgetRetiredShapes):
  // shared pointers here would have threads writing the same glyphs bounce
  // their counts. A character is one glyph; a shaped cluster of the current
  // label's codes (inkline/label_codes.h) is its glyphs where the shaper
  // put them.
  std::vector<LaidGlyph> laid;
  GdiPoint cell[4];     // the character cell box: top left, top right, bottom right, bottom left
  double advance = 0.0; // along the baseline, pixels
  double emHeight = 0.0;
  double escapement = 0.0;  // degrees counter-clockwise
  std::string file;     // the font file

  // Empty again, keeping the room it had.
  void Clear() {
    glyphs.points.clear();
    glyphs.types.clear();
    glyphList.clear();
    laid.clear();
    advance = emHeight = escapement = 0.0;
    file.clear();
  }
};

// Lays out count code page bytes of text in font lf with the reference point
// (x, y) at the top left of the first character cell (GDI's default text
// alignment). lfEscapement turns the whole text about that point. The
// figures are placed into glyphs only when placePoints is true. out is
// cleared first and keeps its room, so a caller writing text after text
// reuses one. False when no font could be found.
bool LayOutText(const LOGFONTA& lf, int x, int y, const char* bytes, int count,
                bool placePoints, TextGeometry* out);

// Frees the shapes this thread laid out and has since forgotten. Call when
// no geometry of the thread is in use any more.
void ForgetRetiredShapes();

}  // namespace gdi

#endif  // INKLINE_PLATFORM_WIN32_TEXT_GEOMETRY_H
