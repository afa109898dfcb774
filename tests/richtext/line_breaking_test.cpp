// Line breaking: where lines and columns break, when a broken line is drawn,
// and that carrying the rest on always ends.
#include <gtest/gtest.h>
#include <pthread.h>

#include <string>
#include <utility>
#include <vector>

#include "richtext/richtext_support.h"

namespace {

using richtext_test::DrawnRun;
using richtext_test::DrivenRenderer;
using richtext_test::RichBench;

// Glyph counts and first-glyph corners of the drawn runs.
struct Line {
  std::size_t glyphs;
  double x, y, height;
};

void ExpectLines(const std::vector<DrawnRun>& runs, const std::vector<Line>& want,
                 const std::string& what) {
  ASSERT_EQ(runs.size(), want.size()) << what;
  for (std::size_t i = 0; i < want.size(); ++i) {
    ASSERT_EQ(runs[i].glyphs.size(), want[i].glyphs) << what << " run " << i;
    EXPECT_DOUBLE_EQ(runs[i].glyphs[0].x, want[i].x) << what << " run " << i;
    EXPECT_DOUBLE_EQ(runs[i].glyphs[0].y, want[i].y) << what << " run " << i;
    EXPECT_DOUBLE_EQ(runs[i].glyphs[0].height, want[i].height) << what << " run " << i;
  }
}

// The estimate gives ABCDE a right edge of 25 (fits a width of 25) and
// ABCDEF 30: ABCDE is drawn when the text arrives; F follows one line lower
// at the end when the box is tall enough.
TEST(RichTextLineBreaking, HorizontalBreakDrawsTheFittingPrefixAtOnce) {
  const struct {
    double height;
    std::vector<Line> atEnd;
  } cases[] = {{25, {{5, 0, 90, 10}, {1, 0, 80, 10}}}, {15, {{5, 0, 90, 10}}}};
  for (const auto& c : cases) {
    DrivenRenderer d(TextBox{0, 100, 25, c.height});
    d.Feed("<body size=10 space=0 hvpl=0 bgcolor=0>ABCDEF</body>");
    ExpectLines(d.bench.Runs(), {{5, 0, 90, 10}}, "on arrival");
    EXPECT_EQ(d.renderer.PenY, 90);
    EXPECT_EQ(d.renderer.PendingText, "F");
    d.End();
    ExpectLines(d.bench.Runs(), c.atEnd, "at the end, height " + std::to_string(c.height));
  }
}

std::vector<std::pair<long, long>> Poly(const CMapString& s) {
  std::vector<std::pair<long, long>> out;
  for (const POINT& p : s.RangePoly) out.emplace_back(p.x, p.y);
  return out;
}

// After a text, the owner's RangePoly holds the extent of the last line
// measured, as measuring each line through the owner leaves it (a host may
// read it after drawing): the whole line when it fits, the rest carried to
// the next line or column, and the first prefix that did not fit when the
// line stays pending for want of room. A horizontal line at y reaches from
// y - h/12 to y + h, half a height per byte; a column one height per
// character down from y.
TEST(RichTextLineBreaking, RangePolyHoldsTheLastLineMeasured) {
  const struct {
    const char* name;
    const char* markup;
    TextBox box;
    std::vector<std::pair<long, long>> poly;
  } cases[] = {
      {"fits", "<body size=10 space=0 hvpl=0 bgcolor=0>AB</body>", TextBox{0, 100, 100, 100},
       {{0, 99}, {10, 99}, {10, 110}, {0, 110}, {0, 99}}},
      {"rest on the next line", "<body size=10 space=0 hvpl=0 bgcolor=0>ABCDEF</body>",
       TextBox{0, 100, 25, 25}, {{0, 89}, {5, 89}, {5, 100}, {0, 100}, {0, 89}}},
      {"no room", "<body size=10 space=0 hvpl=0 bgcolor=0>ABCDEF</body>", TextBox{0, 100, 25, 5},
       {{0, 99}, {30, 99}, {30, 110}, {0, 110}, {0, 99}}},
      {"rest in the next column", "<body size=10 space=0 hvpl=1 bgcolor=0>ABCD</body>",
       TextBox{0, 100, 50, 25}, {{10, 80}, {20, 80}, {20, 100}, {10, 100}, {10, 80}}},
  };
  for (const auto& c : cases) {
    DrivenRenderer d(c.box);
    d.Feed(c.markup);
    EXPECT_EQ(Poly(d.bench.s), c.poly) << c.name;
  }
  // Through the entry point: the final flush measures nothing more.
  RichBench b;
  b.Draw("<body size=10 space=0 hvpl=0 bgcolor=0>ABCDEF</body>", D_RECT{0, 100, 25, 125});
  EXPECT_EQ(Poly(b.s), cases[1].poly);
}

// ABC reaches down to 70, not above the bottom 75; AB reaches 80. The column
// AB is drawn downward on arrival, CD in the next column at the end.
TEST(RichTextLineBreaking, VerticalBreakStartsTheNextColumn) {
  DrivenRenderer d(TextBox{0, 100, 50, 25});
  d.Feed("<body size=10 space=0 hvpl=1 bgcolor=0>ABCD</body>");
  std::vector<DrawnRun> runs = d.bench.Runs();
  ASSERT_EQ(runs.size(), 1u);
  ASSERT_EQ(runs[0].glyphs.size(), 2u);
  EXPECT_EQ(runs[0].glyphs[0].x, 0);
  EXPECT_EQ(runs[0].glyphs[0].y, 90);  // the glyph below the column top 100
  EXPECT_EQ(runs[0].glyphs[1].y, 80);
  EXPECT_EQ(d.renderer.PenX, 10);
  EXPECT_EQ(d.renderer.PenY, 100);
  d.End();
  runs = d.bench.Runs();
  ASSERT_EQ(runs.size(), 2u);
  ASSERT_EQ(runs[1].glyphs.size(), 2u);
  EXPECT_EQ(runs[1].glyphs[0].x, 10);
  EXPECT_EQ(runs[1].glyphs[0].y, 90);
  EXPECT_EQ(runs[1].glyphs[1].y, 80);
}

// Runs draw at the whole size 10; lines advance by the size 10.5.
TEST(RichTextLineBreaking, FractionalBodySizeAdvancesLinesByTheExactSize) {
  RichBench b;
  b.Draw("<body size=10.5 bgcolor=0>ABCDEF</body>", D_RECT{0, 100, 25, 125});
  ExpectLines(b.Runs(), {{5, 0, 90, 10}, {1, 0, 79.5, 10}}, "size 10.5");
}

// Five bytes fit a line; a byte of 0x80 or more always takes two, so a
// double-byte character never splits, even with a trail byte below 0x80, and
// a lead byte ending the text is one character.
TEST(RichTextLineBreaking, DoubleByteCharactersBreakWhole) {
  const struct {
    const char* text;
    std::vector<Line> lines;
  } cases[] = {
      {"\xD6\xD0\xCE\xC4\xD7\xD6", {{2, 0, 90, 10}, {1, 0, 80, 10}}},
      {"ABCD\x81\x40", {{4, 0, 90, 10}, {1, 0, 80, 10}}},
      {"AB\x81\x40\x81\x40", {{3, 0, 90, 10}, {1, 0, 80, 10}}},
      {"ABCDE\x81", {{5, 0, 90, 10}, {1, 0, 80, 10}}},
  };
  for (const auto& c : cases) {
    RichBench b;
    b.Draw(std::string("<body size=10 bgcolor=0>") + c.text, D_RECT{0, 100, 25, 125});
    ExpectLines(b.Runs(), c.lines, c.text);
  }
}

// Nothing of a character wider than the box is drawn; each retry moves one
// line down (or one column right) until there is no room, and the text then
// stays pending.
TEST(RichTextLineBreaking, CharacterWiderThanTheBoxMovesOnUntilNoRoom) {
  const struct {
    const char* markup;
    TextBox box;
    double penX, penY;
  } cases[] = {
      {"<body size=10 bgcolor=0>W", TextBox{0, 100, 4, 25}, 0, 80},
      {"<body size=10 hvpl=1 bgcolor=0>W", TextBox{0, 100, 30, 5}, 30, 100},
  };
  for (const auto& c : cases) {
    DrivenRenderer d(c.box);
    d.Feed(c.markup);
    EXPECT_EQ(d.renderer.PenX, c.penX) << c.markup;
    EXPECT_EQ(d.renderer.PenY, c.penY) << c.markup;
    EXPECT_EQ(d.renderer.PendingText, "W");
    d.Feed("X");  // measured behind W, it cannot be drawn either
    d.End();
    for (const DrawnRun& run : d.bench.Runs()) EXPECT_TRUE(run.glyphs.empty()) << c.markup;

    // A pen a trillion units short of the bottom (left by an earlier
    // negative size) ends where the line-by-line walk ends, at once.
    DrivenRenderer distant(c.box);
    distant.Feed(c.markup);
    if (c.penX > 0)
      distant.renderer.PenX = -1e12;
    else
      distant.renderer.PenY = 1e12;
    distant.Feed("W");
    EXPECT_EQ(distant.renderer.PenX, c.penX) << c.markup;
    EXPECT_EQ(distant.renderer.PenY, c.penY) << c.markup;
  }
}

// A line that cannot move on (line height 0 or negative) with a box too
// narrow for even the empty text would see the same text at the same place
// for ever; the text ends there instead and stays pending.
TEST(RichTextLineBreaking, RestThatCannotMoveOnEnds) {
  const struct {
    const char* markup;
    TextBox box;
  } cases[] = {
      {"<body size=0 hvpl=1 bgcolor=0>AB", TextBox{0, 100, 50, 0}},
      {"<body size=0 bgcolor=0>AB", TextBox{0, 100, -5, 100}},
      {"<body size=-10 bgcolor=0>AB", TextBox{0, 100, -20, 100}},
      {"<body size=-10 hvpl=1 bgcolor=0>AB", TextBox{0, 100, 50, 0}},
  };
  for (const auto& c : cases) {
    DrivenRenderer d(c.box);
    d.Feed(c.markup);
    EXPECT_EQ(d.renderer.PendingText, "AB") << c.markup;
    EXPECT_TRUE(d.renderer.Runs.empty()) << c.markup;
    d.Feed("CD");
    d.End();
    for (const DrawnRun& run : d.bench.Runs()) EXPECT_TRUE(run.glyphs.empty()) << c.markup;
  }
}

// The runs already on a line are drawn whole, so the carried rest holds only
// what is left of the newest text: ABCDEFGH (lowered, size 5) and XY (size
// 10) measure past the box at F, yet F, G and H are drawn once.
TEST(RichTextLineBreaking, CarriedRestNeverRepeatsDrawnRuns) {
  RichBench b;
  b.Draw("<body size=10 bgcolor=0><sub>ABCDEFGH</sub>XY</body>", D_RECT{0, 100, 25, 125});
  ExpectLines(b.Runs(), {{8, 0, 90 - 5.0 / 3, 5}, {2, 0, 80, 10}}, "rest");
}

// Thousands of lines, drawn on a thread whose stack is far too small for a
// call per line: the rest is carried on by a loop.
TEST(RichTextLineBreaking, ThousandsOfLinesNeedNoDeepStack) {
  constexpr int kLines = 10000;
  struct Job {
    std::vector<DrawnRun> runs;
    static void* Run(void* self) {
      // A window that holds every line: glyphs outside it are not drawn.
      RecordingDevice::Settings settings;
      settings.winRect = D_RECT{-1e6, -1e6, 1e6, 1e6};
      RichBench b(settings);
      // Two characters per line: the box is 10 wide and tall enough for all.
      b.Draw("<body size=10 bgcolor=0>" + std::string(2 * kLines, 'A'),
             D_RECT{0, 100, 10, 100 + 10.0 * kLines + 5});
      static_cast<Job*>(self)->runs = b.Runs();
      return nullptr;
    }
  } job;
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, 1 << 20);
  pthread_t thread;
  ASSERT_EQ(pthread_create(&thread, &attributes, &Job::Run, &job), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);

  ASSERT_EQ(job.runs.size(), static_cast<std::size_t>(kLines));
  for (int i : {0, 1, kLines - 1}) {
    ASSERT_EQ(job.runs[i].glyphs.size(), 2u);
    EXPECT_EQ(job.runs[i].glyphs[0].y, 90 - 10.0 * i) << "line " << i;
  }
}

}  // namespace
