// Label placement: turns features (points, lines, areas) with their labels
// into a collision-free set of placed labels. The engine knows nothing of
// fonts or drawing: the caller measures each label's extent, so collisions
// are tested on the real, possibly turned shape of the text.
#ifndef INKLINE_PLACEMENT_PLACER_H
#define INKLINE_PLACEMENT_PLACER_H

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "placement/geometry.h"

namespace placement {

enum class ShapeKind { kPoint, kLine, kArea };

// A feature's geometry in map units. A point has one part of one point; a
// line one part per line string; an area its outer ring first, then holes.
struct Shape {
  ShapeKind kind = ShapeKind::kPoint;
  std::vector<std::vector<Vec2>> parts;
};

struct Feature {
  std::size_t source = 0;  // the caller's index of the label, handed back
  Shape shape;
  std::string text;      // labels of the same text keep a minimum distance
  char arrangement = 0;  // 1: a vertical column, placed beside its point
  double angle = 0;      // degrees; lines use their own direction instead
  double priority = 0;   // larger first; equal priorities keep input order
  bool fixed = false;    // keeps its given anchor (the shape's first point)
};

// Map units to picture pixels, y up, origin at the picture's lower left.
struct ViewTransform {
  double minx = 0, miny = 0, scale = 1;
  int width = 1024, height = 1024;
  Vec2 ToPixel(Vec2 map) const { return {(map.x - minx) * scale, (map.y - miny) * scale}; }
  Vec2 ToMap(Vec2 pixel) const { return {pixel.x / scale + minx, pixel.y / scale + miny}; }
};

struct Options {
  double offset = 3;               // pixels between a point (or its marker) and the label
  double markerSize = 0;           // pixels; above 0 every placed point gets a square marker
  double sameTextDistance = 0;     // pixels between the centres of labels of one text
  std::vector<Polygon> obstacles;  // map units; any simple polygon
  std::vector<std::vector<Vec2>> obstacleLines;  // map units; no label may cross them
  double straightness = 20;  // degrees a line may bend within a straight stretch
  bool axisBoxes = false;    // test the extents' axis-aligned boxes instead
};

// The extent of a feature's label drawn with its reference point at pixel
// (0, 0) and turned by angle degrees, in pixels; empty when the label cannot
// be measured.
using MeasureFn = std::function<Polygon(const Feature& feature, double angle)>;

enum class DropReason { kNoExtent, kLineTooShort, kOutsideView, kSameTextNearby, kCollision };
constexpr std::size_t kDropReasons = 5;
const char* DropReasonName(DropReason reason);

struct PlacedLabel {
  std::size_t source = 0;
  Vec2 anchor;       // reference point, pixels
  Vec2 mapAnchor;    // reference point, map units
  double angle = 0;  // degrees
  std::string candidate;
  Polygon extent;  // pixels, as tested
};

struct DroppedLabel {
  std::size_t source = 0;
  DropReason reason = DropReason::kCollision;
};

struct Result {
  std::vector<PlacedLabel> placed;    // in placement order
  std::vector<DroppedLabel> dropped;  // in placement order
  std::array<std::size_t, kDropReasons> droppedBy{};
  std::vector<Polygon> markers;  // pixels, of the placed point labels
  std::size_t candidatesTried = 0;
  double seconds = 0;
};

Result Place(const std::vector<Feature>& features, const ViewTransform& view,
             const Options& options, const MeasureFn& measure);

}  // namespace placement

#endif  // INKLINE_PLACEMENT_PLACER_H
