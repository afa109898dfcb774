#include "placement/geometry.h"

#include <algorithm>
#include <cmath>

#include <inkline/shared/numeric.h>

namespace placement {

namespace {

// Projections closer than this count as touching, not overlapping: extents
// come in whole pixels, so neighbours often share an edge exactly.
constexpr double kTouch = 1e-7;

double Cross(Vec2 o, Vec2 a, Vec2 b) {
  return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

void Project(const Polygon& p, Vec2 axis, double* lo, double* hi) {
  *lo = *hi = p[0].x * axis.x + p[0].y * axis.y;
  for (const Vec2& v : p) {
    const double d = v.x * axis.x + v.y * axis.y;
    *lo = std::min(*lo, d);
    *hi = std::max(*hi, d);
  }
}

// True when some edge normal of `edges` separates a from b.
bool SeparatedByEdgesOf(const Polygon& edges, const Polygon& a, const Polygon& b) {
  const size_t n = edges.size();
  for (size_t i = 0; i < n; ++i) {
    const Vec2 e = edges[(i + 1) % n] - edges[i];
    const double length = std::hypot(e.x, e.y);
    if (length == 0) continue;
    const Vec2 axis{-e.y / length, e.x / length};
    double aLo, aHi, bLo, bHi;
    Project(a, axis, &aLo, &aHi);
    Project(b, axis, &bLo, &bHi);
    if (aHi <= bLo + kTouch || bHi <= aLo + kTouch) return true;
  }
  return false;
}

bool ProperCrossing(Vec2 a, Vec2 b, Vec2 c, Vec2 d) {
  const double d1 = Cross(c, d, a), d2 = Cross(c, d, b);
  const double d3 = Cross(a, b, c), d4 = Cross(a, b, d);
  return ((d1 > kTouch && d2 < -kTouch) || (d1 < -kTouch && d2 > kTouch)) &&
         ((d3 > kTouch && d4 < -kTouch) || (d3 < -kTouch && d4 > kTouch));
}

// Strictly inside a convex polygon of either orientation.
bool InsideConvex(const Polygon& p, Vec2 v) {
  int sign = 0;
  const size_t n = p.size();
  for (size_t i = 0; i < n; ++i) {
    const double c = Cross(p[i], p[(i + 1) % n], v);
    if (std::fabs(c) <= kTouch) return false;
    const int s = c > 0 ? 1 : -1;
    if (sign != 0 && s != sign) return false;
    sign = s;
  }
  return true;
}

bool OnBoundary(const Polygon& ring, Vec2 v) {
  const size_t n = ring.size();
  for (size_t i = 0; i < n; ++i) {
    const Vec2 a = ring[i], b = ring[(i + 1) % n];
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (std::fabs(Cross(a, b, v)) > kTouch * std::max(1.0, length)) continue;
    if (std::min(a.x, b.x) - kTouch <= v.x && v.x <= std::max(a.x, b.x) + kTouch &&
        std::min(a.y, b.y) - kTouch <= v.y && v.y <= std::max(a.y, b.y) + kTouch)
      return true;
  }
  return false;
}

bool StrictlyInside(const Polygon& ring, Vec2 v) {
  return Contains(ring, v) && !OnBoundary(ring, v);
}

}  // namespace

Box BoundsOf(const Polygon& p) {
  Box b{p[0].x, p[0].y, p[0].x, p[0].y};
  for (const Vec2& v : p) {
    b.minx = std::min(b.minx, v.x);
    b.miny = std::min(b.miny, v.y);
    b.maxx = std::max(b.maxx, v.x);
    b.maxy = std::max(b.maxy, v.y);
  }
  return b;
}

Polygon BoxPolygon(const Box& b) {
  return {{b.minx, b.miny}, {b.maxx, b.miny}, {b.maxx, b.maxy}, {b.minx, b.maxy}};
}

Polygon Translated(const Polygon& p, Vec2 by) {
  Polygon out;
  out.reserve(p.size());
  for (const Vec2& v : p) out.push_back(v + by);
  return out;
}

Polygon Rotated(const Polygon& p, double degrees) {
  const double a = degrees / 180 * shared::kPi, c = std::cos(a), s = std::sin(a);
  Polygon out;
  out.reserve(p.size());
  for (const Vec2& v : p) out.push_back({v.x * c - v.y * s, v.x * s + v.y * c});
  return out;
}

Vec2 Centroid(const Polygon& p) {
  Vec2 sum;
  for (const Vec2& v : p) sum = sum + v;
  return (1.0 / static_cast<double>(p.size())) * sum;
}

Polygon ConvexHull(std::vector<Vec2> points) {
  std::sort(points.begin(), points.end(),
            [](Vec2 a, Vec2 b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
  points.erase(std::unique(points.begin(), points.end(),
                           [](Vec2 a, Vec2 b) { return a.x == b.x && a.y == b.y; }),
               points.end());
  if (points.size() < 3) return points;
  // Monotone chain: lower hull left to right, then upper hull back.
  Polygon hull(2 * points.size());
  size_t k = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    while (k >= 2 && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  for (size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
    while (k >= lower && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  hull.resize(k - 1);
  return hull;
}

Polygon Grown(const Polygon& convex, double by) {
  std::vector<Vec2> corners;
  corners.reserve(4 * convex.size());
  for (const Vec2& v : convex)
    for (const Vec2 d : {Vec2{-by, -by}, Vec2{by, -by}, Vec2{by, by}, Vec2{-by, by}})
      corners.push_back(v + d);
  return ConvexHull(std::move(corners));
}

bool ConvexOverlap(const Polygon& a, const Polygon& b) {
  if (a.size() < 3 || b.size() < 3) return false;
  return !SeparatedByEdgesOf(a, a, b) && !SeparatedByEdgesOf(b, a, b);
}

bool PolygonOverlap(const Polygon& convex, const Polygon& b) {
  if (convex.size() < 3 || b.size() < 3) return false;
  const size_t n = convex.size(), m = b.size();
  for (size_t i = 0; i < n; ++i)
    for (size_t j = 0; j < m; ++j)
      if (ProperCrossing(convex[i], convex[(i + 1) % n], b[j], b[(j + 1) % m])) return true;
  if (StrictlyInside(b, Centroid(convex))) return true;
  for (const Vec2& v : convex)
    if (StrictlyInside(b, v)) return true;
  for (const Vec2& v : b)
    if (InsideConvex(convex, v)) return true;
  return false;
}

bool Contains(const Polygon& ring, Vec2 p) {
  bool inside = false;
  const size_t n = ring.size();
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    const Vec2 a = ring[i], b = ring[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
      inside = !inside;
  }
  return inside;
}

}  // namespace placement
