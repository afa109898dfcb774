// One vector-font character: its outline placed by the run's axes and drawn
// filled or hollow, with an optional outline stroke, bold stroke and shadow.
#include <cstdlib>

#include <inkline/constants.h>
#include <inkline/map_string.h>

#include "frame/entry_checks.h"
#include "glyph/glyph_runs.h"
#include "layout/decisions.h"
#include "layout/guards.h"
#include "layout/numeric.h"

namespace glyph {

namespace {

constexpr double kShadowOffset = 1.5;    // design units the shadow is shifted by
constexpr int kShadowColor = 12;         // colour number of every shadow
constexpr int kMinGlyphCap = 256;        // first size of the glyph buffer, in points
constexpr double kBoldOutlineExtra = 2.0;

// Makes room for `points` points in the object's glyph buffer; it only grows.
bool ReserveGlyphPoints(CMapString& s, long long points) {
  if (points <= s.GlyphCap) return true;
  long long cap = s.GlyphCap > 0 ? s.GlyphCap : kMinGlyphCap;
  while (cap < points) cap *= 2;
  if (cap > 0x7FFFFFFF / static_cast<long long>(sizeof(D_POINT))) return false;
  void* grown = std::realloc(s.GlyphPoints, sizeof(D_POINT) * static_cast<size_t>(cap));
  if (!grown) return false;
  s.GlyphPoints = static_cast<D_POINT*>(grown);
  s.GlyphCap = static_cast<int>(cap);
  return true;
}

PEN PenOf(double width, int color) {
  PEN pen{};
  pen.width = width;
  pen.color = color;
  return pen;
}

// A placed glyph: its contours (and, for a shadow, a shifted copy beside
// them in the same buffer) and the pen it was started with.
struct PlacedGlyph {
  D_POINT* points;
  D_POINT* shadow;
  int* partSizes;
  short parts;
  long long count;
  short bold;
  PEN saved;
  BRUSH savedBrush;
};

class GlyphPainter {
 public:
  GlyphPainter(CMapString& s, DeviceDriver& d, const PlacedGlyph& g) : s_(s), d_(d), g_(g) {}

  void Outline() {
    if (s_.OutlineMode != 1) return;
    Stroke(PenOf(s_.OutlineWidth + (g_.bold == 1 ? kBoldOutlineExtra : 0.0), s_.OutlineColor));
  }
  void Bold() {
    if (g_.bold == 1) Stroke(PenOf(s_.OutlineWidth, g_.saved.color));
  }
  // The glyph itself: stroked when hollow, else filled with the brush.
  void Body(bool selectSaved) {
    if (s_.Hollow == 1 || !selectSaved) {
      PEN body = PenOf(0.0, g_.saved.color);
      d_.SetPen(&body);
    } else {
      PEN saved = g_.saved;
      BRUSH brush = g_.savedBrush;
      d_.SetPen(&saved);
      d_.SetBrush(&brush);
    }
    if (s_.Hollow == 1)
      d_.DrawPolylines(g_.points, g_.partSizes, g_.parts);
    else
      d_.FillPolygons(g_.points, g_.partSizes, g_.parts);
  }
  // The shadow lies down and to the right of the glyph, in its own axes.
  void Shadow(const Axes& a) {
    const double dx = kShadowOffset * (a.a2 - a.a3);
    const double dy = kShadowOffset * (a.a1 - a.a4);
    for (long long k = 0; k < g_.count; ++k)
      g_.shadow[k] = D_POINT{g_.points[k].x + dx, g_.points[k].y + dy};
    if (s_.Hollow == 1) {
      PEN pen = PenOf(1.0, kShadowColor);
      d_.SetPen(&pen);
      d_.DrawPolylines(g_.shadow, g_.partSizes, g_.parts);
    } else {
      BRUSH brush{};
      brush.color = kShadowColor;
      d_.SetBrush(&brush);
      d_.FillPolygons(g_.shadow, g_.partSizes, g_.parts);
    }
  }

