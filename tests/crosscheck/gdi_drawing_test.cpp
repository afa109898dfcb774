// The cross-check's comparison: what it lets pass and what it reports.
#include <sstream>

#include <gtest/gtest.h>

#include "gdi_drawing.h"

namespace {

GdiDrawing Outlined(double shift, bool secondFigure) {
  GdiDrawing d{"outlined", 1.0, {}, {}};
  d.text.Add(10 + shift, 20);
  d.text.Add(40 + shift, 50);
  std::vector<StrokePoint> stroke{{'M', 10 + shift, 20}, {'C', 99, 99}, {'C', 0, 0},
                                  {'C', 40 + shift, 50}, {'L', 10 + shift, 50}};
  if (secondFigure) stroke.push_back({'M', 20 + shift, 30});
  d.strokes.push_back(stroke);
  return d;
}

TEST(GdiDrawingCompare, ReportsWhatLiesBeyondTheTolerance) {
  const struct {
    double shift;       // of the other platform's drawing, pixels
    bool secondFigure;  // the other platform's stroke has one more figure
    double textTolerance;
    size_t differences;
  } cases[] = {{0.0, false, 1.0, 0}, {0.9, false, 1.0, 0}, {1.5, false, 1.0, 2},
               {1.5, false, 2.0, 1},  // the stroke keeps its own tolerance
               {0.0, true, 1.0, 1}};
  for (const auto& c : cases) {
    GdiDrawing got = Outlined(c.shift, c.secondFigure);
    got.textTolerance = c.textTolerance;
    EXPECT_EQ(Differences({Outlined(0, false)}, {got}, 1.0).size(), c.differences)
        << c.shift << " " << c.secondFigure << " " << c.textTolerance;
  }
}

TEST(GdiDrawingCompare, ControlPointsAreNotCompared) {
  GdiDrawing got = Outlined(0, false);
  got.strokes[0][1] = {'C', 0, 0};  // another split of the same curve
  EXPECT_TRUE(Differences({Outlined(0, false)}, {got}, 1.0).empty());
}

// A stroke whose points stay inside the other's box still differs when one
// of them has moved, changed type or been added.
TEST(GdiDrawingCompare, StrokesAgreePointByPoint) {
  const struct {
    size_t at;      // the point changed, or the stroke's size to add one
    StrokePoint p;  // what it becomes
    bool differs;
  } cases[] = {{4, {'L', 11, 50}, false},
               {4, {'L', 12, 50}, true},
               {4, {'M', 10, 50}, true},
               {3, {'L', 40, 50}, true},
               {5, {'L', 20, 30}, true}};
  for (const auto& c : cases) {
    GdiDrawing got = Outlined(0, false);
    std::vector<StrokePoint>& stroke = got.strokes[0];
    if (c.at == stroke.size())
      stroke.push_back(c.p);
    else
      stroke[c.at] = c.p;
    EXPECT_EQ(Differences({Outlined(0, false)}, {got}, 1.0).size(), c.differs ? 1u : 0u)
        << c.at << " " << c.p.type << c.p.x << "," << c.p.y;
  }
}

TEST(GdiDrawingCompare, WrittenDrawingsReadBack) {
  std::stringstream file;
  WriteDrawings(file, {Outlined(0, true), GdiDrawing{"empty", 1.0, {}, {}}});
  const std::vector<GdiDrawing> read = ReadDrawings(file);
  ASSERT_EQ(read.size(), 2u);
  EXPECT_TRUE(Differences({Outlined(0, true)}, {read[0]}, 0.0).empty());
  EXPECT_TRUE(read[1].text.empty);
  EXPECT_TRUE(read[1].strokes.empty());
  // A drawing missing from the other platform is reported.
  EXPECT_FALSE(Differences(read, {read[0]}, 1.0).empty());
}

}  // namespace
