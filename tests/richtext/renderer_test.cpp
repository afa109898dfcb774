// The rich-text renderer: style tags and their stacks, the body fill, the
// scale rule, raised and lowered runs, and how the three flushes place runs.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "richtext/richtext_support.h"

namespace {

using richtext_test::DrawnRun;
using richtext_test::DrivenRenderer;
using richtext_test::kFontThreePoints;
using richtext_test::kFontZeroPoints;
using richtext_test::RichBench;

constexpr int kBlack = 1;  // colour numbers of the default palette
constexpr int kWhite = 8;
constexpr char kDefaultFace[] = "\xCB\xCE\xCC\xE5";

const D_RECT kWideBox{0, 100, 1000, 1100};  // left 0, top 100, 1000 by 1000

struct Origin {
  double x, y, height;
};

// Where each run starts: the lower-left corner of its first glyph in a line,
// the upper-left corner in a column.
std::vector<Origin> Origins(const std::vector<DrawnRun>& runs, bool vertical) {
  std::vector<Origin> out;
  for (const DrawnRun& run : runs) {
    if (run.glyphs.empty()) continue;
    const auto& g = run.glyphs[0];
    out.push_back(Origin{g.x, vertical ? g.y + g.height : g.y, g.height});
  }
  return out;
}

void ExpectOrigins(const std::vector<Origin>& got, const std::vector<Origin>& want,
                   const std::string& what) {
  ASSERT_EQ(got.size(), want.size()) << what;
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_NEAR(got[i].x, want[i].x, 1e-9) << what << " run " << i;
    EXPECT_NEAR(got[i].y, want[i].y, 1e-9) << what << " run " << i;
    EXPECT_NEAR(got[i].height, want[i].height, 1e-9) << what << " run " << i;
  }
}

// One run AB of font 3 in colour 5 at size 12, drawn at the end one size
// below the top; sizes and the box follow the device's scale rule, the
// spacing is passed as written.
TEST(RichTextRenderer, BodyAndFontDrawOneRunAtTheEnd) {
  const struct {
    short flags;
    double a, b, c, scale;
  } cases[] = {
      {0x00, 1, 1, 1, 1}, {0x00, 2, 1.5, 7, 3}, {0x80, 5, 5, 2, 2}, {0x81, 0.5, 0.5, 0.5, 0.5}};
  for (const auto& c : cases) {
    RichBench b;
    b.s.SetScale(c.a, c.b, c.c);
    b.device.DispFlags = c.flags;  // read again by the entry point
    b.Draw("<body size=12 space=1 hvpl=0><font face=3 color=5>AB</font></body>",
           D_RECT{0, 100, 50, 125});
    const std::vector<DrawnRun> runs = b.Runs();
    ASSERT_EQ(runs.size(), 1u) << c.flags;
    EXPECT_EQ(runs[0].color, 5);
    ASSERT_EQ(runs[0].glyphs.size(), 2u);
    const double h = 12 * c.scale;
    EXPECT_DOUBLE_EQ(runs[0].glyphs[0].x, 0);
    EXPECT_DOUBLE_EQ(runs[0].glyphs[0].y, 100 - h);
    EXPECT_DOUBLE_EQ(runs[0].glyphs[0].height, h);
    EXPECT_DOUBLE_EQ(runs[0].glyphs[1].x, h + 1);
    EXPECT_EQ(runs[0].glyphs[0].points, kFontThreePoints);

    const auto fills = b.Fills();
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].color, kWhite);
    const std::vector<std::pair<double, double>> ring = {{0, 100},
                                                         {50 * c.scale, 100},
                                                         {50 * c.scale, 100 - 25 * c.scale},
                                                         {0, 100 - 25 * c.scale},
                                                         {0, 100}};
    ASSERT_EQ(fills[0].ring.size(), ring.size());
    for (std::size_t i = 0; i < ring.size(); ++i) {
      EXPECT_DOUBLE_EQ(fills[0].ring[i].x, ring[i].first) << c.flags << " point " << i;
      EXPECT_DOUBLE_EQ(fills[0].ring[i].y, ring[i].second) << c.flags << " point " << i;
    }
  }
}

