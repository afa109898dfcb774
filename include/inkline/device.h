// The output device as the library sees it: the device records and the
// operations the library calls, in the order of the device's table of virtual
// operations. The host's output-device library implements DeviceDriver.
//
// Coordinates are device units with y growing upwards. Pens, brushes and all
// drawing arguments carry colour numbers of the host's palette, never RGB.
#ifndef INKLINE_DEVICE_H
#define INKLINE_DEVICE_H

#include <inkline/win32.h>

class CDC;

// A pen: width, colour number, and a word the library only copies.
struct PEN {
  double width;
  int color;
  int style;
};

// A brush: the fill colour number first; the library zeroes the rest or copies
// the device's current brush whole.
struct BRUSH {
  int color;
  int pattern;
  int backColor;
  int reserved;
};

struct D_RECT {
  double xmin;
  double ymin;
  double xmax;
  double ymax;
};

struct D_POINT {
  double x;
  double y;
};

// An output device. The table of virtual operations holds exactly these
// eleven slots in this order, and no destructor: a host and the library built
// separately agree on it under either C++ ABI. The device's owner destroys it
// through its own concrete type.
class DeviceDriver {
 public:
  // Device kind 0 to 9; kinds 7, 8 and 9 draw text natively.
  virtual short GetDeviceType() = 0;
  // Width and colour used by later lines and outlines.
  virtual void SetPen(PEN* pen) = 0;
  // Colour used by later fills.
  virtual void SetBrush(BRUSH* brush) = 0;
  // One segment with the current pen.
  virtual void DrawLine(double x1, double y1, double x2, double y2) = 0;
  // Each run of points stroked with the current pen.
  virtual void DrawPolylines(D_POINT* points, int* counts, short runs) = 0;
  // One polygon filled with the current brush.
  virtual void FillPolygon(D_POINT* points, int* counts, int runs) = 0;
  // All runs filled as one area (a glyph with holes), with the current brush.
  virtual void FillPolygons(D_POINT* points, int* counts, short runs) = 0;
  // 1 allows TrueType fonts to be drawn as such.
  virtual short GetRationalDispMode() = 0;
  // Kinds 7 to 9: draws text natively in the given font; the result is ignored.
  virtual double DrawTextLogFont(LOGFONTA* font, double x, double y, char* text) {
    (void)font; (void)x; (void)y; (void)text;
    return 0.0;
  }
  // Kinds 7 to 9: the angle of later native text, degrees counter-clockwise.
  virtual void SetTextAngle(float degrees) { (void)degrees; }
  // Kinds 7 to 9: 0 plain native text, otherwise outlined with the current pen.
  virtual void SetTextOutline(short mode) { (void)mode; }

  // State the library reads.
  PEN CurPen;          // current pen, saved and restored around drawing
  BRUSH CurBrush;      // current brush, saved and restored around drawing
  short DispFlags;     // bit 0x80 takes sizes from the third scale
  int WinHeight;       // window height: GDI rows are WinHeight - y
  // Window rectangle: the clip rectangle of kinds 1 and 3, and where every
  // kind but 2, 8 and 9 finds its extent (see MapString::SetClipFlag).
  D_RECT WinRect;
  CDC* pWinDC;         // window device context (kinds 0, 1, 6)
  HDC hTextDC;         // text device context (kind 7)
  HDC hDevDC;          // device context of kinds 2, 8, 9
  HDC hPageDC;         // page device context (kind 3)
  double PageYMin, PageYMax;    // page extent (kind 3)
  double SheetYMin, SheetYMax;  // sheet extent (kind 4)

 protected:
  // Every field zero (null handles, zero records).
  DeviceDriver()
      : CurPen(), CurBrush(), DispFlags(0), WinHeight(0), WinRect(), pWinDC(0), hTextDC(0),
        hDevDC(0), hPageDC(0), PageYMin(0.0), PageYMax(0.0), SheetYMin(0.0), SheetYMax(0.0) {}
  ~DeviceDriver() {}
};

#endif  // INKLINE_DEVICE_H
