#include "glyph_shape.h"

#include <inkline/shared/outline_walk.h>

namespace gdi {
namespace {

// Collects figures while the outline is walked.
class FigureBuilder : public shared::OutlineVisitor {
 public:
  // Ends the open figure. FreeType closes every contour with a segment back
  // to its start; a closing line is the one PT_CLOSEFIGURE draws, so it goes.
  void CloseFigure() {
    if (figureStart_ < 0) return;
    const GdiPoint start = path_.points[static_cast<size_t>(figureStart_)];
    const int last = path_.size() - 1;
    if (lastWasLine_ && last > figureStart_ + 1 && path_.points.back().x == start.x &&
        path_.points.back().y == start.y) {
      path_.points.pop_back();
      path_.types.pop_back();
    }
    if (path_.size() - 1 == figureStart_) {
      // A lone point outlines nothing.
      path_.points.pop_back();
      path_.types.pop_back();
    } else {
      path_.types.back() |= PT_CLOSEFIGURE;
    }
    figureStart_ = -1;
  }

  void MoveTo(shared::OutlinePoint to) override {
    CloseFigure();
    figureStart_ = path_.size();
    path_.Add(to.x, to.y, PT_MOVETO);
    lastWasLine_ = false;
  }

  void LineTo(shared::OutlinePoint to) override {
    path_.Add(to.x, to.y, PT_LINETO);
    lastWasLine_ = true;
  }

  void CubicTo(shared::OutlinePoint c1, shared::OutlinePoint c2,
               shared::OutlinePoint to) override {
    path_.Add(c1.x, c1.y, PT_BEZIERTO);
    path_.Add(c2.x, c2.y, PT_BEZIERTO);
    path_.Add(to.x, to.y, PT_BEZIERTO);
    lastWasLine_ = false;
  }

  // A quadratic arc is the cubic whose control points lie two thirds of the
  // way from each end point towards the quadratic's control point.
  void ConicTo(shared::OutlinePoint q, shared::OutlinePoint to) override {
    const GdiPoint p0 = path_.points.back();
    CubicTo({p0.x + 2.0 / 3.0 * (q.x - p0.x), p0.y + 2.0 / 3.0 * (q.y - p0.y)},
            {to.x + 2.0 / 3.0 * (q.x - to.x), to.y + 2.0 / 3.0 * (q.y - to.y)}, to);
  }

  ShapePath Take() { return std::move(path_); }

 private:
  ShapePath path_;
  int figureStart_ = -1;  // index of the open figure's PT_MOVETO, -1 when none
  bool lastWasLine_ = false;
};

}  // namespace

ShapePath OutlineFigures(const FT_Outline& outline) {
  FigureBuilder builder;
  if (!shared::WalkOutline(outline, &builder)) return ShapePath{};
  builder.CloseFigure();
  return builder.Take();
}

}  // namespace gdi
