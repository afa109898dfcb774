// Drawing one run: the device state the glyph drawers need for this kind of
// device, the background box behind the run, and the choice of renderer.
#include <cstdint>

#include <inkline/afx.h>
#include <inkline/map_string.h>

#include "layout/text_units.h"

namespace {

bool DrawsTextNatively(short kind) { return kind == 7 || kind == 8 || kind == 9; }

// Takes the device context, device height and rectangle each kind provides.
void TakeDeviceState(CMapString& s) {
  DeviceDriver& d = *s.Driver;
  switch (s.DeviceType) {
    case 0:
    case 1:
    case 6:
      s.pDC = d.pWinDC;
      s.DevHeight = d.WinHeight;
      s.DevRect = d.WinRect;
      break;
    case 2:
      s.pDC = CDC::FromHandle(d.hDevDC);
      break;
    case 3:
      s.pDC = CDC::FromHandle(d.hPageDC);
      s.DevHeight = layout::TruncToInt(d.PageYMax - d.PageYMin);
      s.DevRect = d.WinRect;
      break;
    case 4:
      s.DevHeight = layout::TruncToInt(d.SheetYMax - d.SheetYMin);
      s.DevRect = d.WinRect;
      break;
    case 5:
      s.DevRect = d.WinRect;
      break;
    case 7:
      s.pDC = CDC::FromHandle(d.hTextDC);
      s.DevHeight = d.WinHeight;
      s.DevRect = d.WinRect;
      break;
    default:  // 8, 9 and unknown kinds
      s.pDC = CDC::FromHandle(d.hDevDC);
      break;
  }
}

// The integer clip rectangle; its right and bottom edges are exclusive.
RECT ClipRectOf(const D_RECT& r) {
  const auto past = [](double v) {
    const std::int64_t edge = static_cast<std::int64_t>(layout::RoundHalfUp(v)) + 1;
    return static_cast<LONG>(edge > INT32_MAX ? INT32_MAX : edge);
  };
  return RECT{layout::RoundHalfUp(r.xmin), layout::RoundHalfUp(r.ymin), past(r.xmax),
              past(r.ymax)};
}

}  // namespace

void CMapString::WriteString(double x, double y, double height, double width, char* text,
                             short fontNo, short style, short bold, short underline,
                             short strikeOut, double angle, double space, char arrangement,
                             short color, double boxScale) {
  if (!Driver || !text) return;
  TakeDeviceState(*this);
  ClipRect = ClipRectOf(DevRect);

  // A box only where the extent was measured: a run without a font has no
  // extent, and the polygon left from an earlier run is not this one's.
  if (color > 0 && boxScale > 0 &&
      GetStringRange(x, y, height, width, text, angle, space, arrangement, boxScale, fontNo,
                     style)) {
    // Kind 2 keeps no brush of its own to put back.
    BRUSH saved{};
    if (DeviceType != 2 && DeviceType >= 0 && DeviceType <= 9) saved = Driver->CurBrush;
    BRUSH fill{};
    fill.color = color;
    Driver->SetBrush(&fill);
    D_POINT box[5];
    for (int i = 0; i < 5; ++i)
      box[i] = D_POINT{static_cast<double>(RangePoly[i].x), static_cast<double>(RangePoly[i].y)};
    int counts[1] = {5};
    Driver->FillPolygon(box, counts, 1);
    Driver->SetBrush(&saved);
  }

  InnerWriteString(x, y, height, width, text, fontNo, style, bold, underline, strikeOut, angle,
                   space, arrangement, color, boxScale, DrawsTextNatively(DeviceType));
}

// TrueType only when the library is not a character library, the device and
// style allow it, and height and width round to the same whole number.
void CMapString::InnerWriteString(double x, double y, double height, double width, char* text,
                                  short fontNo, short style, short bold, short underline,
                                  short strikeOut, double angle, double space, char arrangement,
                                  short color, double boxScale, bool native) {
  if (LibType != 1) {
    const short mode = AdjustRationalDispMode(style);
    if (layout::RoundHalfUp(height) == layout::RoundHalfUp(width) && mode == 1) {
      WinDispChar(x, y, height, width, text, fontNo, style, bold, underline, strikeOut, angle,
                  space, arrangement, color, boxScale, native);
      return;
    }
  }
  GraphDispChar(x, y, height, width, text, fontNo, style, bold, underline, strikeOut, angle,
                space, arrangement, color, boxScale, native);
}
