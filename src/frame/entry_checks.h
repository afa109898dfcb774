// The numbers the drawing entries accept. Every public entry checks its
// coordinates, sizes, angles, spacing and scales, and their scaled products,
// before it changes anything or draws: a value that is not finite or lies far
// outside any picture draws nothing, so no NaN, infinity or overflowing
// integer conversion ever reaches a device.
#ifndef INKLINE_SRC_FRAME_ENTRY_CHECKS_H
#define INKLINE_SRC_FRAME_ENTRY_CHECKS_H

#include <inkline/map_string.h>

namespace entry_checks {

// Device coordinates: far beyond any picture, yet sums of a few of them and
// of sizes still fit a 32-bit integer.
constexpr double kMaxCoordinate = 1e8;
// Character heights and widths, spacing, box factors and pen widths, in
// device units.
constexpr double kMaxSize = 1e6;
// Angles in degrees; larger ones have lost every fraction of a turn.
constexpr double kMaxAngle = 1e9;

// The numbers of one plain string, as StringOut or DispString get them.
struct StringNumbers {
  double X, Y;
  double Height, Width;
  double Angle, Space;
  double Extra;  // box factor, or outline width in screen pixels
};

// StringOut: sizes in host units, made device units by `scale`; the outline
// and decoration widths by `thirdScale`.
bool AcceptStringOut(const StringNumbers& n, double scale, double thirdScale);
// DispString: everything already in device units.
bool AcceptDispString(const StringNumbers& n);
// SetFont: the size a font is selected for. Its angle needs no check: SetFont
// folds every angle into one turn and an infinite one to 0.
bool AcceptFont(double height, double width);
// Inkline: where one glyph goes and its four axis factors.
bool AcceptGlyph(double x, double y, double a1, double a2, double a3, double a4);
// HTMLStringOut: the box the text is laid out in.
bool AcceptBox(const D_RECT& box);

// The design grid glyphs are placed on: the one the last string set, or,
// before any string, the one of the installed library's type.
double DesignGridOf(const CMapString& s);

}  // namespace entry_checks

#endif  // INKLINE_SRC_FRAME_ENTRY_CHECKS_H
