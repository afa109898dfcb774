#include "text_geometry.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
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
void PlaceFigures(const std::vector<const GlyphShape*>& shapes, const TextToDevice& place,
                  ShapePath* out) {
  size_t points = 0;
  for (const GlyphShape* shape : shapes) points += shape->outline.points.size();
  out->points.reserve(points);
  out->types.reserve(points);
  double pen = 0.0;
  for (const GlyphShape* shape : shapes) {
    const ShapePath& outline = shape->outline;
    for (int i = 0; i < outline.size(); ++i) {
      const GdiPoint& p = outline.points[static_cast<size_t>(i)];
      const GdiPoint d = place(pen + p.x, p.y);
      out->Add(d.x, d.y, outline.types[static_cast<size_t>(i)]);
    }
    pen += shape->advance;
  }
}

// What one thread laid out lately: fonts' measures and their characters'
// shapes, found again without taking the cache's lock, which threads drawing
// text at once would otherwise queue for at every character. It holds the
// shapes its thread's geometries point to: what it forgets is retired, and
// freed only once no geometry of the thread is in use.
class LayoutFront {
 public:
  struct Font {
    LOGFONTA lf;  // the fields the cache tells fonts by
    std::string file;
    double emHeight, ascent, descent;
    std::unordered_map<char32_t, SharedShape> shapes;
  };

  Font* Find(const LOGFONTA& lf) {
    if (last_ && Same(last_->lf, lf)) return last_;
    for (const std::unique_ptr<Font>& f : fonts_)
      if (Same(f->lf, lf)) return last_ = f.get();
    return nullptr;
  }
  // Forgets everything when full, then keeps this font.
  Font* Add(const LOGFONTA& lf, const TextFont& font) {
    if (fonts_.size() >= kFonts || shapes_ >= kShapes) {
      RetireShapes();
      fonts_.clear();
      last_ = nullptr;
    }
    fonts_.push_back(std::make_unique<Font>(
        Font{lf, font.file, font.emHeight, font.face->ascent(), font.face->descent(), {}}));
    return last_ = fonts_.back().get();
  }
  // Forgets every font's shapes when full, then keeps this one for c; a
  // shape it held for c before is retired.
  void Keep(Font& f, char32_t c, const SharedShape& shape) {
    if (shapes_ >= kShapes) RetireShapes();
    auto [at, added] = f.shapes.try_emplace(c, shape);
    if (added) {
      ++shapes_;
    } else if (at->second != shape) {
      retired_.push_back(std::move(at->second));
      at->second = shape;
    }
  }
  void ForgetRetired() { retired_.clear(); }

 private:
  static constexpr size_t kFonts = 32, kShapes = 8192;
  static bool Same(const LOGFONTA& a, const LOGFONTA& b) {
    return a.lfHeight == b.lfHeight && a.lfWidth == b.lfWidth && a.lfWeight == b.lfWeight &&
           a.lfItalic == b.lfItalic &&
           std::strncmp(a.lfFaceName, b.lfFaceName, LF_FACESIZE) == 0;
  }
  void RetireShapes() {
    for (const std::unique_ptr<Font>& f : fonts_) {
      for (auto& kept : f->shapes) retired_.push_back(std::move(kept.second));
      f->shapes.clear();
    }
    shapes_ = 0;
  }
  std::vector<std::unique_ptr<Font>> fonts_;
  Font* last_ = nullptr;
  size_t shapes_ = 0;
  std::vector<SharedShape> retired_;
};

LayoutFront& ThreadFront() {
  thread_local LayoutFront front;
  return front;
}

// The front's font for lf, with the shape of every character appended to
// shapes: those the front lacks are taken from the cache, under its lock.
// Null when no font is found.
const LayoutFront::Font* FontAndShapes(const LOGFONTA& lf, const std::u32string& characters,
                                       LayoutFront& front, std::vector<const GlyphShape*>* shapes) {
  shapes->reserve(characters.size());
  LayoutFront::Font* f = front.Find(lf);
  if (f) {
    for (char32_t c : characters) {
      auto known = f->shapes.find(c);
      if (known == f->shapes.end()) break;
      shapes->push_back(known->second.get());
    }
    if (shapes->size() == characters.size()) return f;
    shapes->clear();
  }
  FontCache& cache = FontCache::Instance();
  std::lock_guard<std::mutex> hold(cache.mutex());
  const TextFont* found = cache.TextFontFor(lf);
  if (!found) return nullptr;
  if (!f) f = front.Add(lf, *found);
  for (char32_t c : characters) {
    const SharedShape& shape = ShapeFor(*found, c);
    shapes->push_back(shape.get());
    front.Keep(*f, c, shape);
  }
  return f;
}

// The cosine and sine of the last escapement a thread wrote at: labels of a
// layer mostly share their angle, and each character asks again.
class EscapementTurn {
 public:
  struct Turn {
    double cosA, sinA;
  };
  const Turn& Of(LONG escapement) {
    if (escapement != escapement_) {
      const double radians = escapement / 10.0 * shared::kPi / 180.0;
      turn_ = Turn{std::cos(radians), std::sin(radians)};
      escapement_ = escapement;
    }
    return turn_;
  }

 private:
  LONG escapement_ = 0;
  Turn turn_{1.0, 0.0};  // upright, exactly as the cosine and sine of 0 give
};

}  // namespace

bool LayOutText(const LOGFONTA& lf, int x, int y, const char* bytes, int count,
                bool placePoints, TextGeometry* out) {
  LayoutFront& front = ThreadFront();
  thread_local EscapementTurn turn;
  const std::u32string characters = shared::DecodeCodePage(bytes, count);
  TextGeometry& g = *out;
  g.Clear();
  const LayoutFront::Font* found = FontAndShapes(lf, characters, front, &g.shapes);
  if (!found) return false;
  const LayoutFront::Font& font = *found;

  const double degrees = lf.lfEscapement / 10.0;
  const EscapementTurn::Turn& t = turn.Of(lf.lfEscapement);
  const double ascent = font.ascent;
  const double descent = font.descent;
  // The baseline starts one ascent below the reference point, turned with
  // the text, on a whole device pixel: the offset is cut to whole pixels.
  const TextToDevice place{x + std::trunc(ascent * t.sinA), y + std::trunc(ascent * t.cosA), t.cosA,
                           t.sinA};

  g.emHeight = font.emHeight;
  g.escapement = degrees;
  g.file = font.file;
  g.glyphList.reserve(g.shapes.size());
  double pen = 0.0;
  for (const GlyphShape* shape : g.shapes) {
    g.glyphList.push_back(GdiGlyph{shape->id, shape->outline.view(), place(pen, 0.0)});
    pen += shape->advance;
  }
  if (placePoints) PlaceFigures(g.shapes, place, &g.glyphs);
  g.advance = pen;
  g.cell[0] = place(0.0, ascent);
  g.cell[1] = place(pen, ascent);
  g.cell[2] = place(pen, -descent);
  g.cell[3] = place(0.0, -descent);
  return true;
}

void ForgetRetiredShapes() { ThreadFront().ForgetRetired(); }

}  // namespace gdi
