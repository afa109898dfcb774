#include <inkline/shared/outline_walk.h>

namespace shared {
namespace {

OutlineVisitor& Visitor(void* user) { return *static_cast<OutlineVisitor*>(user); }
OutlinePoint Point(const FT_Vector* v) {
  return {static_cast<double>(v->x), static_cast<double>(v->y)};
}

int OnMoveTo(const FT_Vector* to, void* user) {
  Visitor(user).MoveTo(Point(to));
  return 0;
}
int OnLineTo(const FT_Vector* to, void* user) {
  Visitor(user).LineTo(Point(to));
  return 0;
}
int OnConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
  Visitor(user).ConicTo(Point(control), Point(to));
  return 0;
}
int OnCubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
  Visitor(user).CubicTo(Point(c1), Point(c2), Point(to));
  return 0;
}

}  // namespace

bool WalkOutline(const FT_Outline& outline, OutlineVisitor* visitor) {
  FT_Outline_Funcs funcs{};
  funcs.move_to = OnMoveTo;
  funcs.line_to = OnLineTo;
  funcs.conic_to = OnConicTo;
  funcs.cubic_to = OnCubicTo;
  funcs.shift = 0;
  funcs.delta = 0;
  FT_Outline copy = outline;  // Decompose takes a non-const outline; it only reads it
  return FT_Outline_Decompose(&copy, &funcs, visitor) == 0;
}

}  // namespace shared
