#include "placement/candidates.h"

#include <algorithm>
#include <cmath>

#include <inkline/shared/numeric.h>

#include "placement/pole.h"

namespace placement {

namespace {

constexpr double kPolePrecision = 1.0;  // pixels

// The anchor that puts the label's local origin at point + shift, with the
// shift given in the label's own (turned) frame.
Vec2 AnchorAt(Vec2 point, double angle, double sx, double sy) {
  const double a = angle / 180 * shared::kPi, c = std::cos(a), s = std::sin(a);
  return {point.x + sx * c - sy * s, point.y + sx * s + sy * c};
}

double DirectionDegrees(Vec2 from, Vec2 to) {
  return std::atan2(to.y - from.y, to.x - from.x) * 180 / shared::kPi;
}

double TurnBetween(double a, double b) {
  double d = std::fmod(std::fabs(a - b), 360.0);
  return d > 180 ? 360 - d : d;
}

// The part of segment a-b inside the box as parameters t0 <= t1 along it;
// false when none of it is inside.
bool ClipSegment(Vec2 a, Vec2 b, const Box& box, double* t0, double* t1) {
  const Vec2 d = b - a;
  const double p[4] = {-d.x, d.x, -d.y, d.y};
  const double q[4] = {a.x - box.minx, box.maxx - a.x, a.y - box.miny, box.maxy - a.y};
  *t0 = 0;
  *t1 = 1;
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0)
      *t0 = std::max(*t0, t);
    else
      *t1 = std::min(*t1, t);
  }
  return *t0 <= *t1;
}

}  // namespace

std::vector<std::vector<Vec2>> ClipLines(const std::vector<std::vector<Vec2>>& lines,
                                         const Box& box) {
  std::vector<std::vector<Vec2>> out;
  for (const std::vector<Vec2>& line : lines) {
    bool open = false;  // the last part still runs on
    for (size_t i = 1; i < line.size(); ++i) {
      double t0, t1;
      if (!ClipSegment(line[i - 1], line[i], box, &t0, &t1)) {
        open = false;
        continue;
      }
      const Vec2 d = line[i] - line[i - 1];
      if (!open || t0 > 0) out.push_back({line[i - 1] + t0 * d});
      out.back().push_back(line[i - 1] + t1 * d);
      open = t1 == 1;
    }
  }
  return out;
}

LocalBox LocalBoxOf(const Polygon& extent, double angle) {
  const Box b = BoundsOf(Rotated(extent, -angle));
  return {b.minx, b.miny, b.maxx, b.maxy};
}

std::vector<Candidate> PointCandidates(Vec2 point, const LocalBox& box, double angle,
                                       double clearance) {
  const double r = clearance;
  const double right = r - box.x0, left = -r - box.x1, midX = -(box.x0 + box.x1) / 2;
  const double above = r - box.y0, below = -r - box.y1, midY = -(box.y0 + box.y1) / 2;
  const struct {
    const char* name;
    double sx, sy;
  } positions[] = {{"upper-right", right, above}, {"upper-left", left, above},
                   {"lower-right", right, below}, {"lower-left", left, below},
                   {"right", right, midY},        {"left", left, midY},
                   {"above", midX, above},        {"below", midX, below}};
  std::vector<Candidate> out;
  for (const auto& p : positions) out.push_back({p.name, AnchorAt(point, angle, p.sx, p.sy)});
  return out;
}

std::vector<Candidate> ColumnCandidates(Vec2 point, const LocalBox& box, double angle,
                                        double clearance) {
  const double right = clearance - box.x0, left = -clearance - box.x1;
  const double centred = -(box.y0 + box.y1) / 2, hanging = -box.y1, standing = -box.y0;
  const struct {
    const char* name;
    double sx, sy;
  } positions[] = {{"column-right", right, centred},      {"column-left", left, centred},
                   {"column-right-down", right, hanging}, {"column-left-down", left, hanging},
                   {"column-right-up", right, standing},  {"column-left-up", left, standing}};
  std::vector<Candidate> out;
  for (const auto& p : positions) out.push_back({p.name, AnchorAt(point, angle, p.sx, p.sy)});
  return out;
}

