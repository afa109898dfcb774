// Vector-font glyphs: the run loop that places characters along a rotated
// baseline or down a rotated column and skips those outside the clip area
// (one character is drawn by vector_char.cpp), and the pen and brush copy
// every drawer starts from.
#include <cmath>
#include <cstring>

#include <inkline/constants.h>
#include <inkline/map_string.h>

#include "frame/entry_checks.h"
#include "glyph/glyph_runs.h"
#include "glyph/run_decorations.h"
#include "glyph/visible_area.h"
#include "layout/engine.h"
#include "layout/numeric.h"
#include "layout/text_units.h"

namespace glyph {

namespace {

using layout::kPi;
using layout::RoundHalfUp;

constexpr double kSlant = 15.0;          // degrees a slanted style leans

bool Inside(const RECT& rect, Vec p) {
  return PtInRect(&rect, POINT{RoundHalfUp(p.x), RoundHalfUp(p.y)}) != FALSE;
}

// The glyph's horizontal axis runs at thetaX, its vertical axis leans to
// thetaY; a slanted style turns one of them by 15 degrees.
Axes AxesOf(const Run& run, short style, double theta, double grid) {
  const double slant = kSlant * kPi / 180.0;
  double thetaX = theta;
  double thetaY = theta;
  switch (style % inkline::kStyleShadow) {
    case 1: thetaY = theta + slant; break;
    case 2: thetaY = theta - slant; break;
    case 3: thetaX = theta + slant; break;
    case 4: thetaX = theta - slant; break;
    default: break;  // 0, and negative styles: upright
  }
  return Axes{run.width * std::sin(thetaX) / grid, run.width * std::cos(thetaX) / grid,
              run.height * std::sin(thetaY) / grid, run.height * std::cos(thetaY) / grid};
}

// Whether the character at the cursor is skipped: the cursor and its end,
// estimated with the first character's advance (cheap and close enough to
// decide visibility), both lie outside the clip rectangle. *advance is then
// that estimate.
bool Clipped(const CMapString& s, const RunWalker& w, const char* text, double* advance) {
  if (Inside(s.ClipRect, w.cursor)) return false;
  const double estimate = s.CurFont ? s.CurFont->CharLength(const_cast<char*>(text)) : 0.0;
  if (Inside(s.ClipRect, w.cursor + w.Step(estimate))) return false;
  *advance = estimate;
  ReportSkipped(w.cursor);
  return true;
}

}  // namespace

void DrawVectorRun(const DrawContext& c, const Run& run, const RunStyle& style) {
  if (!run.text) return;
  CMapString& s = c.s;
  // A negative italic style with equal sizes gets a Windows font here
  // although the run is drawn from outlines; it is given back at the end.
  layout::FontSelection font(
      s, layout::FontRequest{style.fontNo, style.style, style.bold, run.height, run.width, 0.0, false},
      layout::FontSelection::Undo::IfCreated);

  const double theta = run.angle * kPi / 180.0;
  const double grid = entry_checks::DesignGridOf(s);
  const Axes axes = AxesOf(run, style.style, theta, grid);
  RunWalker w = RunWalker::For(run, theta, grid, run.origin);

  const bool clipping = s.ClipFlag != 0 && c.device.rules->clipsOutlines;
  RunVisibility visibility(c, run, style, w);
  const size_t length = std::strlen(run.text);
  for (size_t i = 0; i < length; i += layout::CharBytes(run.text + i)) {
    double advance = 0.0;
    if (clipping) {
      if (!Clipped(s, w, run.text, &advance))
        advance = DrawVectorChar(c, run.text + i, w.cursor, style.bold, axes);
    } else {
      const Visibility seen = visibility.At(w.cursor);
      if (seen == Visibility::Stop) break;
      advance = seen == Visibility::Draw
                    ? DrawVectorChar(c, run.text + i, w.cursor, style.bold, axes)
                    : VectorCharAdvance(s, run.text + i);
    }
    // Below one design unit nothing moves, in either arrangement.
    if (advance >= 1.0) w.Move(w.Step(advance));
  }
  DrawRunDecorations(c, style, run.origin, w.end, theta, run.height);
}

}  // namespace glyph

int CMapString::GetOldPenOrBrush(PEN* pen, BRUSH* brush) {
  const layout::DeviceView device = layout::ViewOf(Driver, DeviceType);
  if (!Driver || !device.rules->keepsPen) return 0;
  if (pen) *pen = Driver->CurPen;
  if (brush) *brush = Driver->CurBrush;
  return 1;
}

void CMapString::GraphDispChar(double x, double y, double height, double width, char* str,
                               short fontNo, short style, short bold, short underline,
                               short strikeOut, double angle, double spacing, char arrangement,
                               short color, double boxScale, bool) {
  glyph::DrawVectorRun(layout::ContextOf(*this),
                       layout::Run{str, {x, y}, height, width, angle, spacing, arrangement},
                       layout::RunStyle{fontNo, style, bold, underline, strikeOut, color, boxScale});
}

double CMapString::Inkline(char* ch, double x, double y, short bold, short, double a1, double a2,
                           double a3, double a4) {
  if (!entry_checks::AcceptGlyph(x, y, a1, a2, a3, a4)) return 0.0;
  return glyph::DrawVectorChar(layout::ContextOf(*this), ch, {x, y}, bold,
                               glyph::Axes{a1, a2, a3, a4});
}
