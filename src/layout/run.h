// The values the engine passes instead of loose argument lists: what a run
// of text is, how it is drawn, and the string object and device it is drawn
// with.
#ifndef INKLINE_SRC_LAYOUT_RUN_H
#define INKLINE_SRC_LAYOUT_RUN_H

#include <inkline/map_string.h>

#include "layout/device_view.h"

namespace layout {

struct Vec {
  double x;
  double y;
};

inline Vec operator+(Vec a, Vec b) { return Vec{a.x + b.x, a.y + b.y}; }
inline Vec operator*(double k, Vec v) { return Vec{k * v.x, k * v.y}; }

// What a run is: its text, where its baseline starts, its character size,
// the baseline's angle in degrees, the extra space after each character, and
// 0 for a horizontal line or any other value for a column.
struct Run {
  char* text;
  Vec origin;
  double height;
  double width;
  double angle;
  double space;
  char arrangement;

  // The same run with another text, origin and size.
  Run Piece(char* pieceText, Vec at, double h, double w) const {
    return Run{pieceText, at, h, w, angle, space, arrangement};
  }
};

// How a run is drawn: its font number, the style number (low byte of the
// style word), the three line switches (each counts only as 1), and the
// colour and size factor of a background box (none unless both are above 0).
struct RunStyle {
  short fontNo;
  short style;
  short bold;
  short underline;
  short strikeOut;
  short color;
  double boxScale;
};

// The string object one entry call draws with and the view of its device.
struct DrawContext {
  CMapString& s;
  DeviceView device;
};

inline DrawContext ContextOf(CMapString& s) { return DrawContext{s, ViewOf(s.Driver, s.DeviceType)}; }

}  // namespace layout

#endif  // INKLINE_SRC_LAYOUT_RUN_H
