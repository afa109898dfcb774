// TrueType glyphs: the run loop that writes a run character by character with
// the Windows font of the run, and the writing of one character, as GDI text
// on the device context (its outline first stroked from a GDI path when
// outlining) or as native text on devices that draw text themselves.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>

#include <inkline/afx.h>
#include <inkline/map_string.h>

#include "frame/entry_checks.h"
#include "glyph/glyph_runs.h"
#include "glyph/run_decorations.h"
#include "glyph/visible_area.h"
#include "layout/decisions.h"
#include "layout/engine.h"
#include "layout/guards.h"
#include "layout/numeric.h"
#include "layout/text_units.h"

namespace glyph {

namespace {

using layout::kPi;
using layout::RoundHalfUp;

// The context's handle. Without a context the calls get a null handle and
// fail as GDI fails them: nothing is written and no path is found.
HDC HandleOf(CDC* dc) { return CDC::OutputHandle(dc); }

double AdvanceOf(const CMapString& s, char* ch) { return s.CurFont ? s.CurFont->CharLength(ch) : 0.0; }

// Native text stands on its reference point; moving it along the escapement
// by a quarter of the height (half for a full-width character) centres it on
// the cell the run laid out. Outlined native text is not moved.
double NativeChar(const DrawContext& c, Vec at, char* ch) {
  CMapString& s = c.s;
  const float advance = static_cast<float>(AdvanceOf(s, ch));
  DeviceDriver* text = s.TextDriver;
  if (!text) return advance;
  const SavedPenBrush saved = SaveOf(c);
  float dx = 0.0f;
  float dy = 0.0f;
  if (s.OutlineMode == 1) {
    PEN outline = MakePen(s.OutlineWidth, s.OutlineColor);
    text->SetPen(&outline);
    text->SetTextOutline(s.OutlineMode);
  } else {
    const double phi = s.TextFont.lfEscapement * kPi / 1800.0;
    const double share = layout::CharBytes(ch) == 1 ? 0.25 : 0.5;
    dx = static_cast<float>(share * s.TextFont.lfHeight * std::cos(phi));
    dy = static_cast<float>(share * s.TextFont.lfHeight * std::sin(phi));
    text->SetTextOutline(0);
  }
  BRUSH fill{};
  fill.color = saved.pen.color;
  text->SetBrush(&fill);
  text->DrawTextLogFont(&s.TextFont, at.x + dx, at.y + dy, ch);
  BRUSH brush = saved.brush;
  text->SetBrush(&brush);
  if (s.OutlineMode == 1 && c.device.driver) {
    PEN pen = saved.pen;
    c.device.driver->SetPen(&pen);
  }
  return advance;
}

// Room for an n-point path in the object's buffers: they grow to exactly the
// path and never shrink. False, with no buffers left, when they cannot grow.
bool ReservePath(CMapString& s, int n) {
  if (n <= s.PathCap) return true;
  std::free(s.PathPoints);
  std::free(s.PathTypes);
  s.PathPoints = static_cast<POINT*>(std::malloc(sizeof(POINT) * static_cast<size_t>(n)));
  s.PathTypes = static_cast<BYTE*>(std::malloc(static_cast<size_t>(n)));
  s.PathCap = n;
  if (s.PathPoints && s.PathTypes) return true;
  std::free(s.PathPoints);
  std::free(s.PathTypes);
  s.PathPoints = nullptr;
  s.PathTypes = nullptr;
  s.PathCap = 0;
  return false;
}

// Strokes the character's outline, recorded as a GDI path in a font like the
// run's without underline and strike-out (the run draws its own lines).
// Nothing when the character is to be written next, else the value to return
// for it without writing it: 0 for no path, its advance when it has no
// outline (a space still takes its room).
std::optional<double> StrokeOutline(const DrawContext& c, HDC dc, POINT at, char* ch) {
  CMapString& s = c.s;
  LOGFONTA face = s.WinFont;
  face.lfUnderline = 0;
  face.lfStrikeOut = 0;
  const layout::ScopedGdiFont font(layout::DcPair::Of(s.pDC), face);
  const int bytes = static_cast<int>(layout::CharBytes(ch));
  BeginPath(dc);
  TextOutA(dc, at.x, at.y, ch, bytes);
  EndPath(dc);
  const int n = GetPath(dc, nullptr, nullptr, 0);
  if (n < 0) return 0.0;
  if (n == 0) return AdvanceOf(s, ch);
  if (!ReservePath(s, n)) {
    layout::Decide([&] { return "glyph outline " + layout::Quoted(ch) + ": not drawn, out of memory"; });
    return 0.0;
  }
  const int m = GetPath(dc, s.PathPoints, s.PathTypes, n);
  const SavedPenBrush saved = SaveOf(c);
  PEN outline = MakePen(s.OutlineWidth, s.OutlineColor);
  if (c.device.driver) c.device.driver->SetPen(&outline);
  PolyDraw(dc, s.PathPoints, s.PathTypes, m);
  PEN pen = saved.pen;
  if (c.device.driver) c.device.driver->SetPen(&pen);
  return std::nullopt;
}

}  // namespace

double DrawTrueTypeChar(const DrawContext& c, Vec at, char* ch, bool native) {
  if (!ch) return -1.0;
  if (native) return NativeChar(c, at, ch);
  CMapString& s = c.s;
  const HDC dc = HandleOf(s.pDC);
  const POINT cell{RoundHalfUp(at.x), RoundHalfUp(s.DevHeight - at.y)};
  if (s.OutlineMode == 1) {
    const std::optional<double> early = StrokeOutline(c, dc, cell, ch);
    if (early) return *early;
  }
  // The run's font and a transparent background are selected already.
  TextOutA(dc, cell.x, cell.y, ch, static_cast<int>(layout::CharBytes(ch)));
  return AdvanceOf(s, ch);
}

double TrueTypeCharAdvance(const CMapString& s, char* ch, bool native) {
  if (!ch) return -1.0;
  if (native) return static_cast<float>(AdvanceOf(s, ch));
  // Without a context an outline finds no path, and the character takes no room.
  if (s.OutlineMode == 1 && !HandleOf(s.pDC)) return 0.0;
  return AdvanceOf(s, ch);
}

void DrawTrueTypeRun(const DrawContext& c, const Run& run, const RunStyle& style, bool native) {
  if (!run.text) return;
  CMapString& s = c.s;
  // The cursor is the top of the cell: GDI writes text below its reference
  // point, the run's y is its baseline.
  const double theta = run.angle * kPi / 180.0;
  const Vec top{run.origin.x - run.width * std::sin(theta),
                run.origin.y + run.height * std::cos(theta)};
  layout::FontSelection font(s, layout::FontRequest{style.fontNo, style.style, style.bold,
                                                    run.height, run.width, run.angle, native},
                             layout::FontSelection::Undo::Always);
  RunWalker w = RunWalker::For(run, theta, entry_checks::DesignGridOf(s), top);

  // A clipping window skips characters here by the top of the cell in GDI's
  // rows. A skipped character moves by the last advance written, however
  // small: cheap, and close enough to keep the run in step.
  const bool clipping = s.ClipFlag != 0 && c.device.rules->clipsTrueType;
  RunVisibility visibility(c, run, style, w);
  double lastAdvance = 0.0;
  const size_t length = std::strlen(run.text);
  for (size_t i = 0; i < length; i += layout::CharBytes(run.text + i)) {
    const POINT cell{RoundHalfUp(w.cursor.x), RoundHalfUp(s.DevHeight - w.cursor.y)};
    if (clipping && !PtInRect(&s.ClipRect, cell)) {
      ReportSkipped(w.cursor);
      w.Move(w.Step(lastAdvance));
      continue;
    }
    const Visibility seen = clipping ? Visibility::Draw : visibility.At(w.cursor);
    if (seen == Visibility::Stop) break;
    lastAdvance = seen == Visibility::Draw ? DrawTrueTypeChar(c, w.cursor, run.text + i, native)
                                           : TrueTypeCharAdvance(s, run.text + i, native);
    if (lastAdvance >= 1.0) w.Move(w.Step(lastAdvance));
  }
  DrawRunDecorations(c, style, run.origin, w.end, theta, run.height);
}

}  // namespace glyph

void CMapString::WinDispChar(double x, double y, double height, double width, char* str,
                             short fontNo, short style, short bold, short underline,
                             short strikeOut, double angle, double spacing, char arrangement,
                             short color, double boxScale, bool native) {
  glyph::DrawTrueTypeRun(layout::ContextOf(*this),
                         layout::Run{str, {x, y}, height, width, angle, spacing, arrangement},
                         layout::RunStyle{fontNo, style, bold, underline, strikeOut, color, boxScale},
                         native);
}

double CMapString::DispWinChar(double x, double y, char* ch, bool native) {
  return glyph::DrawTrueTypeChar(layout::ContextOf(*this), {x, y}, ch, native);
}
