// The extent of a run: estimated and measured boxes, enlargement, and the
// polygon turned about its pivot corner.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <inkline/afx.h>

#include "layout/layout_support.h"

namespace {

using layout_test::Bench;
using layout_test::DeviceOfKind;
using layout_test::ExactText;
using layout_test::Poly;
using layout_test::Pt;

constexpr short kEstimate = -1;

struct RangeCase {
  const char* name;
  std::string text;
  double x, y, height, width, angle, space;
  char arrangement;
  double boxScale;
  std::vector<Pt> poly;  // the four corners; the fifth repeats the first
};

void ExpectRange(Bench& b, const RangeCase& c, short fontNo) {
  std::string text = c.text;
  ASSERT_EQ(b.s.GetStringRange(c.x, c.y, c.height, c.width, &text[0], c.angle, c.space,
                               c.arrangement, c.boxScale, fontNo, 0),
            1)
      << c.name;
  std::vector<Pt> expected = c.poly;
  expected.push_back(c.poly.front());
  EXPECT_EQ(Poly(b.s), expected) << c.name;
}

TEST(StringRangeEstimate, UprightBoxesForBothArrangements) {
  const RangeCase cases[] = {
      // 99.1666 (a twelfth of the height below the baseline) truncates to 99.
      {"five bytes", "ABCDE", 0, 100, 10, 10, 0, 0, 0, 1.0, {{0, 99}, {25, 99}, {25, 110}, {0, 110}}},
      // Enlarged along the run only: x from -2.5 to 27.5.
      {"enlarged", "ABCDE", 0, 100, 10, 10, 0, 0, 0, 1.2, {{-2, 99}, {27, 99}, {27, 110}, {-2, 110}}},
      // A column of 3 with spacing 1: x 0 to 10, y 67 to 100.
      {"column", "ABC", 0, 100, 10, 10, 0, 1, 1, 1.0, {{0, 67}, {10, 67}, {10, 100}, {0, 100}}},
      // A column grows along its length, 3.3 each way.
      {"column enlarged", "ABC", 0, 100, 10, 10, 0, 1, 1, 1.2, {{0, 63}, {10, 63}, {10, 103}, {0, 103}}},
      // A box factor below 1 shrinks the box.
      {"shrunk", "ABCDE", 0, 100, 10, 10, 0, 0, 0, 0.6, {{5, 99}, {20, 99}, {20, 110}, {5, 110}}},
      // Two-byte characters count twice in the length and once in the spacing.
      {"two-byte", "\xB0\xA1" "A", 0, 100, 10, 10, 0, 2, 0, 1.0, {{0, 99}, {17, 99}, {17, 110}, {0, 110}}},
      {"unknown arrangement", "ABC", 5, 100, 10, 10, 0, 0, 2, 1.0, {{0, 0}, {0, 0}, {0, 0}, {0, 0}}},
  };
  for (const RangeCase& c : cases) {
    Bench b;
    ExpectRange(b, c, kEstimate);
  }
}

TEST(StringRangeEstimate, TurnedAboutThePivotCorner) {
  const RangeCase cases[] = {
      // Horizontal: lower-left corner first, then along the baseline.
      {"30", "ABCDE", 0, 100, 10, 10, 30, 0, 0, 1.0, {{0, 99}, {21, 111}, {16, 120}, {-5, 108}}},
      {"30 enlarged", "ABCDE", 0, 100, 10, 10, 30, 0, 0, 1.2, {{-2, 97}, {23, 112}, {18, 121}, {-7, 106}}},
      // Negative angles are measured the other way round: -30 is 330.
      {"-30", "ABCDE", 0, 100, 10, 10, -30, 0, 0, 1.0, {{0, 99}, {21, 86}, {27, 95}, {5, 108}}},
      {"330", "ABCDE", 0, 100, 10, 10, 330, 0, 0, 1.0, {{0, 99}, {21, 86}, {27, 95}, {5, 108}}},
      {"-390", "ABCDE", 0, 100, 10, 10, -390, 0, 0, 1.0, {{0, 99}, {21, 86}, {27, 95}, {5, 108}}},
      {"-30 enlarged", "ABCDE", 100, 200, 10, 10, -30, 0, 0, 1.2, {{97, 200}, {123, 184}, {129, 193}, {102, 209}}},
      // Vertical: upper-left corner first, then across the top of the column.
      {"column 30", "ABC", 0, 100, 10, 10, 30, 1, 1, 1.0, {{0, 100}, {8, 105}, {25, 76}, {16, 71}}},
      {"column 30 enlarged", "ABC", 0, 100, 10, 10, 30, 1, 1, 1.2, {{-1, 102}, {6, 107}, {26, 73}, {17, 68}}},
      {"column -30", "ABC", 0, 100, 10, 10, -30, 1, 1, 1.0, {{0, 100}, {8, 95}, {-7, 66}, {-16, 71}}},
  };
  for (const RangeCase& c : cases) {
    Bench b;
    ExpectRange(b, c, kEstimate);
  }
}

TEST(StringRangeEstimate, UnknownArrangementTurnedLeavesThePolygon) {
  Bench b;
  char text[] = "ABC";
  for (POINT& p : b.s.RangePoly) p = POINT{7, -7};
  EXPECT_EQ(b.s.GetStringRange(0, 0, 10, 10, text, 30, 0, 2, 1.0, kEstimate, 0), 1);
  for (const POINT& p : b.s.RangePoly) EXPECT_EQ(Pt({p.x, p.y}), Pt({7, -7}));
}

TEST(StringRangeEstimate, NullTextLeavesThePolygon) {
  Bench b;
  for (POINT& p : b.s.RangePoly) p = POINT{3, 4};
  EXPECT_EQ(b.s.GetStringRange(0, 0, 10, 10, nullptr, 0, 0, 0, 1.0, kEstimate, 0), 0);
  EXPECT_EQ(b.s.GetStringRange(0, 0, 10, 10, nullptr, 0, 0, 0, 1.0, 0, 0), 0);
  for (const POINT& p : b.s.RangePoly) EXPECT_EQ(Pt({p.x, p.y}), Pt({3, 4}));
}

// A lead byte that ends the text is one character; nothing past the NUL is read.
TEST(StringRangeEstimate, LeadByteBeforeTheEndCountsOnce) {
  Bench b;
  auto text = ExactText("A\xB0");
  ASSERT_EQ(b.s.GetStringRange(0, 100, 10, 10, text.get(), 0, 2, 0, 1.0, kEstimate, 0), 1);
  // 2 bytes, 2 characters: 10 * 2 * 0.5 + 2 * 1.
  EXPECT_EQ(Poly(b.s)[1], Pt({12, 99}));
}

class StringRangeMeasured : public ::testing::Test {
 protected:
  StringRangeMeasured() {
    SyntheticFont& f = *b.fonts.Font(0);
    f.advances['A'] = 20;
    f.advances['W'] = 60;
    f.advances[0xB0A1] = 80;
    f.yOffset = -8;
    b.s.DesignGrid = 40.0;
  }
  Bench b;
};

TEST_F(StringRangeMeasured, FromAdvancesAndYOffset) {
  const RangeCase cases[] = {
      // 20*20/40 + 20*60/40 + space 3; the box spans y-8 to y+32.
      {"row", "AW", 10, 100, 40, 20, 0, 3, 0, 1.0, {{10, 92}, {53, 92}, {53, 132}, {10, 132}}},
      {"row enlarged", "AW", 10, 100, 40, 20, 0, 3, 0, 1.5, {{0, 92}, {63, 92}, {63, 132}, {0, 132}}},
      // A two-byte character takes its own advance once.
      {"two-byte", "\xB0\xA1" "A", 0, 0, 40, 40, 0, 0, 0, 1.0, {{0, -8}, {100, -8}, {100, 32}, {0, 32}}},
      // A column: x from the y offset, 2 cells and one spacing down.
      {"column", "AW", 10, 100, 40, 20, 0, 3, 1, 1.0, {{2, 17}, {42, 17}, {42, 100}, {2, 100}}},
      {"column 90", "AW", 10, 100, 40, 20, 90, 3, 1, 1.0, {{2, 100}, {2, 140}, {85, 140}, {85, 100}}},
  };
  for (const RangeCase& c : cases) ExpectRange(b, c, 0);
}

TEST_F(StringRangeMeasured, LeadByteBeforeTheEndIsMeasuredOnce) {
  auto text = ExactText("A\xB0");
  ASSERT_EQ(b.s.GetStringRange(0, 0, 40, 40, text.get(), 0, 0, 0, 1.0, 0, 0), 1);
  // 'A' 20 plus the lone lead byte at the default advance 40.
  EXPECT_EQ(Poly(b.s)[1], Pt({60, -8}));
}

TEST_F(StringRangeMeasured, CharacterLibraryGridBeforeAnyLayout) {
  b.s.DesignGrid = 0.0;
  b.s.LibType = 1;
  char text[] = "W";
  ASSERT_EQ(b.s.GetStringRange(0, 0, 255, 255, text, 0, 0, 0, 1.0, 0, 0), 1);
  EXPECT_EQ(Poly(b.s)[1], Pt({60, -8}));
}

TEST_F(StringRangeMeasured, NoVectorFontReturnsZeroAndLeavesThePolygon) {
  for (POINT& p : b.s.RangePoly) p = POINT{3, 4};
  char text[] = "AW";
  EXPECT_EQ(b.s.GetStringRange(0, 0, 40, 40, text, 0, 0, 0, 1.0, 77, 0), 0);
  for (const POINT& p : b.s.RangePoly) EXPECT_EQ(Pt({p.x, p.y}), Pt({3, 4}));
}

// Measuring with zero sizes passes the Windows-font rule, so a font is
// created and selected; it must be released whether or not a vector font
// came of it, on ordinary and on native-text devices alike.
TEST(StringRangeWindowsFont, ReleasedAfterEveryMeasurement) {
  for (short kind : {0, 1, 7, 8}) {
    for (short fontNo : {0, 77}) {
      Bench b(DeviceOfKind(kind, 1));
      b.s.DesignGrid = 40.0;
      HDC dc = b.device.dc();
      b.s.pDC = CDC::FromHandle(dc);
      const HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
      const int bkMode = GetBkMode(dc);
      char text[] = "AB";
      b.s.GetStringRange(0, 0, 10, 10, text, 0, 0, 0, 1.0, fontNo, 0);
      EXPECT_EQ(b.s.hFont, nullptr) << "kind " << kind << " font " << fontNo;
      EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), before) << "kind " << kind << " font " << fontNo;
      EXPECT_EQ(GetBkMode(dc), bkMode) << "kind " << kind << " font " << fontNo;
    }
  }
}

}  // namespace
