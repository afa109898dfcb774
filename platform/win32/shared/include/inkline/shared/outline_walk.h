// Walking a FreeType outline: its contours as moves, lines and quadratic and
// cubic arcs, in the outline's own units, for whatever the caller builds.
#ifndef INKLINE_SHARED_OUTLINE_WALK_H
#define INKLINE_SHARED_OUTLINE_WALK_H

#include <ft2build.h>
#include FT_OUTLINE_H

namespace shared {

struct OutlinePoint {
  double x;
  double y;
};

// Receives the pieces of an outline in order; every contour starts with
// MoveTo, and FreeType ends each with a piece back to its start.
class OutlineVisitor {
 public:
  virtual void MoveTo(OutlinePoint to) = 0;
  virtual void LineTo(OutlinePoint to) = 0;
  virtual void ConicTo(OutlinePoint control, OutlinePoint to) = 0;
  virtual void CubicTo(OutlinePoint control1, OutlinePoint control2, OutlinePoint to) = 0;

 protected:
  ~OutlineVisitor() = default;
};

// Hands outline's pieces to visitor; false when FreeType cannot walk it.
bool WalkOutline(const FT_Outline& outline, OutlineVisitor* visitor);

}  // namespace shared

#endif  // INKLINE_SHARED_OUTLINE_WALK_H
