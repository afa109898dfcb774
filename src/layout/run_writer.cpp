// Drawing one run: the device state the glyph drawers need for this kind of
// device, the background box behind the run, and the choice of renderer.
#include <algorithm>
#include <cstdint>
#include <string>

#include <inkline/afx.h>
#include <inkline/constants.h>
#include <inkline/map_string.h>

#include "glyph/glyph_runs.h"
#include "layout/decisions.h"
#include "layout/engine.h"
#include "layout/guards.h"
#include "layout/numeric.h"

namespace layout {

namespace {

// The integer clip rectangle; its right and bottom edges are exclusive.
RECT ClipRectOf(const D_RECT& r) {
  const auto past = [](double v) {
    const std::int64_t edge = static_cast<std::int64_t>(RoundHalfUp(v)) + 1;
    return static_cast<LONG>(edge > INT32_MAX ? INT32_MAX : edge);
  };
  return RECT{RoundHalfUp(r.xmin), RoundHalfUp(r.ymin), past(r.xmax), past(r.ymax)};
}

CDC* ContextFrom(const DeviceDriver& d, DcSource source, CDC* current) {
  switch (source) {
    case DcSource::Window: return d.pWinDC;
    case DcSource::Device: return CDC::FromHandle(d.hDevDC);
    case DcSource::Page: return CDC::FromHandle(d.hPageDC);
    case DcSource::Text: return CDC::FromHandle(d.hTextDC);
    case DcSource::Keep: break;
  }
  return current;
}

int HeightFrom(const DeviceDriver& d, HeightSource source, int current) {
  switch (source) {
    case HeightSource::Window: return d.WinHeight;
    case HeightSource::Page: return TruncToInt(d.PageYMax - d.PageYMin);
    case HeightSource::Sheet: return TruncToInt(d.SheetYMax - d.SheetYMin);
    case HeightSource::Keep: break;
  }
  return current;
}

// The box behind a run, filled with the run's colour; the device's brush is
// put back after.
void FillBackground(const DrawContext& c, const Extent& extent, short color) {
  DeviceDriver* device = c.device.driver;
  BrushRestorer restore(device, c.device.SavedBrush());
  BRUSH fill{};
  fill.color = color;
  device->SetBrush(&fill);
  D_POINT box[5];
  for (int i = 0; i < 5; ++i)
    box[i] = D_POINT{static_cast<double>(extent.poly[i].x), static_cast<double>(extent.poly[i].y)};
  int counts[1] = {5};
  device->FillPolygon(box, counts, 1);
}

// Why a run that reached the renderer choice is drawn from outlines.
std::string WhyOutlines(const CMapString& s, const Run& run, short style) {
  if (s.LibType == kCharLibraryType) return "the font library is a character library";
  if (s.RationalDispMode != 1) return "the device refuses TrueType fonts";
  if (s.Hollow != 0) return "hollow glyphs";
  if (style != 0 && style != inkline::kStyleItalic) return "style " + std::to_string(style);
  return "height " + Number(run.height) + " and width " + Number(run.width) + " round apart";
}

void ReportRenderer(const CMapString& s, const Run& run, short style, bool trueType, bool native) {
  Decide([&] {
    const std::string how = trueType ? (native ? "TrueType, as native text" : "TrueType")
                                     : "outlines: " + WhyOutlines(s, run, style);
    return "run " + Quoted(run.text) + ": " + how;
  });
}

}  // namespace

void TakeDeviceState(const DrawContext& c) {
  CMapString& s = c.s;
  const KindRules& rules = *c.device.rules;
  s.pDC = ContextFrom(*c.device.driver, rules.dc, s.pDC);
  s.DevHeight = HeightFrom(*c.device.driver, rules.height, s.DevHeight);
  if (rules.windowRect) s.DevRect = c.device.driver->WinRect;
  s.ClipRect = ClipRectOf(s.DevRect);
}

void WriteRun(const DrawContext& c, const Run& run, const RunStyle& style) {
  if (!c.device.driver || !run.text) return;
  TakeDeviceState(c);
  // A box only where the extent was measured and placed: a run without a
  // font has no extent, and a polygon left from an earlier run is not this
  // one's.
  if (style.color > 0 && style.boxScale > 0) {
    const Extent extent = MeasureRun(c.s, run, style.boxScale, style.fontNo, style.style);
    if (extent.measured && extent.placed) {
      std::copy(extent.poly, extent.poly + 5, c.s.RangePoly);
      FillBackground(c, extent, style.color);
    }
  }
  DrawRunGlyphs(c, run, style, c.device.rules->nativeText);
}

void DrawRunGlyphs(const DrawContext& c, const Run& run, const RunStyle& style, bool native) {
  CMapString& s = c.s;
  bool trueType = false;
  if (s.LibType != kCharLibraryType) {
    const short mode = s.AdjustRationalDispMode(style.style);
    trueType = RoundHalfUp(run.height) == RoundHalfUp(run.width) && mode == 1;
  }
  ReportRenderer(s, run, style.style, trueType, native);
  if (trueType)
    glyph::DrawTrueTypeRun(c, run, style, native);
  else
    glyph::DrawVectorRun(c, run, style);
}

}  // namespace layout

void CMapString::WriteString(double x, double y, double height, double width, char* text,
                             short fontNo, short style, short bold, short underline,
                             short strikeOut, double angle, double space, char arrangement,
                             short color, double boxScale) {
  layout::WriteRun(layout::ContextOf(*this),
                   layout::Run{text, {x, y}, height, width, angle, space, arrangement},
                   layout::RunStyle{fontNo, style, bold, underline, strikeOut, color, boxScale});
}

void CMapString::InnerWriteString(double x, double y, double height, double width, char* text,
                                  short fontNo, short style, short bold, short underline,
                                  short strikeOut, double angle, double space, char arrangement,
                                  short color, double boxScale, bool native) {
  layout::DrawRunGlyphs(layout::ContextOf(*this),
                        layout::Run{text, {x, y}, height, width, angle, space, arrangement},
                        layout::RunStyle{fontNo, style, bold, underline, strikeOut, color, boxScale},
                        native);
}
