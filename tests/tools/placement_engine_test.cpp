// The placement engine on hand-built cases, with a stand-in measure: every
// label is a box of its text's length, turned by its angle.
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "placement/candidates.h"
#include "placement/placer.h"
#include "placement/pole.h"

namespace {

using placement::DropReason;
using placement::Feature;
using placement::Options;
using placement::Polygon;
using placement::Result;
using placement::ShapeKind;
using placement::Vec2;

constexpr double kCharWidth = 6, kAscent = 10, kDescent = 2;

// A horizontal run from the anchor: kCharWidth a character, kDescent below
// the baseline, kAscent above; a column hangs down from the anchor instead.
Polygon BoxMeasure(const Feature& f, double angle) {
  const double length = kCharWidth * static_cast<double>(f.text.size());
  Polygon box = f.arrangement == 1
                    ? Polygon{{0, -length}, {kAscent, -length}, {kAscent, 0}, {0, 0}}
                    : Polygon{{0, -kDescent}, {length, -kDescent}, {length, kAscent}, {0, kAscent}};
  return placement::Rotated(box, angle);
}

placement::ViewTransform View(int width = 400, int height = 300) {
  return placement::ViewTransform{0, 0, 1, width, height};
}

Feature PointFeature(std::size_t source, double x, double y, const std::string& text,
                     double priority = 0, double angle = 0) {
  Feature f;
  f.source = source;
  f.shape.parts = {{{x, y}}};
  f.text = text;
  f.priority = priority;
  f.angle = angle;
  return f;
}

Result PlaceAll(const std::vector<Feature>& features, const Options& options = {},
                placement::ViewTransform view = View()) {
  return placement::Place(features, view, options, BoxMeasure);
}

Polygon Square(double minx, double miny, double maxx, double maxy) {
  return placement::BoxPolygon(placement::Box{minx, miny, maxx, maxy});
}

TEST(PlacementCandidates, EightPositionsInOrderAroundAPoint) {
  // Each case blocks the positions before the expected one with obstacles
  // at the quadrant or side where they would go.
  const Polygon upperRight = Square(201, 101, 260, 140), upperLeft = Square(140, 101, 199, 140);
  const Polygon lowerRight = Square(201, 60, 260, 99), lowerLeft = Square(140, 60, 199, 99);
  const struct {
    std::vector<Polygon> obstacles;
    const char* expected;
  } cases[] = {
      {{}, "upper-right"},
      {{upperRight}, "upper-left"},
      {{upperRight, upperLeft}, "lower-right"},
      {{upperRight, upperLeft, lowerRight}, "lower-left"},
      // Only a band right of the point is left: the label centred on it.
      {{Square(201, 107, 260, 140), upperLeft, Square(201, 60, 260, 93), lowerLeft}, "right"},
      {{upperRight, lowerRight, Square(140, 107, 199, 140), Square(140, 60, 199, 93)}, "left"},
  };
  for (const auto& c : cases) {
    Options options;
    options.offset = 3;
    options.obstacles = c.obstacles;
    const Result r = PlaceAll({PointFeature(0, 200, 100, "Town")}, options);
    ASSERT_EQ(r.placed.size(), 1u) << c.expected;
    EXPECT_STREQ(r.placed[0].candidate.c_str(), c.expected);
  }
  // A line across the upper right position blocks it as an area would.
  Options crossed;
  crossed.obstacleLines = {{{210, 90}, {230, 130}}, {{150, 60}, {150, 70}, {160, 70}}};
  const Result line = PlaceAll({PointFeature(0, 200, 100, "Town")}, crossed);
  ASSERT_EQ(line.placed.size(), 1u);
  EXPECT_EQ(line.placed[0].candidate, "upper-left");

  // Upper right: the box starts offset right of and above the point.
  const Result r = PlaceAll({PointFeature(0, 200, 100, "Town")});
  const placement::Box b = placement::BoundsOf(r.placed[0].extent);
  EXPECT_DOUBLE_EQ(b.minx, 203);
  EXPECT_DOUBLE_EQ(b.miny, 103);
  EXPECT_DOUBLE_EQ(r.placed[0].anchor.y, 105);  // the baseline above the descent
}

TEST(PlacementCandidates, MarkerIsKeptClearAndCountsInTheGap) {
  Options options;
  options.offset = 2;
  options.markerSize = 6;
  const Result r = PlaceAll({PointFeature(0, 200, 100, "Town")}, options);
  ASSERT_EQ(r.markers.size(), 1u);
  ASSERT_EQ(r.placed.size(), 1u);
  EXPECT_DOUBLE_EQ(placement::BoundsOf(r.placed[0].extent).minx, 205);
  EXPECT_FALSE(placement::ConvexOverlap(r.placed[0].extent, r.markers[0]));
  // Another label may not cover the marker either.
  const Result two =
      PlaceAll({PointFeature(0, 200, 100, "Town", 1), PointFeature(1, 170, 95, "Xy")}, options);
  for (const auto& p : two.placed) EXPECT_FALSE(placement::ConvexOverlap(p.extent, two.markers[0]));
}

TEST(PlacementCandidates, VerticalLabelStandsBesideItsPoint) {
  Feature f = PointFeature(0, 200, 100, "ABCD");
  f.arrangement = 1;
  const Result r = PlaceAll({f});
  ASSERT_EQ(r.placed.size(), 1u);
  EXPECT_EQ(r.placed[0].candidate, "column-right");
  const placement::Box b = placement::BoundsOf(r.placed[0].extent);
  EXPECT_DOUBLE_EQ(b.minx, 203);
  EXPECT_DOUBLE_EQ((b.miny + b.maxy) / 2, 100);  // centred on the point
  EXPECT_DOUBLE_EQ(b.maxy - b.miny, 24);
}

TEST(PlacementCollision, TurnedLabelsFitWhereTheirBoxesWouldNot) {
  // Two long labels at 45 degrees, side by side along their diagonal: their
  // axis-aligned boxes overlap, their real extents do not.
  const std::string text(20, 'x');
  const std::vector<Feature> features = {PointFeature(0, 100, 100, text, 2, 45),
                                         PointFeature(1, 120, 85, text, 1, 45)};
  Options exact;
  exact.offset = 0;
  const Result r = PlaceAll(features, exact);
  ASSERT_EQ(r.placed.size(), 2u);
  EXPECT_EQ(r.placed[1].candidate, "upper-right");
  EXPECT_TRUE(
      placement::BoundsOf(r.placed[0].extent).Overlaps(placement::BoundsOf(r.placed[1].extent)));
  EXPECT_FALSE(placement::ConvexOverlap(r.placed[0].extent, r.placed[1].extent));

  Options boxes = exact;
  boxes.axisBoxes = true;
  const Result b = PlaceAll(features, boxes);
  ASSERT_EQ(b.placed.size(), 2u);
  EXPECT_NE(b.placed[1].candidate, "upper-right");
}

TEST(PlacementPriority, HigherFirstThenFileOrder) {
  // Three labels wanting one spot: the highest priority gets its first
  // choice; of two equal ones the earlier wins the next.
  const std::vector<Feature> features = {PointFeature(0, 200, 100, "Aaaa", 1),
                                         PointFeature(1, 201, 101, "Bbbb", 5),
                                         PointFeature(2, 199, 99, "Cccc", 1)};
  Options options;
  options.sameTextDistance = 0;
  const Result r = PlaceAll(features, options);
  ASSERT_GE(r.placed.size(), 2u);
  EXPECT_EQ(r.placed[0].source, 1u);
  EXPECT_EQ(r.placed[0].candidate, "upper-right");
  EXPECT_EQ(r.placed[1].source, 0u);
}

TEST(PlacementCollision, SameTextKeepsItsDistanceAndLabelsStayInView) {
  Options options;
  options.sameTextDistance = 100;
  const Result r = PlaceAll({PointFeature(0, 100, 100, "Mill"), PointFeature(1, 100, 160, "Mill"),
                             PointFeature(2, 300, 100, "Mill"), PointFeature(3, 398, 299, "Far")},
                            options);
  ASSERT_EQ(r.placed.size(), 3u);
  ASSERT_EQ(r.dropped.size(), 1u);
  EXPECT_EQ(r.dropped[0].source, 1u);
  EXPECT_EQ(r.dropped[0].reason, DropReason::kSameTextNearby);
  // The point at the corner takes the one position inside the picture.
  EXPECT_EQ(r.placed[2].candidate, "lower-left");
  const Result out = PlaceAll({PointFeature(0, 390, 150, std::string(100, 'w'))});
  ASSERT_EQ(out.dropped.size(), 1u);
  EXPECT_EQ(out.dropped[0].reason, DropReason::kOutsideView);
}

TEST(PlacementLine, AlongTheLongestStraightStretchUpright) {
  // A short bend, then a long stretch at 30 degrees drawn right to left: the
  // label follows the stretch and still reads left to right.
  const double a = 30.0 / 180 * 3.141592653589793;
  const Vec2 far{50 + 200 * std::cos(a), 50 + 200 * std::sin(a)};
  Feature f;
  f.shape.kind = ShapeKind::kLine;
  f.shape.parts = {{{far.x + 20, far.y - 30}, far, {50, 50}}};
  f.text = "River";
  Options options;
  options.offset = 2;
  const Result r = PlaceAll({f}, options);
  ASSERT_EQ(r.placed.size(), 1u);
  EXPECT_EQ(r.placed[0].candidate, "line-middle");
  EXPECT_NEAR(r.placed[0].angle, 30, 1e-9);
  // Centred on the stretch's middle, the baseline's middle on the line.
  const Vec2 centre = placement::Centroid(r.placed[0].extent);
  EXPECT_NEAR(centre.x, (far.x + 50) / 2, 1e-9);
  EXPECT_NEAR(centre.y, (far.y + 50) / 2, 1e-9);

  // Only the part of a line inside the picture counts: here its long
  // vertical leg runs mostly outside, so the shorter visible leg wins.
  Feature leaving = f;
  leaving.shape.parts = {{{-300, 150}, {200, 150}, {200, 1000}}};
  const Result v = PlaceAll({leaving});
  ASSERT_EQ(v.placed.size(), 1u);
  EXPECT_EQ(v.placed[0].angle, 0);
  EXPECT_NEAR(placement::Centroid(v.placed[0].extent).x, 100, 1e-9);

  Feature shortLine = f;
  shortLine.source = 1;
  shortLine.shape.parts = {{{10, 10}, {30, 10}}};
  const Result s = PlaceAll({shortLine});
  ASSERT_EQ(s.dropped.size(), 1u);
  EXPECT_EQ(s.dropped[0].reason, DropReason::kLineTooShort);
}

TEST(PlacementArea, InsideAtThePoleOfInaccessibility) {
  // An L whose vertex centroid lies outside it: the label goes to the
  // middle of the thick arm.
  const Polygon ell{{0, 0}, {200, 0}, {200, 60}, {60, 60}, {60, 200}, {0, 200}};
  const Vec2 pole = placement::PoleOfInaccessibility({ell}, 0.5);
  EXPECT_GT(placement::SignedDistance({ell}, pole), 29);
  Feature f;
  f.shape.kind = ShapeKind::kArea;
  f.shape.parts = {ell};
  f.text = "Park";
  const Result r = PlaceAll({f});
  ASSERT_EQ(r.placed.size(), 1u);
  EXPECT_EQ(r.placed[0].candidate, "inside-pole");
  const placement::Box b = placement::BoundsOf(r.placed[0].extent);
  EXPECT_NEAR((b.minx + b.maxx) / 2, pole.x, 1e-9);
  EXPECT_NEAR((b.miny + b.maxy) / 2, pole.y, 1e-9);
  for (const Vec2& v : r.placed[0].extent) EXPECT_TRUE(placement::Contains(ell, v));
  // A hole at the pole pushes it aside.
  const Polygon square = Square(0, 0, 100, 100), hole = Square(30, 30, 70, 70);
  const Vec2 around = placement::PoleOfInaccessibility({square, hole}, 0.5);
  EXPECT_FALSE(placement::Contains(hole, around));
  EXPECT_GT(placement::SignedDistance({square, hole}, around), 14);
}

// Many labels on a small picture, at all angles and both arrangements.
std::vector<Feature> DenseLayer(int n) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> x(0, 1000), y(0, 800);
  std::uniform_int_distribution<int> length(2, 14), angle(-6, 6), column(0, 9);
  std::vector<Feature> features;
  for (int i = 0; i < n; ++i) {
    Feature f = PointFeature(static_cast<std::size_t>(i), x(random), y(random),
                             std::string(static_cast<size_t>(length(random)), 'a'), 0,
                             15.0 * angle(random));
    f.arrangement = column(random) == 0 ? 1 : 0;
    features.push_back(std::move(f));
  }
  return features;
}

