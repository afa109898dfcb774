#include "placement/placer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numeric>
#include <unordered_map>

#include "placement/candidates.h"
#include "placement/grid_index.h"

namespace placement {

namespace {

constexpr double kCellPixels = 64;

// How far a candidate got through the checks; a dropped label is dropped
// for the check its best candidate failed.
enum Stage { kInView = 0, kApartFromSameText = 1, kFree = 2 };

DropReason ReasonFor(int stage) {
  switch (stage) {
    case kInView:
      return DropReason::kOutsideView;
    case kApartFromSameText:
      return DropReason::kSameTextNearby;
    default:
      return DropReason::kCollision;
  }
}

std::vector<Polygon> ToPixels(const std::vector<std::vector<Vec2>>& parts,
                              const ViewTransform& view) {
  std::vector<Polygon> out;
  for (const auto& part : parts) {
    Polygon p;
    p.reserve(part.size());
    for (const Vec2& v : part) p.push_back(view.ToPixel(v));
    out.push_back(std::move(p));
  }
  return out;
}

// Centres of the labels placed so far, by text.
class SameTextCentres {
 public:
  explicit SameTextCentres(double distance) : distance_(distance) {}
  bool TooClose(const std::string& text, Vec2 centre) const {
    if (!(distance_ > 0)) return false;
    const auto it = centres_.find(text);
    if (it == centres_.end()) return false;
    for (const Vec2& c : it->second)
      if (std::hypot(c.x - centre.x, c.y - centre.y) < distance_) return true;
    return false;
  }
  void Add(const std::string& text, Vec2 centre) {
    if (distance_ > 0) centres_[text].push_back(centre);
  }

 private:
  double distance_;
  std::unordered_map<std::string, std::vector<Vec2>> centres_;
};

struct Layout {
  double angle = 0;
  Polygon extent;  // at the origin
  std::vector<Candidate> candidates;
  bool tooShort = false;
};

// The label's angle, its measured extent and its candidates, best first.
Layout LayOut(const Feature& f, const ViewTransform& view, const Options& options,
              const MeasureFn& measure) {
  Layout l;
  l.angle = f.angle;
  const std::vector<Polygon> parts = ToPixels(f.shape.parts, view);
  if (parts.empty() || parts[0].empty()) return l;
  const bool line = f.shape.kind == ShapeKind::kLine;
  Stretch stretch;
  if (line) {
    // Only what the picture shows of the line can carry its label.
    const Box picture{0, 0, static_cast<double>(view.width), static_cast<double>(view.height)};
    stretch = LongestStraightStretch(ClipLines(parts, picture), options.straightness);
    if (f.arrangement == 0) l.angle = UprightAngle(stretch);
  }
  l.extent = measure(f, l.angle);
  if (l.extent.size() < 3) return l;
  // Candidates come from the real extent in either mode, so that the two
  // modes differ only in the shape they test.
  const LocalBox box = LocalBoxOf(l.extent, l.angle);
  if (options.axisBoxes) l.extent = BoxPolygon(BoundsOf(l.extent));
  const double clearance = options.offset + std::max(0.0, options.markerSize) / 2;

  if (f.fixed) {
    l.candidates = {{"given", parts[0][0]}};
  } else if (line && f.arrangement == 0) {
    l.candidates = LineCandidates(stretch, box, l.angle, options.offset);
    l.tooShort = l.candidates.empty();
  } else if (f.shape.kind == ShapeKind::kArea) {
    l.candidates = AreaCandidates(parts, box, l.angle);
  } else {
    // A point, or a column label of a line beside its straightest stretch.
    const Vec2 at = line ? 0.5 * (stretch.start + stretch.end) : parts[0][0];
    l.candidates = f.arrangement == 1 ? ColumnCandidates(at, box, l.angle, clearance)
                                      : PointCandidates(at, box, l.angle, clearance);
  }
  return l;
}

void AddObstacles(const Options& options, const ViewTransform& view, GridIndex& index) {
  for (const Polygon& o : options.obstacles) {
    Polygon p;
    for (const Vec2& v : o) p.push_back(view.ToPixel(v));
    if (p.size() >= 3) index.Insert(std::move(p), false);
  }
  // A line becomes a ring running along it and back: it encloses nothing,
  // so only crossing it or holding a point of it counts as covering it.
  for (const std::vector<Vec2>& line : options.obstacleLines) {
    Polygon ring;
    for (const Vec2& v : line) ring.push_back(view.ToPixel(v));
    for (size_t i = line.size() - 1; i-- > 1;) ring.push_back(view.ToPixel(line[i]));
    if (line.size() == 2) ring.push_back(ring[0]);
    if (line.size() >= 2) index.Insert(std::move(ring), false);
  }
}

// The square marking a point feature's point, or none.
Polygon MarkerOf(const Feature& f, const ViewTransform& view, const Options& options) {
  if (!(options.markerSize > 0) || f.shape.kind != ShapeKind::kPoint || f.fixed ||
      f.shape.parts.empty() || f.shape.parts[0].empty())
    return {};
  const double h = options.markerSize / 2;
  const Vec2 p = view.ToPixel(f.shape.parts[0][0]);
  return BoxPolygon(Box{p.x - h, p.y - h, p.x + h, p.y + h});
}

std::vector<std::size_t> PriorityOrder(const std::vector<Feature>& features) {
  std::vector<std::size_t> order(features.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return features[a].priority > features[b].priority;
  });
  return order;
}

}  // namespace

