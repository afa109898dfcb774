#include "text_geometry.h"

#include <cmath>
#include <vector>

#include <inkline/shared/code_page.h>
#include <inkline/shared/numeric.h>

#include "font_cache.h"

namespace gdi {
namespace {

// From text space (x along the baseline, y up, origin at the reference
// point) to device space (y down), turned counter-clockwise by the
// escapement as it appears on the screen.
struct TextToDevice {
  double originX, originY, cosA, sinA;
  GdiPoint operator()(double tx, double ty) const {
    return GdiPoint{originX + tx * cosA - ty * sinA, originY - (tx * sinA + ty * cosA)};
  }
};

// The shape of c: from the font, else from a fallback, else the font's
// missing-character glyph.
const SharedShape& ShapeFor(const TextFont& font, char32_t c) {
  if (const SharedShape* s = font.face->Find(c)) return *s;
  if (c >= 0x20)
    for (SizedFace* f : font.fallbacks)
      if (const SharedShape* s = f->Find(c)) return *s;
  return *font.face->Missing();
}

// Every point of every shape moved onto the page, the pen advancing along
// the baseline.
void PlaceFigures(const std::vector<SharedShape>& shapes, const TextToDevice& place,
                  ShapePath* out) {
  size_t points = 0;
  for (const SharedShape& shape : shapes) points += shape->outline.points.size();
  out->points.reserve(points);
  out->types.reserve(points);
  double pen = 0.0;
  for (const SharedShape& shape : shapes) {
    const ShapePath& outline = shape->outline;
    for (int i = 0; i < outline.size(); ++i) {
      const GdiPoint& p = outline.points[static_cast<size_t>(i)];
      const GdiPoint d = place(pen + p.x, p.y);
      out->Add(d.x, d.y, outline.types[static_cast<size_t>(i)]);
    }
    pen += shape->advance;
  }
}

}  // namespace

bool LayOutText(const LOGFONTA& lf, int x, int y, const char* bytes, int count,
                bool placePoints, TextGeometry* out) {
  FontCache& cache = FontCache::Instance();
  std::lock_guard<std::mutex> hold(cache.mutex());
  const TextFont* found = cache.TextFontFor(lf);
  if (!found) return false;
  const TextFont& font = *found;

  const double degrees = lf.lfEscapement / 10.0;
  const double radians = degrees * shared::kPi / 180.0;
  const double cosA = std::cos(radians), sinA = std::sin(radians);
  const double ascent = font.face->ascent();
  const double descent = font.face->descent();
  // The baseline starts one ascent below the reference point, turned with
  // the text, on a whole device pixel: the offset is cut to whole pixels.
  const TextToDevice place{x + std::trunc(ascent * sinA), y + std::trunc(ascent * cosA), cosA,
                           sinA};

  TextGeometry g;
  g.emHeight = font.emHeight;
  g.escapement = degrees;
  g.file = font.file;
  const std::u32string characters = shared::DecodeCodePage(bytes, count);
  g.shapes.reserve(characters.size());
  for (char32_t c : characters) g.shapes.push_back(ShapeFor(font, c));
  g.glyphList.reserve(g.shapes.size());
  double pen = 0.0;
  for (const SharedShape& shape : g.shapes) {
    g.glyphList.push_back(GdiGlyph{shape->id, shape->outline.view(), place(pen, 0.0)});
    pen += shape->advance;
  }
  if (placePoints) PlaceFigures(g.shapes, place, &g.glyphs);
  g.advance = pen;
  g.cell[0] = place(0.0, ascent);
  g.cell[1] = place(pen, ascent);
  g.cell[2] = place(pen, -descent);
  g.cell[3] = place(0.0, -descent);
  *out = std::move(g);
  return true;
}

}  // namespace gdi