TEST(RichTextRenderer, BackgroundFillFollowsTheBodyColour) {
  const struct {
    const char* markup;
    std::vector<int> fills;
  } cases[] = {
      {"<body>A</body>", {kWhite}},      // white is a colour
      {"<body bgcolor=0>A</body>", {}},  // no colour, no fill
      {"<body bgColor=-3>A</body>", {}},
      {"<body BGCOLOR=3>A</body>", {3}},
      {"A", {}},  // no body, no fill
      {"", {}},
      {"<body bgcolor=3></body><body>A</body>", {3, 3}},  // the last body colour stays
  };
  for (const auto& c : cases) {
    RichBench b;
    b.Draw(c.markup, kWideBox);
    std::vector<int> colors;
    for (const auto& f : b.Fills()) colors.push_back(f.color);
    EXPECT_EQ(colors, c.fills) << c.markup;
  }
}

// Colour and font of each run: the starting font is the default face's,
// after the outermost font closes text falls to font 0 and colour 1.
TEST(RichTextRenderer, FontTagsRestoreEnclosingColourAndFace) {
  RichBench b;
  constexpr int kDefaultFacePoints = 6;
  b.fonts.AddFont(7, kDefaultFace).defaultOutline = {
      {{0, 0}, {20, 0}, {20, 40}, {10, 40}, {0, 40}, {0, 0}}};
  b.Draw(
      "<body bgcolor=0>Z<font face=3 color=5>A<font color=6>B</font>C</font>D<font>E</font></body>",
      kWideBox);
  const struct {
    int color, points;
  } want[] = {{kBlack, kDefaultFacePoints}, {5, kFontThreePoints}, {6, kFontThreePoints},
              {5, kFontThreePoints},        {1, kFontZeroPoints},  {0, kFontZeroPoints}};
  const std::vector<DrawnRun> runs = b.Runs();
  ASSERT_EQ(runs.size(), std::size(want));
  for (std::size_t i = 0; i < runs.size(); ++i) {
    EXPECT_EQ(runs[i].color, want[i].color) << "run " << i;
    ASSERT_EQ(runs[i].glyphs.size(), 1u);
    EXPECT_EQ(runs[i].glyphs[0].points, want[i].points) << "run " << i;
  }
}

TEST(RichTextRenderer, StyleTagsReachTheDrawnRuns) {
  RichBench b;
  b.Draw("<body bgcolor=0>A<em>B</em><strong>C</strong><u>D</u><strike>E</strike>F</body>",
         kWideBox);
  const std::vector<DrawnRun> runs = b.Runs();
  ASSERT_EQ(runs.size(), 6u);
  const bool slanted[] = {false, true, false, false, false, false};
  const int outlines[] = {0, 0, 1, 0, 0, 0};
  const int lines[] = {0, 0, 0, 1, 1, 0};
  for (std::size_t i = 0; i < runs.size(); ++i) {
    ASSERT_EQ(runs[i].glyphs.size(), 1u);
    EXPECT_EQ(runs[i].glyphs[0].slanted, slanted[i]) << "run " << i;
    EXPECT_EQ(runs[i].outlines, outlines[i]) << "run " << i;
    EXPECT_EQ(runs[i].lines, lines[i]) << "run " << i;
  }
}

