#include "placement/pole.h"

#include <algorithm>
#include <cmath>
#include <queue>

namespace placement {

namespace {

constexpr int kMaxCells = 20000;  // a bound for degenerate input

double SegmentDistanceSquared(Vec2 p, Vec2 a, Vec2 b) {
  Vec2 d = b - a;
  const double lengthSquared = d.x * d.x + d.y * d.y;
  double t = 0;
  if (lengthSquared > 0)
    t = std::clamp(((p.x - a.x) * d.x + (p.y - a.y) * d.y) / lengthSquared, 0.0, 1.0);
  const Vec2 nearest = a + t * d;
  return (p.x - nearest.x) * (p.x - nearest.x) + (p.y - nearest.y) * (p.y - nearest.y);
}

// A square cell: its centre, half its side, and the distance of its centre.
struct Cell {
  Vec2 centre;
  double half = 0;
  double distance = 0;
  // No point of the cell can be farther from the boundary than this.
  double Bound() const { return distance + half * std::sqrt(2.0); }
};

Cell MakeCell(const std::vector<Polygon>& rings, Vec2 centre, double half) {
  return Cell{centre, half, SignedDistance(rings, centre)};
}

// The area-weighted centroid of the outer ring, a good first guess.
Vec2 RingCentroid(const Polygon& ring) {
  double area = 0, cx = 0, cy = 0;
  for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
    const double f = ring[j].x * ring[i].y - ring[i].x * ring[j].y;
    area += f;
    cx += (ring[j].x + ring[i].x) * f;
    cy += (ring[j].y + ring[i].y) * f;
  }
  if (area == 0) return ring[0];
  return {cx / (3 * area), cy / (3 * area)};
}

}  // namespace

double SignedDistance(const std::vector<Polygon>& rings, Vec2 p) {
  bool inside = false;
  double best = INFINITY;
  for (const Polygon& ring : rings) {
    if (ring.empty()) continue;
    if (Contains(ring, p)) inside = !inside;
    for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++)
      best = std::min(best, SegmentDistanceSquared(p, ring[j], ring[i]));
  }
  const double d = std::sqrt(best);
  return inside ? d : -d;
}

Vec2 PoleOfInaccessibility(const std::vector<Polygon>& rings, double precision) {
  if (rings.empty() || rings[0].empty()) return Vec2{};
  if (rings[0].size() < 3) return rings[0][0];
  const Box b = BoundsOf(rings[0]);
  const double side = std::min(b.maxx - b.minx, b.maxy - b.miny);
  if (!(side > 0)) return {(b.minx + b.maxx) / 2, (b.miny + b.maxy) / 2};

  const auto lessPromising = [](const Cell& a, const Cell& c) { return a.Bound() < c.Bound(); };
  std::priority_queue<Cell, std::vector<Cell>, decltype(lessPromising)> queue(lessPromising);
  const double half = side / 2;
  for (double x = b.minx; x < b.maxx; x += side)
    for (double y = b.miny; y < b.maxy; y += side)
      queue.push(MakeCell(rings, {x + half, y + half}, half));

  Cell best = MakeCell(rings, RingCentroid(rings[0]), 0);
  const Cell middle = MakeCell(rings, {(b.minx + b.maxx) / 2, (b.miny + b.maxy) / 2}, 0);
  if (middle.distance > best.distance) best = middle;

  for (int made = 0; !queue.empty() && made < kMaxCells;) {
    const Cell cell = queue.top();
    queue.pop();
    if (cell.distance > best.distance) best = cell;
    if (cell.Bound() - best.distance <= precision) continue;
    const double h = cell.half / 2;
    for (const Vec2 d : {Vec2{-h, -h}, Vec2{h, -h}, Vec2{-h, h}, Vec2{h, h}})
      queue.push(MakeCell(rings, cell.centre + d, h));
    made += 4;
  }
  return best.centre;
}

}  // namespace placement