TEST(PlacementCollision, DenseLayerHasNoOverlapsAndIsDeterministic) {
  const std::vector<Feature> features = DenseLayer(4000);
  Options options;
  options.markerSize = 3;
  const Result r = PlaceAll(features, options, View(1000, 800));
  ASSERT_GT(r.placed.size(), 500u);
  EXPECT_EQ(r.placed.size() + r.dropped.size(), features.size());
  for (size_t i = 0; i < r.placed.size(); ++i) {
    const Polygon& a = r.placed[i].extent;
    for (const Vec2& v : a) {
      ASSERT_TRUE(v.x >= 0 && v.x <= 1000 && v.y >= 0 && v.y <= 800) << "label " << i;
    }
    for (size_t j = i + 1; j < r.placed.size(); ++j)
      ASSERT_FALSE(placement::ConvexOverlap(a, r.placed[j].extent)) << i << " and " << j;
    for (const Polygon& m : r.markers) ASSERT_FALSE(placement::ConvexOverlap(a, m)) << i;
  }
  const Result again = PlaceAll(features, options, View(1000, 800));
  ASSERT_EQ(again.placed.size(), r.placed.size());
  for (size_t i = 0; i < r.placed.size(); ++i) {
    EXPECT_EQ(again.placed[i].source, r.placed[i].source);
    EXPECT_EQ(again.placed[i].anchor.x, r.placed[i].anchor.x);
    EXPECT_EQ(again.placed[i].anchor.y, r.placed[i].anchor.y);
  }
}

