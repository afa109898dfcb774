#include "text_geometry.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include <inkline/label_codes.h>
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

// Every point of every laid glyph moved onto the page.
void PlaceFigures(const std::vector<LaidGlyph>& laid, const TextToDevice& place, ShapePath* out) {
  size_t points = 0;
  for (const LaidGlyph& g : laid) points += g.shape->outline.points.size();
  out->points.reserve(points);
  out->types.reserve(points);
  for (const LaidGlyph& g : laid) {
    const ShapePath& outline = g.shape->outline;
    for (int i = 0; i < outline.size(); ++i) {
      const GdiPoint& p = outline.points[static_cast<size_t>(i)];
      const GdiPoint d = place(g.x + p.x, g.y + p.y);
      out->Add(d.x, d.y, outline.types[static_cast<size_t>(i)]);
    }
  }
}

// The key of a cluster's glyph: its face number and index.
unsigned long long ClusterGlyphKey(int face, unsigned index) {
  return static_cast<unsigned long long>(static_cast<unsigned>(face)) << 32 | index;
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
    double emHeight, emWidth, ascent, descent;
    std::unordered_map<char32_t, SharedShape> shapes;
    // Glyphs of shaped clusters, by ClusterGlyphKey: unlike their codes,
    // faces and indexes mean the same in every label.
    std::unordered_map<unsigned long long, SharedShape> clusterShapes;
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
    fonts_.push_back(std::make_unique<Font>(Font{lf, font.file, font.emHeight, font.emWidth,
                                                 font.face->ascent(), font.face->descent(), {}, {}}));
    return last_ = fonts_.back().get();
  }
  // Forgets every font's shapes when full, then keeps this one for key in
  // table; a shape it held for key before is retired.
  template <typename Key>
  void Keep(std::unordered_map<Key, SharedShape>& table, Key key, const SharedShape& shape) {
    if (shapes_ >= kShapes) RetireShapes();
    auto [at, added] = table.try_emplace(key, shape);
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
      for (auto& kept : f->clusterShapes) retired_.push_back(std::move(kept.second));
      f->shapes.clear();
      f->clusterShapes.clear();
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

// Lays each character's glyphs on the baseline from pen 0: a character is
// its shape, advancing by the shape's whole pixels; a shaped cluster is its
// glyphs at the shaper's offsets, advancing by its own advance, in the
// font's ems. lookup(c) gives a character's shape and glyph(face, index) a
// cluster glyph's; either may give null, and the laying stops there.
// Returns the pen's last position, or -1 when it stopped.
template <typename CharShape, typename ClusterShape>
double LayGlyphs(const std::u32string& characters, double emX, double emY, CharShape lookup,
                 ClusterShape glyph, std::vector<LaidGlyph>* laid) {
  double pen = 0.0;
  for (char32_t c : characters) {
    if (const inkline::ShapedCluster* cluster = inkline::ClusterOfChar(c)) {
      for (const inkline::ClusterGlyph& g : cluster->glyphs) {
        const GlyphShape* shape = glyph(cluster->face, g.index);
        if (!shape) return -1.0;
        laid->push_back(LaidGlyph{shape, pen + g.x * emX, g.y * emY});
      }
      pen += cluster->advance * emX;
      continue;
    }
    const GlyphShape* shape = lookup(c);
    if (!shape) return -1.0;
    laid->push_back(LaidGlyph{shape, pen, 0.0});
    pen += shape->advance;
  }
  return pen;
}

// The front's font for lf, with every character's glyphs laid into laid
// and the advance of them all: the shapes the front lacks are taken from the
// cache, under its lock. Null when no font is found.
const LayoutFront::Font* FontAndGlyphs(const LOGFONTA& lf, const std::u32string& characters,
                                       LayoutFront& front, std::vector<LaidGlyph>* laid,
                                       double* advance) {
  laid->reserve(characters.size());
  LayoutFront::Font* f = front.Find(lf);
  if (f) {
    const auto known = [&](char32_t c) -> const GlyphShape* {
      auto it = f->shapes.find(c);
      return it == f->shapes.end() ? nullptr : it->second.get();
    };
    const auto knownGlyph = [&](int face, unsigned index) -> const GlyphShape* {
      auto it = f->clusterShapes.find(ClusterGlyphKey(face, index));
      return it == f->clusterShapes.end() ? nullptr : it->second.get();
    };
    *advance = LayGlyphs(characters, f->emWidth, f->emHeight, known, knownGlyph, laid);
    if (*advance >= 0.0) return f;
    laid->clear();
  }
  FontCache& cache = FontCache::Instance();
  std::lock_guard<std::mutex> hold(cache.mutex());
  TextFont* found = cache.TextFontFor(lf);
  if (!found) return nullptr;
  if (!f) f = front.Add(lf, *found);
  const auto take = [&](char32_t c) -> const GlyphShape* {
    const SharedShape& shape = ShapeFor(*found, c);
    front.Keep(f->shapes, c, shape);
    return shape.get();
  };
  // A face that cannot be opened draws the font's missing glyph instead.
  const auto takeGlyph = [&](int face, unsigned index) -> const GlyphShape* {
    SizedFace* sized = cache.ClusterFace(*found, face);
    const SharedShape& shape = sized ? *sized->Glyph(index) : *found->face->Missing();
    front.Keep(f->clusterShapes, ClusterGlyphKey(face, index), shape);
    return shape.get();
  };
  *advance = LayGlyphs(characters, f->emWidth, f->emHeight, take, takeGlyph, laid);
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
  double pen = 0.0;
  const LayoutFront::Font* found = FontAndGlyphs(lf, characters, front, &g.laid, &pen);
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
  g.glyphList.reserve(g.laid.size());
  for (const LaidGlyph& laid : g.laid)
    g.glyphList.push_back(GdiGlyph{laid.shape->id, laid.shape->outline.view(), place(laid.x, laid.y)});
  if (placePoints) PlaceFigures(g.laid, place, &g.glyphs);
  g.advance = pen;
  g.cell[0] = place(0.0, ascent);
  g.cell[1] = place(pen, ascent);
  g.cell[2] = place(pen, -descent);
  g.cell[3] = place(0.0, -descent);
  return true;
}

void ForgetRetiredShapes() { ThreadFront().ForgetRetired(); }

}  // namespace gdi
