#include "glyph/visible_area.h"

#include <cmath>
#include <string>

#include <inkline/constants.h>

#include "frame/entry_checks.h"
#include "layout/decisions.h"

namespace glyph {

namespace {

// A glyph is taken to draw within this many character sizes (height plus
// width) of its cell: several times the box of any real font's glyph, its
// shadow and the shift of native text included.
constexpr double kGlyphSizes = 3.0;
// A stroke may reach this many pen widths past its path at a sharp mitred
// corner.
constexpr double kMitrePens = 5.0;
// The widest pen of a fixed width: a bold outline's extra, the stroke font's
// pens of the small size classes.
constexpr double kFixedPen = 3.0;
// Smoothing may touch one pixel more.
constexpr double kSmoothing = 1.0;

// How far from its cell a glyph of the run may draw, in device units.
double ReachOf(const CMapString& s, const Run& run) {
  const double size = std::fabs(run.height) + std::fabs(run.width);
  const double grid = entry_checks::DesignGridOf(s);
  const double lift = s.CurFont ? std::fabs(s.CurFont->GetYOffset() * s.CharHeight / grid) : 0.0;
  const double pens = std::fabs(s.OutlineWidth) + std::fabs(s.LineWidth) + kFixedPen;
  return kGlyphSizes * size + lift + kMitrePens * pens + kSmoothing;
}

bool Usable(const D_RECT& r) {
  return std::isfinite(r.xmin) && std::isfinite(r.ymin) && std::isfinite(r.xmax) &&
         std::isfinite(r.ymax) && r.xmin < r.xmax && r.ymin < r.ymax;
}

}  // namespace

VisibleArea VisibleArea::Of(const DrawContext& c, const Run& run) {
  VisibleArea area;
  if (c.s.ClipFlag != inkline::kClipToWindow) return area;
  if (!c.device.driver || !c.device.rules->windowRect) return area;
  const D_RECT& window = c.device.driver->WinRect;
  const double reach = ReachOf(c.s, run);
  if (!Usable(window) || !std::isfinite(reach)) return area;
  area.known_ = true;
  area.grown_ = D_RECT{window.xmin - reach, window.ymin - reach, window.xmax + reach,
                       window.ymax + reach};
  return area;
}

bool VisibleArea::Misses(Vec cell) const {
  if (!known_) return false;
  const bool inside = cell.x >= grown_.xmin && cell.x <= grown_.xmax && cell.y >= grown_.ymin &&
                      cell.y <= grown_.ymax;
  return !inside;
}

bool VisibleArea::PassedFor(Vec cell, Vec heading) const {
  if (!Misses(cell)) return false;
  if (heading.x == 0.0 && heading.y == 0.0) return true;
  // Every corner of the grown area lies behind the cell, seen along the
  // heading: the cursor only gets farther from all of it.
  for (double x : {grown_.xmin, grown_.xmax})
    for (double y : {grown_.ymin, grown_.ymax})
      if ((x - cell.x) * heading.x + (y - cell.y) * heading.y >= 0.0) return false;
  return true;
}

RunVisibility::RunVisibility(const DrawContext& c, const Run& run, const RunStyle& style,
                             const RunWalker& w)
    : run_(run),
      area_(VisibleArea::Of(c, run)),
      decorated_(style.underline == 1 || style.strikeOut == 1) {
  oneWay_ = w.Heading(&heading_);
}

Visibility RunVisibility::At(Vec cursor) {
  if (!area_.Misses(cursor)) return Visibility::Draw;
  // Only the underline's end still depends on the rest of the walk.
  if (!decorated_ && oneWay_ && area_.PassedFor(cursor, heading_)) {
    stopped_ = true;
    return Visibility::Stop;
  }
  ++walked_;
  return Visibility::WalkPast;
}

RunVisibility::~RunVisibility() {
  if (walked_ == 0 && !stopped_) return;
  layout::Decide([&] {
    return "run " + layout::Quoted(run_.text) + ": " + std::to_string(walked_) +
           " characters walked past, outside the drawable area" +
           (stopped_ ? "; the rest lies past it and is not visited" : "");
  });
}

}  // namespace glyph