// End tags pop only stacks that hold entries; an emptied stack gives the
// field its fallback.
TEST(RichTextRenderer, EndTagsRestoreOrFallBack) {
  using Read = std::function<double(const COrvexHTMLReaderEvents&)>;
  const Read strong = [](const auto& r) { return r.Strong; };
  const Read em = [](const auto& r) { return r.Em; };
  const Read sup = [](const auto& r) { return r.Sup; };
  const Read fontNo = [](const auto& r) { return r.FontNo; };
  const Read size = [](const auto& r) { return r.Size; };
  const Read color = [](const auto& r) { return static_cast<double>(r.Color); };
  const Read bgColor = [](const auto& r) { return static_cast<double>(r.BgColor); };
  const struct {
    const char* markup;
    Read field;
    double want;
  } cases[] = {
      {"<strong><strong></strong>", strong, 1},
      {"<strong></strong>", strong, 0},
      {"</strong></strong><strong>", strong, 1},
      {"<em><em></EM>", em, 2},
      {"<sup></sup>", sup, 0},
      {"<sup><sup></sup>", sup, 1},
      {"</sup></sup>", sup, 0},
      {"<font face=3></font>", fontNo, 0},
      {"<font face=3><font face=4></font>", fontNo, 3},
      {"<font face=-4>", fontNo, 0},
      {"<body size=12><font></font>", size, 12},
      {"<body size=12.5><font><font><body size=20></font>", size, 12},  // whole size restored
      {"<font color=5></font>", color, 1},
      {"<font color=5><font></font>", color, 5},
      {"<FONT COLOR=5>", color, 5},
      {"<font>", color, 0},
      {"<body bgcolor=3></body></body>", bgColor, 3},
      {"<body bgcolor=3><body bgcolor=4></body>", bgColor, 3},
  };
  for (const auto& c : cases) {
    DrivenRenderer d(TextBox{0, 100, 100, 100});
    d.Feed(c.markup);
    EXPECT_EQ(c.field(d.renderer), c.want) << c.markup;
  }
}

// Numbers read as atoi and atof would where the value fits, and saturate
// where it does not.
TEST(RichTextRenderer, AttributeNumbersSaturate) {
  DrivenRenderer d(TextBox{0, 100, 100, 100});
  d.Feed(
      "<body bgcolor=99999999999 hvpl=99999999999 size=1e999 space=-1e999 angle=12abc>"
      "<font face=99999999999 color=-99999999999>A");
  const COrvexHTMLReaderEvents& r = d.renderer;
  EXPECT_EQ(r.BgColor, INT_MAX);
  EXPECT_EQ(r.Hvpl, static_cast<short>(INT_MAX));
  EXPECT_TRUE(std::isinf(r.Size) && r.Size > 0);
  EXPECT_TRUE(std::isinf(r.Space) && r.Space < 0);
  EXPECT_EQ(r.Angle, 12.0);
  EXPECT_EQ(r.FontNo, static_cast<short>(INT_MAX));
  EXPECT_EQ(r.Color, INT_MIN);
  EXPECT_EQ(r.SizeStack.back(), INT_MAX);
  d.End();  // measuring and placing the huge run stays defined

  DrivenRenderer fits(TextBox{0, 100, 100, 100});
  fits.Feed("<body bgcolor=\" +42x\" size=1.5e1 hvpl=abc><font face=70000>");
  EXPECT_EQ(fits.renderer.BgColor, 42);
  EXPECT_EQ(fits.renderer.Size, 15.0);
  EXPECT_EQ(fits.renderer.Hvpl, 0);
  EXPECT_EQ(fits.renderer.FontNo, static_cast<short>(70000));
}