const char* DropReasonName(DropReason reason) {
  switch (reason) {
    case DropReason::kNoExtent:
      return "no extent";
    case DropReason::kLineTooShort:
      return "line too short";
    case DropReason::kOutsideView:
      return "outside view";
    case DropReason::kSameTextNearby:
      return "same text nearby";
    case DropReason::kCollision:
      return "collision";
  }
  return "unknown";
}

namespace {

// The state of one placement run: what is placed so far and where.
class Placer {
 public:
  Placer(const ViewTransform& view, const Options& options)
      : view_(view),
        options_(options),
        picture_{0, 0, static_cast<double>(view.width), static_cast<double>(view.height)},
        index_(picture_, kCellPixels),
        sameText_(options.sameTextDistance) {
    AddObstacles(options, view, index_);
  }

  void PlaceOne(const Feature& f, const MeasureFn& measure) {
    const Layout l = LayOut(f, view_, options_, measure);
    if (l.extent.size() < 3) return Drop(f, DropReason::kNoExtent);
    if (l.tooShort) return Drop(f, DropReason::kLineTooShort);
    // A point is marked only together with its label, and its marker may
    // not cover what was placed before it.
    const Polygon marker = MarkerOf(f, view_, options_);
    if (!marker.empty() && index_.Overlaps(marker)) return Drop(f, DropReason::kCollision);
    int reached = kInView;
    for (const Candidate& c : l.candidates) {
      ++result_.candidatesTried;
      Polygon shape = Translated(l.extent, c.anchor);
      if (!BoundsOf(shape).Inside(picture_)) continue;
      const Vec2 centre = Centroid(shape);
      if (sameText_.TooClose(f.text, centre)) {
        reached = std::max<int>(reached, kApartFromSameText);
        continue;
      }
      if (index_.Overlaps(shape) || (!marker.empty() && ConvexOverlap(shape, marker))) {
        reached = kFree;
        continue;
      }
      sameText_.Add(f.text, centre);
      index_.Insert(shape, true);
      if (!marker.empty()) {
        index_.Insert(marker, true);
        result_.markers.push_back(marker);
      }
      result_.placed.push_back(
          {f.source, c.anchor, view_.ToMap(c.anchor), l.angle, c.name, std::move(shape)});
      return;
    }
    Drop(f, ReasonFor(reached));
  }

  Result Take() { return std::move(result_); }

 private:
  void Drop(const Feature& f, DropReason reason) {
    result_.dropped.push_back({f.source, reason});
    ++result_.droppedBy[static_cast<std::size_t>(reason)];
  }

  const ViewTransform& view_;
  const Options& options_;
  Box picture_;
  GridIndex index_;
  SameTextCentres sameText_;
  Result result_;
};

}  // namespace

Result Place(const std::vector<Feature>& features, const ViewTransform& view,
             const Options& options, const MeasureFn& measure) {
  const auto start = std::chrono::steady_clock::now();
  Placer placer(view, options);
  for (const std::size_t i : PriorityOrder(features)) placer.PlaceOne(features[i], measure);
  Result result = placer.Take();
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return result;
}

}  // namespace placement
