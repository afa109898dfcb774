// The extent of a run: its box from an estimate or from the font's advances,
// enlarged by the box factor and turned about its pivot corner, as a closed
// polygon of five integer points.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include <inkline/map_string.h>

#include "layout/decisions.h"
#include "layout/engine.h"
#include "layout/numeric.h"
#include "layout/text_units.h"

namespace layout {

namespace {

struct Box {
  double xL = 0.0, xR = 0.0, yB = 0.0, yT = 0.0;
};

// Without a font: half a character width per byte, a twelfth of the height
// below the baseline; a column is one height per character.
Box EstimateBox(const Run& run, std::size_t len, long n) {
  const double x = run.origin.x, y = run.origin.y, height = run.height, space = run.space;
  Box b;
  if (run.arrangement == 0) {
    b.xL = x;
    b.xR = x + run.width * static_cast<double>(len) * 0.5 + space * static_cast<double>(n - 1);
    b.yB = y - height / 12;
    b.yT = y + height;
  } else if (run.arrangement == 1) {
    b.xL = x;
    b.xR = x + height;
    b.yB = y;
    b.yT = y - static_cast<double>(n) * height - static_cast<double>(n) * space;
  }
  return b;
}

// From a font: the glyph box from its y offset, the length from the advances
// of the characters.
Box MeasuredBox(MapFont* font, double grid, const Run& run, long n) {
  const double x = run.origin.x, y = run.origin.y, height = run.height;
  Box b;
  const double offset = font->GetYOffset();
  if (run.arrangement == 0) {
    b.yB = y + height * offset / grid;
    b.yT = y + height * (offset + grid) / grid;
    b.xL = x;
    double advances = 0.0;
    for (const char* p = run.text; *p; p += CharBytes(p))
      advances += run.width * font->CharLength(const_cast<char*>(p)) / grid;
    b.xR = x + advances + run.space * static_cast<double>(n - 1);
  } else if (run.arrangement == 1) {
    b.xL = x + height * offset / grid;
    b.xR = x + height * (offset + grid) / grid;
    b.yB = y;
    b.yT = y - static_cast<double>(n) * height - run.space * static_cast<double>(n - 1);
  }
  return b;
}

POINT At(double x, double y) { return POINT{TruncToInt(x), TruncToInt(y)}; }

// Moves a truncated corner by distance along (dx, dy) and truncates again.
POINT Moved(POINT p, double distance, double dx, double dy) {
  return At(p.x + distance * dx, p.y + distance * dy);
}

void StoreUpright(POINT* poly, Box b, char arrangement, double boxScale) {
  const double f = (boxScale - 1) * 0.5;
  if (arrangement == 0) {
    const double grow = f * std::fabs(b.xR - b.xL);
    b.xL -= grow;
    b.xR += grow;
  } else if (arrangement == 1) {
    const double grow = f * std::fabs(b.yT - b.yB);
    b.yB -= grow;
    b.yT += grow;
    if (b.yT < b.yB) std::swap(b.yB, b.yT);
  }
  poly[0] = At(b.xL, b.yB);
  poly[1] = At(b.xR, b.yB);
  poly[2] = At(b.xR, b.yT);
  poly[3] = At(b.xL, b.yT);
  poly[4] = poly[0];
}

// A horizontal box turns about its lower-left corner, a column about its
// upper-left corner; the enlargement then stretches it along the run.
void StoreTurned(POINT* poly, const Box& b, char arrangement, double angle, double boxScale) {
  if (angle < 0) angle = std::fabs(angle + std::ceil(std::fabs(angle) / 360) * 360);
  const double a = angle / 180 * kPi;
  const double c = std::cos(a), s = std::sin(a);
  const double lx = std::fabs(b.xR - b.xL), ly = std::fabs(b.yT - b.yB);
  const double f = (boxScale - 1) * 0.5;
  if (arrangement == 0) {
    const POINT p = At(b.xL, b.yB);
    const POINT along = At(p.x + lx * c, p.y + lx * s);
    const POINT opposite = At(p.x + lx * c - ly * s, p.y + lx * s + ly * c);
    const POINT up = At(p.x - ly * s, p.y + ly * c);
    poly[0] = Moved(p, f * lx, -c, -s);
    poly[1] = Moved(along, f * lx, c, s);
    poly[2] = Moved(opposite, f * lx, c, s);
    poly[3] = Moved(up, f * lx, -c, -s);
  } else {
    const POINT p = At(b.xL, b.yT);
    const POINT across = At(p.x + lx * c, p.y + lx * s);
    const POINT opposite = At(p.x + lx * c + ly * s, p.y + lx * s - ly * c);
    const POINT down = At(p.x + ly * s, p.y - ly * c);
    poly[0] = Moved(p, f * ly, -s, c);
    poly[1] = Moved(across, f * ly, -s, c);
    poly[2] = Moved(opposite, f * ly, s, -c);
    poly[3] = Moved(down, f * ly, s, -c);
  }
  poly[4] = poly[0];
}

// The polygon of a box: upright at angle 0, else turned; an arrangement other
// than a line or a column has no turned box.
Extent Placed(Box box, const Run& run, double boxScale) {
  Extent extent;
  extent.measured = true;
  if (box.yT < box.yB) std::swap(box.yB, box.yT);
  if (run.angle == 0) {
    StoreUpright(extent.poly, box, run.arrangement, boxScale);
    extent.placed = true;
  } else if (run.arrangement == 0 || run.arrangement == 1) {
    StoreTurned(extent.poly, box, run.arrangement, run.angle, boxScale);
    extent.placed = true;
  }
  return extent;
}

}  // namespace

Extent EstimateExtent(const Run& run, std::size_t bytes, long chars) {
  return Placed(EstimateBox(run, bytes, chars), run, 1.0);
}

Extent MeasureRun(CMapString& s, const Run& run, double boxScale, short fontNo, short style) {
  if (!run.text) return Extent{};
  const long n = CountChars(run.text);
  if (fontNo < 0) return Placed(EstimateBox(run, std::strlen(run.text), n), run, boxScale);

  // The selection is made for an ordinary device context, so it is undone as
  // such on every kind, also when no vector font came of it.
  FontSelection font(s, FontRequest{fontNo, style, 0, 0.0, 0.0, 0.0, false},
                     FontSelection::Undo::Always);
  if (!s.CurFont) {
    Decide([&] { return "run " + Quoted(run.text) + ": not measured, no font"; });
    return Extent{};
  }
  // Before any layout call has set the grid, the library type tells it.
  const double grid = s.DesignGrid > 0 ? s.DesignGrid : DesignGridFor(s.LibType);
  return Placed(MeasuredBox(s.CurFont, grid, run, n), run, boxScale);
}

}  // namespace layout

short CMapString::GetStringRange(double x, double y, double height, double width, char* text,
                                 double angle, double space, char arrangement, double boxScale,
                                 short fontNo, short style) {
  const layout::Extent extent = layout::MeasureRun(
      *this, layout::Run{text, {x, y}, height, width, angle, space, arrangement}, boxScale,
      fontNo, style);
  if (!extent.measured) return 0;
  if (extent.placed) std::copy(extent.poly, extent.poly + 5, RangePoly);
  return 1;
}
