// The pole of inaccessibility: the point inside an area farthest from its
// boundary, where a label inside the area has the most room.
#ifndef INKLINE_PLACEMENT_POLE_H
#define INKLINE_PLACEMENT_POLE_H

#include <vector>

#include "placement/geometry.h"

namespace placement {

// Signed distance from p to the area's boundary: positive inside.
double SignedDistance(const std::vector<Polygon>& rings, Vec2 p);

// Found to within `precision` by subdividing square cells, best bound first.
// Rings: outer first, then holes. An empty or degenerate area gives the
// middle of its bounds.
Vec2 PoleOfInaccessibility(const std::vector<Polygon>& rings, double precision);

}  // namespace placement

#endif  // INKLINE_PLACEMENT_POLE_H