// A raised or lowered run is half the size, rounded down; a line raises it
// by its height or lowers it by a third of it, a column moves it right by
// its height. Raised and lowered at once is neither.
TEST(RichTextRenderer, RaisedAndLoweredRuns) {
  const struct {
    const char* markup;
    bool vertical;
    std::vector<Origin> runs;
  } cases[] = {
      {"<body size=11 bgcolor=0><sup>A</sup></body>", false, {{0, 100, 5}}},
      {"<body size=11 bgcolor=0><sub>A</sub></body>", false, {{0, 95 - 5.0 / 3, 5}}},
      {"<body size=11 hvpl=1 bgcolor=0><sup>A</sup></body>", true, {{5, 100, 5}}},
      {"<body size=11 hvpl=1 bgcolor=0><sub>A</sub></body>", true, {{5, 100, 5}}},
      {"<body size=11 bgcolor=0><sup><sub>A</sub></sup></body>", false, {{0, 89, 11}}},
      // Both fields are cleared by the text; the end tags restore a base 0.
      {"<body size=11 bgcolor=0><sup><sub>A</sub>B</sup></body>",
       false,
       {{0, 89, 11}, {5.5, 89, 11}}},
      // An end tag that restores a saved 1 raises again; the last run's
      // height places the final line.
      {"<body size=11 bgcolor=0><sup><sup><sub>A</sub></sup>B</sup></body>",
       false,
       {{0, 95, 11}, {5.5, 100, 5}}},
  };
  for (const auto& c : cases) {
    RichBench b;
    b.Draw(c.markup, kWideBox);
    ExpectOrigins(Origins(b.Runs(), c.vertical), c.runs, c.markup);
  }
}

// Two runs AB and CD (space 2 or 1, size 10) drawn by each flush: an
// overflow advances by n spaces, the paragraph and final flushes by n - 1;
// in a column the overflow stacks runs downward, the paragraph flush moves
// right and the final flush moves left.
TEST(RichTextRenderer, FlushesPlaceFollowingRunsDifferently) {
  const struct {
    const char* what;
    const char* markup;
    D_RECT box;
    bool vertical;
    std::vector<Origin> runs;
  } cases[] = {
      {"final",
       "<body size=10 space=2 bgcolor=0>AB<u>CD</u></body>",
       kWideBox,
       false,
       {{0, 90, 10}, {11, 90, 10}}},
      {"paragraph",
       "<body size=10 space=2 bgcolor=0>AB<u>CD</u><p>X</body>",
       kWideBox,
       false,
       {{0, 90, 10}, {11, 90, 10}, {0, 80, 10}}},
      // AB fits; ABCD (26) does not, ABC (19) does: C joins the line.
      {"overflow",
       "<body size=10 space=2 bgcolor=0>AB<u>CDEF</u></body>",
       D_RECT{0, 100, 25, 200},
       false,
       {{0, 90, 10}, {12, 90, 10}, {0, 80, 10}}},
      {"final column",
       "<body size=10 space=1 hvpl=1 bgcolor=0>AB<u>CD</u></body>",
       kWideBox,
       true,
       {{0, 100, 10}, {-10, 100, 10}}},
      {"paragraph column",
       "<body size=10 space=1 hvpl=1 bgcolor=0>AB<u>CD</u><p></body>",
       kWideBox,
       true,
       {{0, 100, 10}, {10, 100, 10}}},
      // ABC reaches down to 67, above the bottom 65; ABCD does not fit.
      {"overflow column",
       "<body size=10 space=1 hvpl=1 bgcolor=0>AB<u>CD</u></body>",
       D_RECT{0, 100, 100, 135},
       true,
       {{0, 100, 10}, {0, 89, 10}, {10, 100, 10}}},
  };
  for (const auto& c : cases) {
    RichBench b;
    b.Draw(c.markup, c.box);
    ExpectOrigins(Origins(b.Runs(), c.vertical), c.runs, c.what);
  }
}

// A run too small to draw is skipped but still moves the next one on.
TEST(RichTextRenderer, RunsBelowOneUnitAdvanceThePen) {
  RichBench b;
  b.Draw("<body size=1 space=4 bgcolor=0><sup>AB</sup>C</body>", kWideBox);
  const std::vector<DrawnRun> runs = b.Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_TRUE(runs[0].glyphs.empty());
  ASSERT_EQ(runs[1].glyphs.size(), 1u);
  EXPECT_DOUBLE_EQ(runs[1].glyphs[0].x, 2);  // (2 - 1) spaces of 4, halved
}

}  // namespace