TEST(PlacementGeometry, OverlapTestsSeparateTouchingShapes) {
  const Polygon a = Square(0, 0, 10, 10);
  const struct {
    Polygon b;
    bool overlaps;
  } cases[] = {
      {Square(10, 0, 20, 10), false},                        // shares an edge
      {Square(9.5, 9.5, 20, 20), true},                      // corners overlap
      {placement::Rotated(Square(-3, -3, 3, 3), 45), true},  // turned, centred on a corner
      {placement::Translated(placement::Rotated(Square(-3, -3, 3, 3), 45), {14.3, 5}), false},
      {Square(2, 2, 4, 4), true},  // inside
  };
  for (const auto& c : cases) {
    EXPECT_EQ(placement::ConvexOverlap(a, c.b), c.overlaps);
    EXPECT_EQ(placement::PolygonOverlap(a, c.b), c.overlaps);
  }
  // A concave obstacle whose notch holds the label.
  const Polygon cup{{0, 0}, {30, 0}, {30, 30}, {20, 30}, {20, 10}, {10, 10}, {10, 30}, {0, 30}};
  EXPECT_FALSE(placement::PolygonOverlap(Square(12, 12, 18, 28), cup));
  EXPECT_TRUE(placement::PolygonOverlap(Square(12, 5, 18, 28), cup));
  EXPECT_EQ(placement::ConvexHull({{0, 0}, {2, 0}, {1, 1}, {2, 2}, {0, 2}, {1, 0}}).size(), 4u);
  const placement::Box grown = placement::BoundsOf(placement::Grown(a, 1.5));
  EXPECT_EQ(grown.minx, -1.5);
  EXPECT_EQ(grown.maxy, 11.5);
}

}  // namespace
