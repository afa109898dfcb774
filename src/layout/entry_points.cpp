// The two entry points of plain-string drawing: StringOut for the host, with
// its scales, pixel widths and style word, and DispString for strings already
// in device units (nested pieces and rich-text runs).
#include <inkline/constants.h>
#include <inkline/win32.h>

#include "frame/entry_checks.h"
#include "layout/engine.h"
#include "layout/numeric.h"

namespace layout {

namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr int kFallbackPixelsPerInch = 96;

// Horizontal pixels per logical inch of the screen; widths given in screen
// pixels are converted with it. Read on every call: a host's screen may
// change (another monitor, a new setting) while it runs. A system that
// reports no resolution gets 96.
int ScreenPixelsPerInch() {
  HWND desktop = GetDesktopWindow();
  HDC dc = GetDC(desktop);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(desktop, dc);
  return dpi > 0 ? dpi : kFallbackPixelsPerInch;
}

// Small text keeps a thin outline: at most 1 below height 18, 2 below 36 and
// 3 up to 54; larger text keeps the width it was given.
double LimitOutlineWidth(double width, double height) {
  if (height < 18 && width > 1) return 1.0;
  if (height < 36 && width > 2) return 2.0;
  if (height <= 54 && width > 3) return 3.0;
  return width;
}

// Size class and decoration width from the size as the host gives it, then
// both pixel widths converted to device units.
void TakeHostSize(CMapString& s, double height, double extra) {
  s.SizeClass = height <= 3 ? 4 : height <= 7 ? 3 : height <= 10 ? 2 : 1;
  s.LineWidth = height <= 10 ? 1.0 : 2.0;
  const double pixelsPerMillimetre = ScreenPixelsPerInch() / kMillimetresPerInch;
  s.OutlineWidth = extra / pixelsPerMillimetre * s.ScaleC;
  s.LineWidth = s.LineWidth / pixelsPerMillimetre * s.ScaleC;
}

// The style word's switches; an outlined string takes color and extra as its
// outline and gets no background box.
RunStyle TakeStyleWord(CMapString& s, short fontNo, short style, short color, double extra,
                       double height) {
  const auto on = [style](short bit) { return static_cast<short>((style & bit) ? 1 : 0); };
  RunStyle look{fontNo, static_cast<short>(style & inkline::kStyleNumberMask),
                on(inkline::kStyleBold), on(inkline::kStyleUnderline),
                on(inkline::kStyleStrikeOut), color, extra};
  if (style & inkline::kStyleOutlined) {
    s.OutlineMode = 1;
    s.OutlineColor = color;
    s.OutlineWidth = LimitOutlineWidth(s.OutlineWidth, height);
    look.color = -1;
    look.boxScale = 0.0;
  } else {
    s.OutlineMode = -1;
  }
  s.Hollow = on(inkline::kStyleHollow);
  s.CurStyle = look.style;
  return look;
}

}  // namespace

bool EnterDispString(CMapString& s, double height, short color) {
  if (!s.Driver || !s.FontLib || !(height >= 1)) return false;
  s.SizeClass = height < 10 ? 4 : height < 20 ? 3 : height < 30 ? 2 : 1;
  s.LibType = s.FontLib->GetLibType();
  s.DesignGrid = DesignGridFor(s.LibType);
  s.OutlineColor = color;
  s.OutlineMode = -1;
  s.Hollow = 0;
  return true;
}

void DisplayString(const DrawContext& c, const Run& run, const RunStyle& style) {
  if (!run.text || !EnterDispString(c.s, run.height, style.color)) return;
  LayoutString(c, run, style);
}

}  // namespace layout

void CMapString::StringOut(char* text, double x, double y, double height, double width,
                           short fontNo, short style, double angle, double space,
                           char arrangement, short color, double extra, MapFontLib* fontLib) {
  if (!Driver || !text) return;
  const double entryScale =
      (Driver->DispFlags & inkline::kDispFlagScaleFromThird) ? ScaleC : ScaleA * ScaleB;
  if (!entry_checks::AcceptStringOut({x, y, height, width, angle, space, extra}, entryScale,
                                     ScaleC))
    return;
  if (!fontLib) fontLib = GetMapFontLib();
  FontLib = fontLib;
  if (!FontLib) return;
  DevFlags = Driver->DispFlags;
  layout::TakeHostSize(*this, height, extra);

  const double scale = (DevFlags & inkline::kDispFlagScaleFromThird) ? ScaleC : ScaleA * ScaleB;
  const layout::Run run{text, {x, y}, height * scale, width * scale, angle, space * scale,
                        arrangement};
  CharHeight = run.height;
  if (!(run.height >= 1)) return;
  LibType = FontLib->GetLibType();
  DesignGrid = layout::DesignGridFor(LibType);

  const layout::RunStyle look =
      layout::TakeStyleWord(*this, fontNo, style, color, extra, run.height);
  layout::LayoutString(layout::ContextOf(*this), run, look);
}

void CMapString::DispString(char* text, double x, double y, double height, double width,
                            short fontNo, short style, short bold, short underline,
                            short strikeOut, double angle, double space, char arrangement,
                            short color, double boxScale) {
  if (!entry_checks::AcceptDispString({x, y, height, width, angle, space, boxScale})) return;
  layout::DisplayString(layout::ContextOf(*this),
                        layout::Run{text, {x, y}, height, width, angle, space, arrangement},
                        layout::RunStyle{fontNo, style, bold, underline, strikeOut, color, boxScale});
}

void CMapString::DispStringInner(char* text, double x, double y, double height, double width,
                                 short fontNo, short style, short bold, short underline,
                                 short strikeOut, double angle, double space, char arrangement,
                                 short color, double boxScale) {
  layout::LayoutString(layout::ContextOf(*this),
                       layout::Run{text, {x, y}, height, width, angle, space, arrangement},
                       layout::RunStyle{fontNo, style, bold, underline, strikeOut, color, boxScale});
}