 private:
  void Stroke(PEN pen) {
    d_.SetPen(&pen);
    d_.DrawPolylines(g_.points, g_.partSizes, g_.parts);
  }
  CMapString& s_;
  DeviceDriver& d_;
  const PlacedGlyph& g_;
};

// The font's outline of the character at ch, as GetCharOutline gives it.
struct FontOutline {
  double* points = nullptr;
  int* partSizes = nullptr;
  short parts = 0;
  long long count = 0;  // points over all parts
};

// False when the outline is unusable: a negative point count, or points
// without an array.
bool ReadOutline(CMapString& s, char* ch, FontOutline* o) {
  s.CurFont->GetCharOutline(ch, &o->points, &o->partSizes, &o->parts, s.CharHeight);
  long long total = 0;
  for (short k = 0; k < o->parts; ++k) total += o->partSizes[k];
  if (o->parts > 0 && total < 0) return false;
  if (total > 0 && !o->points) return false;
  o->count = total > 0 ? total : 0;
  return true;
}

// The outline of the character at ch placed at `at` by the axes, lifted by
// the font's y offset (which is not rotated). False when the outline is
// unusable or no buffer can hold it.
bool PlaceOutline(CMapString& s, char* ch, Vec at, const Axes& a, PlacedGlyph* g) {
  FontOutline outline;
  if (!ReadOutline(s, ch, &outline)) return false;
  g->partSizes = outline.partSizes;
  g->parts = outline.parts;
  // Never empty, so the device never sees null.
  g->count = outline.count;
  if (!ReserveGlyphPoints(s, g->count > 0 ? 2 * g->count : 2)) {
    layout::Decide([&] { return "glyph " + layout::Quoted(ch) + ": not drawn, out of memory"; });
    return false;
  }
  g->points = s.GlyphPoints;
  g->shadow = s.GlyphPoints + g->count;
  const double lift = s.CurFont->GetYOffset() * s.CharHeight / entry_checks::DesignGridOf(s);
  for (long long k = 0; k < g->count; ++k) {
    const double px = outline.points[2 * k];
    const double py = outline.points[2 * k + 1];
    g->points[k].x = at.x + px * a.a2 - py * a.a3;
    g->points[k].y = at.y + px * a.a1 + py * a.a4 + lift;
  }
  return true;
}

}  // namespace

double DrawVectorChar(const DrawContext& c, char* ch, Vec at, short bold, const Axes& axes) {
  CMapString& s = c.s;
  if (!s.CurFont || !ch) return 0.0;
  const double advance = s.CurFont->CharLength(ch);
  if (s.LibType == layout::kCharLibraryType && s.CurFontNo == 0)
    return static_cast<double>(DrawStrokeChar(c, ch, at, bold, axes));

  const SavedPenBrush saved = SaveOf(c);
  PlacedGlyph g{};
  g.bold = bold;
  g.saved = saved.pen;
  g.savedBrush = saved.brush;
  if (!PlaceOutline(s, ch, at, axes, &g)) return 0.0;
  if (!c.device.driver) return advance;

  layout::PenRestorer restore(c.device.driver, saved.pen);
  GlyphPainter paint(s, *c.device.driver, g);
  const bool shadowed = s.CurStyle >= inkline::kStyleShadow;
  if (shadowed) paint.Shadow(axes);
  paint.Outline();
  paint.Bold();
  paint.Body(shadowed);
  return advance;
}

double VectorCharAdvance(CMapString& s, char* ch) {
  if (!s.CurFont || !ch) return 0.0;
  if (s.LibType == 1 && s.CurFontNo == 0) return static_cast<double>(StrokeCharAdvance(s, ch));
  FontOutline outline;
  return ReadOutline(s, ch, &outline) ? s.CurFont->CharLength(ch) : 0.0;
}

}  // namespace glyph
