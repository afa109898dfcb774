// A uniform grid over the picture holding the shapes already placed, so that
// a candidate is tested only against shapes near it.
#ifndef INKLINE_PLACEMENT_GRID_INDEX_H
#define INKLINE_PLACEMENT_GRID_INDEX_H

#include <cstdint>
#include <vector>

#include "placement/geometry.h"

namespace placement {

class GridIndex {
 public:
  // Covers bounds with square cells of side `cell`; shapes beyond the
  // bounds land in the border cells.
  GridIndex(const Box& bounds, double cell);

  // convex: a label extent or marker (tested by separating axes); otherwise
  // any simple polygon (an obstacle).
  void Insert(Polygon shape, bool convex);

  // True when a convex candidate shares interior with any shape held.
  bool Overlaps(const Polygon& candidate) const;

  std::size_t size() const { return shapes_.size(); }

 private:
  struct Entry {
    Polygon shape;
    Box box;
    bool convex;
  };
  int Column(double x) const;
  int Row(double y) const;

  Box bounds_;
  double cell_;
  int columns_, rows_;
  std::vector<Entry> shapes_;
  std::vector<std::vector<std::uint32_t>> cells_;
  // Which query last looked at each shape, so a shape in many cells is
  // tested once per query.
  mutable std::vector<std::uint32_t> seenBy_;
  mutable std::uint32_t query_ = 0;
};

}  // namespace placement

#endif  // INKLINE_PLACEMENT_GRID_INDEX_H
