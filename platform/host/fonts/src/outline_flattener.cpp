// Flattening by uniform subdivision: for a curve with second derivative of at
// most M, n straight pieces stay within M / (8 n^2) of it, so n follows from
// the tolerance.
#include "outline_flattener.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxPieces = 256;

struct Point {
  double x;
  double y;
};

struct Flattener {
  DesignTransform transform;
  double tolerance;
  FlatOutline* out;
  Point current{0, 0};
  Point start{0, 0};
  size_t contourStart = 0;  // index of the contour's first point in out->points / 2
  bool open = false;

  Point Map(const FT_Vector* v) const {
    return {static_cast<double>(v->x) * transform.scale,
            static_cast<double>(v->y) * transform.scale + transform.shiftY};
  }
  void Add(Point p) {
    out->points.push_back(p.x);
    out->points.push_back(p.y);
    current = p;
  }
  void Close() {
    if (!open) return;
    if (current.x != start.x || current.y != start.y) Add(start);
    out->sizes.push_back(static_cast<int>(out->points.size() / 2 - contourStart));
    open = false;
  }
  int Pieces(double bend) const {
    const double n = std::ceil(std::sqrt(bend / (8.0 * tolerance)));
    return std::clamp(static_cast<int>(std::isfinite(n) ? n : 1.0), 1, kMaxPieces);
  }
};

Flattener& Of(void* user) { return *static_cast<Flattener*>(user); }

int MoveTo(const FT_Vector* to, void* user) {
  Flattener& f = Of(user);
  f.Close();
  f.contourStart = f.out->points.size() / 2;
  f.start = f.Map(to);
  f.Add(f.start);
  f.open = true;
  return 0;
}

int LineTo(const FT_Vector* to, void* user) {
  Of(user).Add(Of(user).Map(to));
  return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
  Flattener& f = Of(user);
  const Point p0 = f.current, p1 = f.Map(control), p2 = f.Map(to);
  // B'' = 2 (p0 - 2 p1 + p2)
  const double bend = 2.0 * std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y);
  const int n = f.Pieces(bend);
  for (int i = 1; i <= n; ++i) {
    const double t = static_cast<double>(i) / n, u = 1.0 - t;
    f.Add({u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x,
           u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y});
  }
  return 0;
}

int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
  Flattener& f = Of(user);
  const Point p0 = f.current, p1 = f.Map(c1), p2 = f.Map(c2), p3 = f.Map(to);
  // |B''| <= 6 max(|p0 - 2 p1 + p2|, |p1 - 2 p2 + p3|)
  const double bend = 6.0 * std::max(std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y),
                                     std::hypot(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y));
  const int n = f.Pieces(bend);
  for (int i = 1; i <= n; ++i) {
    const double t = static_cast<double>(i) / n, u = 1.0 - t;
    const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    f.Add({a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
  }
  return 0;
}

}  // namespace

void FlattenOutline(const FT_Outline& outline, const DesignTransform& transform,
                    double tolerance, FlatOutline* out) {
  out->points.clear();
  out->sizes.clear();
  Flattener f{transform, tolerance > 0 ? tolerance : 1e-3, out};
  FT_Outline_Funcs funcs{};
  funcs.move_to = MoveTo;
  funcs.line_to = LineTo;
  funcs.conic_to = ConicTo;
  funcs.cubic_to = CubicTo;
  FT_Outline copy = outline;  // the decomposer takes a non-const outline
  FT_Outline_Decompose(&copy, &funcs, &f);
  f.Close();
}
