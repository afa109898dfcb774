// Where a label may go, best first, as cartographers rank the positions.
// Every candidate is an anchor for the label's reference point (pixels);
// the label's extent, measured with its reference point at the origin and
// turned by its angle, is moved there.
#ifndef INKLINE_PLACEMENT_CANDIDATES_H
#define INKLINE_PLACEMENT_CANDIDATES_H

#include <string>
#include <vector>

#include "placement/geometry.h"

namespace placement {

struct Candidate {
  const char* name;
  Vec2 anchor;
};

// The label's box in its own frame (its extent turned back by its angle).
struct LocalBox {
  double x0, y0, x1, y1;
};
LocalBox LocalBoxOf(const Polygon& extent, double angle);

// Around a point: upper right, upper left, lower right, lower left, right,
// left, above, below; `clearance` is the gap from the point to the label.
std::vector<Candidate> PointCandidates(Vec2 point, const LocalBox& box, double angle,
                                       double clearance);

// A vertical column beside a point: right or left, centred on the point,
// hanging from it, or standing on it.
std::vector<Candidate> ColumnCandidates(Vec2 point, const LocalBox& box, double angle,
                                        double clearance);

// The parts of lines inside a box: a line leaving and re-entering it gives
// one part for each visit.
std::vector<std::vector<Vec2>> ClipLines(const std::vector<std::vector<Vec2>>& lines,
                                         const Box& box);

// The longest stretch of a line that stays within `straightness` degrees of
// its first direction; its direction is from start to end.
struct Stretch {
  Vec2 start, end;
  double length = 0;
};
Stretch LongestStraightStretch(const std::vector<std::vector<Vec2>>& lines, double straightness);

// The stretch's angle turned so that text along it reads upright.
double UprightAngle(const Stretch& stretch);

// Along a stretch at angle: centred, then at a quarter and three quarters;
// on the line, above it and below it. Empty when the label is longer than
// the stretch.
std::vector<Candidate> LineCandidates(const Stretch& stretch, const LocalBox& box, double angle,
                                      double offset);

// Inside an area (outer ring first, then holes, pixels): centred on the pole
// of inaccessibility, on the centroid when it lies inside, then above and
// below the pole.
std::vector<Candidate> AreaCandidates(const std::vector<Polygon>& rings, const LocalBox& box,
                                      double angle);

}  // namespace placement

#endif  // INKLINE_PLACEMENT_CANDIDATES_H
