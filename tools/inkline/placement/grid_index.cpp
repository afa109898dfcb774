#include "placement/grid_index.h"

#include <algorithm>
#include <cmath>

namespace placement {

namespace {
constexpr int kMaxCellsPerSide = 2048;
}

GridIndex::GridIndex(const Box& bounds, double cell) : bounds_(bounds) {
  const double longer = std::max(bounds.maxx - bounds.minx, bounds.maxy - bounds.miny);
  cell_ = std::max({cell, longer / kMaxCellsPerSide, 1e-9});
  columns_ = std::max(1, static_cast<int>(std::ceil((bounds.maxx - bounds.minx) / cell_)));
  rows_ = std::max(1, static_cast<int>(std::ceil((bounds.maxy - bounds.miny) / cell_)));
  cells_.resize(static_cast<size_t>(columns_) * static_cast<size_t>(rows_));
}

int GridIndex::Column(double x) const {
  const double c = std::floor((x - bounds_.minx) / cell_);
  return static_cast<int>(std::clamp(c, 0.0, static_cast<double>(columns_ - 1)));
}

int GridIndex::Row(double y) const {
  const double r = std::floor((y - bounds_.miny) / cell_);
  return static_cast<int>(std::clamp(r, 0.0, static_cast<double>(rows_ - 1)));
}

void GridIndex::Insert(Polygon shape, bool convex) {
  if (shape.empty()) return;
  const Box box = BoundsOf(shape);
  const auto id = static_cast<std::uint32_t>(shapes_.size());
  shapes_.push_back(Entry{std::move(shape), box, convex});
  seenBy_.push_back(0);
  for (int r = Row(box.miny); r <= Row(box.maxy); ++r)
    for (int c = Column(box.minx); c <= Column(box.maxx); ++c)
      cells_[static_cast<size_t>(r) * columns_ + c].push_back(id);
}

bool GridIndex::Overlaps(const Polygon& candidate) const {
  if (candidate.empty()) return false;
  const Box box = BoundsOf(candidate);
  if (++query_ == 0) {  // the stamp wrapped: forget every old one
    std::fill(seenBy_.begin(), seenBy_.end(), 0);
    query_ = 1;
  }
  for (int r = Row(box.miny); r <= Row(box.maxy); ++r) {
    for (int c = Column(box.minx); c <= Column(box.maxx); ++c) {
      for (const std::uint32_t id : cells_[static_cast<size_t>(r) * columns_ + c]) {
        if (seenBy_[id] == query_) continue;
        seenBy_[id] = query_;
        const Entry& e = shapes_[id];
        if (!e.box.Overlaps(box)) continue;
        if (e.convex ? ConvexOverlap(candidate, e.shape) : PolygonOverlap(candidate, e.shape))
          return true;
      }
    }
  }
  return false;
}

}  // namespace placement
