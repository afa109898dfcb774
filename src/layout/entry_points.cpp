// The two entry points of plain-string drawing: StringOut for the host, with
// its scales, pixel widths and style word, and DispString for strings already
// in device units (nested pieces and rich-text runs).
#include "layout/entry_points.h"

#include <inkline/win32.h>

#include "frame/entry_checks.h"

namespace {

constexpr double kMillimetresPerInch = 25.4;
constexpr int kFallbackPixelsPerInch = 96;

constexpr short kOutlined = 0x0400;
constexpr short kHollow = 0x0800;
constexpr short kBold = 0x1000;
constexpr short kUnderline = 0x2000;
constexpr short kStrikeOut = 0x4000;
constexpr short kScaleFromThird = 0x80;

// Horizontal pixels per logical inch of the screen; widths given in screen
// pixels are converted with it. Without a readable screen, 96.
int ScreenPixelsPerInch() {
  HWND desktop = GetDesktopWindow();
  HDC dc = GetDC(desktop);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(desktop, dc);
  return dpi > 0 ? dpi : kFallbackPixelsPerInch;
}

double GridOf(short libType) { return libType == 1 ? 255.0 : 40.0; }

// Small text keeps a thin outline: at most 1 below height 18, 2 below 36 and
// 3 up to 54; larger text keeps the width it was given.
double LimitOutlineWidth(double width, double height) {
  if (height < 18 && width > 1) return 1.0;
  if (height < 36 && width > 2) return 2.0;
  if (height <= 54 && width > 3) return 3.0;
  return width;
}

}  // namespace

namespace layout {

bool EnterDispString(CMapString& s, double height, short color) {
  if (!s.Driver || !s.FontLib || !(height >= 1)) return false;
  s.SizeClass = height < 10 ? 4 : height < 20 ? 3 : height < 30 ? 2 : 1;
  s.LibType = s.FontLib->GetLibType();
  s.DesignGrid = GridOf(s.LibType);
  s.OutlineColor = color;
  s.OutlineMode = -1;
  s.Hollow = 0;
  return true;
}

}  // namespace layout

void CMapString::StringOut(char* text, double x, double y, double height, double width,
                           short fontNo, short style, double angle, double space,
                           char arrangement, short color, double extra, MapFontLib* fontLib) {
  if (!Driver || !text) return;
  const double entryScale = (Driver->DispFlags & kScaleFromThird) ? ScaleC : ScaleA * ScaleB;
  if (!entry_checks::AcceptStringOut({x, y, height, width, angle, space, extra}, entryScale,
                                     ScaleC))
    return;
  if (!fontLib) fontLib = GetMapFontLib();
  FontLib = fontLib;
  if (!FontLib) return;

  OutlineWidth = extra;
  DevFlags = Driver->DispFlags;

  // Size class and decoration width come from the size as the host gives it.
  if (height <= 3) {
    SizeClass = 4;
    LineWidth = 1.0;
  } else if (height <= 7) {
    SizeClass = 3;
    LineWidth = 1.0;
  } else if (height <= 10) {
    SizeClass = 2;
    LineWidth = 1.0;
  } else {
    SizeClass = 1;
    LineWidth = 2.0;
  }

  const double pixelsPerMillimetre = ScreenPixelsPerInch() / kMillimetresPerInch;
  OutlineWidth = OutlineWidth / pixelsPerMillimetre * ScaleC;
  LineWidth = LineWidth / pixelsPerMillimetre * ScaleC;

  const double scale = (DevFlags & kScaleFromThird) ? ScaleC : ScaleA * ScaleB;
  height *= scale;
  width *= scale;
  space *= scale;
  CharHeight = height;
  if (!(height >= 1)) return;

  LibType = FontLib->GetLibType();
  DesignGrid = GridOf(LibType);

  const short bold = (style & kBold) ? 1 : 0;
  const short underline = (style & kUnderline) ? 1 : 0;
  const short strikeOut = (style & kStrikeOut) ? 1 : 0;

  // An outlined string takes color and extra as its outline; it never gets
  // a background box.
  double boxScale = extra;
  if (style & kOutlined) {
    OutlineMode = 1;
    OutlineColor = color;
    OutlineWidth = LimitOutlineWidth(OutlineWidth, height);
    color = -1;
    boxScale = 0.0;
  } else {
    OutlineMode = -1;
  }
  Hollow = (style & kHollow) ? 1 : 0;
  const short styleNo = static_cast<short>(style & 0xFF);
  CurStyle = styleNo;

  DispStringInner(text, x, y, height, width, fontNo, styleNo, bold, underline, strikeOut, angle,
                  space, arrangement, color, boxScale);
}

void CMapString::DispString(char* text, double x, double y, double height, double width,
                            short fontNo, short style, short bold, short underline,
                            short strikeOut, double angle, double space, char arrangement,
                            short color, double boxScale) {
  if (!entry_checks::AcceptDispString({x, y, height, width, angle, space, boxScale})) return;
  if (!text || !layout::EnterDispString(*this, height, color)) return;
  DispStringInner(text, x, y, height, width, fontNo, style, bold, underline, strikeOut, angle,
                  space, arrangement, color, boxScale);
}