Stretch LongestStraightStretch(const std::vector<std::vector<Vec2>>& lines, double straightness) {
  Stretch best;
  for (const std::vector<Vec2>& line : lines) {
    size_t start = 0;
    double startDirection = 0;
    bool open = false;
    for (size_t i = 1; i <= line.size(); ++i) {
      const bool more =
          i < line.size() && !(line[i].x == line[i - 1].x && line[i].y == line[i - 1].y);
      const double direction = more ? DirectionDegrees(line[i - 1], line[i]) : 0;
      if (i < line.size() && !more) continue;  // a repeated point bends nothing
      if (open && (!more || TurnBetween(direction, startDirection) > straightness)) {
        const Vec2 a = line[start], b = line[i - 1];
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        if (length > best.length) best = Stretch{a, b, length};
        open = false;
      }
      if (more && !open) {
        start = i - 1;
        startDirection = direction;
        open = true;
      }
    }
  }
  return best;
}

double UprightAngle(const Stretch& stretch) {
  double a = DirectionDegrees(stretch.start, stretch.end);
  if (a > 90) a -= 180;
  if (a <= -90) a += 180;
  return a;
}

std::vector<Candidate> LineCandidates(const Stretch& stretch, const LocalBox& box, double angle,
                                      double offset) {
  const double labelLength = box.x1 - box.x0;
  if (!(stretch.length > 0) || labelLength > stretch.length) return {};
  // Text reads from the end of the stretch that comes first along the angle.
  const double a = angle / 180 * shared::kPi;
  const Vec2 u{std::cos(a), std::sin(a)};
  const Vec2 d = stretch.end - stretch.start;
  const Vec2 origin = d.x * u.x + d.y * u.y >= 0 ? stretch.start : stretch.end;

  const double along[3] = {0.5, 0.25, 0.75};
  const double across[3] = {-(box.y0 + box.y1) / 2, offset - box.y0, -offset - box.y1};
  static const char* const kNames[3][3] = {
      {"line-middle", "line-middle-above", "line-middle-below"},
      {"line-quarter", "line-quarter-above", "line-quarter-below"},
      {"line-three-quarters", "line-three-quarters-above", "line-three-quarters-below"}};
  std::vector<Candidate> out;
  for (int p = 0; p < 3; ++p) {
    const double centre =
        std::clamp(along[p] * stretch.length, labelLength / 2, stretch.length - labelLength / 2);
    for (int s = 0; s < 3; ++s)
      out.push_back(
          {kNames[p][s], AnchorAt(origin, angle, centre - (box.x0 + box.x1) / 2, across[s])});
  }
  return out;
}

std::vector<Candidate> AreaCandidates(const std::vector<Polygon>& rings, const LocalBox& box,
                                      double angle) {
  if (rings.empty() || rings[0].empty()) return {};
  const Vec2 pole = PoleOfInaccessibility(rings, kPolePrecision);
  const double midX = -(box.x0 + box.x1) / 2, midY = -(box.y0 + box.y1) / 2;
  const double rise = box.y1 - box.y0;
  std::vector<Candidate> out{{"inside-pole", AnchorAt(pole, angle, midX, midY)}};
  const Vec2 centroid = Centroid(rings[0]);
  if (SignedDistance(rings, centroid) > 0 &&
      std::hypot(centroid.x - pole.x, centroid.y - pole.y) > 1)
    out.push_back({"inside-centroid", AnchorAt(centroid, angle, midX, midY)});
  out.push_back({"inside-pole-above", AnchorAt(pole, angle, midX, midY + rise)});
  out.push_back({"inside-pole-below", AnchorAt(pole, angle, midX, midY - rise)});
  return out;
}

}  // namespace placement
