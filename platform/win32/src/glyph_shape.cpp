#include "glyph_shape.h"

namespace gdi {
namespace {

// Collects figures while FreeType walks the outline.
struct FigureBuilder {
  ShapePath path;
  int figureStart = -1;  // index of the open figure's PT_MOVETO, -1 when none
  bool lastWasLine = false;

  const GdiPoint& current() const { return path.points.back(); }

  // Ends the open figure. FreeType closes every contour with a segment back
  // to its start; a closing line is the one PT_CLOSEFIGURE draws, so it goes.
  void CloseFigure() {
    if (figureStart < 0) return;
    const GdiPoint start = path.points[static_cast<size_t>(figureStart)];
    const int last = path.size() - 1;
    if (lastWasLine && last > figureStart + 1 && path.points.back().x == start.x &&
        path.points.back().y == start.y) {
      path.points.pop_back();
      path.types.pop_back();
    }
    if (path.size() - 1 == figureStart) {
      // A lone point outlines nothing.
      path.points.pop_back();
      path.types.pop_back();
    } else {
      path.types.back() |= PT_CLOSEFIGURE;
    }
    figureStart = -1;
  }

  void MoveTo(const FT_Vector* to) {
    CloseFigure();
    figureStart = path.size();
    path.Add(static_cast<double>(to->x), static_cast<double>(to->y), PT_MOVETO);
    lastWasLine = false;
  }

  void LineTo(const FT_Vector* to) {
    path.Add(static_cast<double>(to->x), static_cast<double>(to->y), PT_LINETO);
    lastWasLine = true;
  }

  void CubicTo(double c1x, double c1y, double c2x, double c2y, double x, double y) {
    path.Add(c1x, c1y, PT_BEZIERTO);
    path.Add(c2x, c2y, PT_BEZIERTO);
    path.Add(x, y, PT_BEZIERTO);
    lastWasLine = false;
  }

  // A quadratic arc is the cubic whose control points lie two thirds of the
  // way from each end point towards the quadratic's control point.
  void ConicTo(const FT_Vector* control, const FT_Vector* to) {
    const GdiPoint p0 = current();
    const double qx = static_cast<double>(control->x), qy = static_cast<double>(control->y);
    const double x = static_cast<double>(to->x), y = static_cast<double>(to->y);
    CubicTo(p0.x + 2.0 / 3.0 * (qx - p0.x), p0.y + 2.0 / 3.0 * (qy - p0.y),
            x + 2.0 / 3.0 * (qx - x), y + 2.0 / 3.0 * (qy - y), x, y);
  }
};

FigureBuilder& Builder(void* user) { return *static_cast<FigureBuilder*>(user); }

int OnMoveTo(const FT_Vector* to, void* user) {
  Builder(user).MoveTo(to);
  return 0;
}
int OnLineTo(const FT_Vector* to, void* user) {
  Builder(user).LineTo(to);
  return 0;
}
int OnConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
  Builder(user).ConicTo(control, to);
  return 0;
}
int OnCubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
  Builder(user).CubicTo(static_cast<double>(c1->x), static_cast<double>(c1->y),
                        static_cast<double>(c2->x), static_cast<double>(c2->y),
                        static_cast<double>(to->x), static_cast<double>(to->y));
  return 0;
}

}  // namespace

ShapePath OutlineFigures(const FT_Outline& outline) {
  FT_Outline_Funcs funcs{};
  funcs.move_to = OnMoveTo;
  funcs.line_to = OnLineTo;
  funcs.conic_to = OnConicTo;
  funcs.cubic_to = OnCubicTo;
  funcs.shift = 0;
  funcs.delta = 0;
  FigureBuilder builder;
  FT_Outline copy = outline;  // Decompose takes a non-const outline; it only reads it
  if (FT_Outline_Decompose(&copy, &funcs, &builder) != 0) return ShapePath{};
  builder.CloseFigure();
  return std::move(builder.path);
}

}  // namespace gdi
