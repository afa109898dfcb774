// Plane geometry of label placement, in picture pixels with y up: convex
// polygons (label extents, markers), their boxes, and the intersection tests
// the collision check needs.
#ifndef INKLINE_PLACEMENT_GEOMETRY_H
#define INKLINE_PLACEMENT_GEOMETRY_H

#include <vector>

namespace placement {

struct Vec2 {
  double x = 0, y = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(double k, Vec2 a) { return {k * a.x, k * a.y}; }

// An open ring: the last point does not repeat the first.
using Polygon = std::vector<Vec2>;

struct Box {
  double minx = 0, miny = 0, maxx = 0, maxy = 0;
  bool Overlaps(const Box& o) const {
    return minx < o.maxx && o.minx < maxx && miny < o.maxy && o.miny < maxy;
  }
  bool Inside(const Box& o) const {
    return minx >= o.minx && miny >= o.miny && maxx <= o.maxx && maxy <= o.maxy;
  }
};

Box BoundsOf(const Polygon& p);
Polygon BoxPolygon(const Box& b);
Polygon Translated(const Polygon& p, Vec2 by);
// Turned about the origin by degrees counter-clockwise.
Polygon Rotated(const Polygon& p, double degrees);
Vec2 Centroid(const Polygon& p);  // of the vertices; enough for a convex extent

// The convex hull, counter-clockwise, without repeated or collinear points.
Polygon ConvexHull(std::vector<Vec2> points);

// A convex polygon grown by `by` each way along both axes (its sum with a
// square of side 2 * by).
Polygon Grown(const Polygon& convex, double by);

// True when two convex polygons share interior: separated or merely
// touching polygons do not intersect. Works for either orientation.
bool ConvexOverlap(const Polygon& a, const Polygon& b);

// The same for any simple polygon b (an obstacle), a still convex.
bool PolygonOverlap(const Polygon& convex, const Polygon& b);

// Point in a simple polygon (even-odd rule).
bool Contains(const Polygon& ring, Vec2 p);

}  // namespace placement

#endif  // INKLINE_PLACEMENT_GEOMETRY_H
