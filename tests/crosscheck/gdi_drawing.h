// What GDI drew for one annotation, in device pixels (y down): the ink box
// of its text and the points of each outline stroke (PolyDraw). Written as
// text, read back, and compared with another platform's drawing.
#ifndef INKLINE_TESTS_CROSSCHECK_GDI_DRAWING_H
#define INKLINE_TESTS_CROSSCHECK_GDI_DRAWING_H

#include <iosfwd>
#include <string>
#include <vector>

struct InkBox {
  double left = 0, top = 0, right = 0, bottom = 0;
  bool empty = true;
  void Add(double x, double y);
};

// A point of a stroke's path: its type (M move, L line, C Bézier) and place.
struct StrokePoint {
  char type;
  double x, y;
};

struct GdiDrawing {
  std::string name;
  double textTolerance = 1.0;  // pixels; not written
  InkBox text;
  std::vector<std::vector<StrokePoint>> strokes;
};

// One drawing a block: "# name", "text L T R B" (or "text none"), then one
// "stroke Mx,y Cx,y ..." line per stroke.
void WriteDrawings(std::ostream& out, const std::vector<GdiDrawing>& drawings);
std::vector<GdiDrawing> ReadDrawings(std::istream& in);

// The differences between two platforms' drawings of the same annotations,
// one line each; empty when they agree. Text ink may differ by got's
// textTolerance. Strokes are compared point by point through the points
// their paths pass through (move, line and Bézier end points): as many
// figures and points, each of the same type and within strokeTolerance
// pixels. Bézier control points are not compared: Wine raises a glyph's
// quadratic arc to a cubic piece whose control points are the arc's start
// and its own control point, not the exact cubic the portable layer keeps.
std::vector<std::string> Differences(const std::vector<GdiDrawing>& want,
                                     const std::vector<GdiDrawing>& got, double strokeTolerance);

#endif  // INKLINE_TESTS_CROSSCHECK_GDI_DRAWING_H
