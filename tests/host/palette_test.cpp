#include <gtest/gtest.h>

#include <inkline/host/palette.h>

namespace {

TEST(ColorPalette, NearestColourNumbers) {
  const struct {
    COLORREF rgb;
    long colorNo;
  } cases[] = {
      {RGB(0, 0, 0), 1},        {RGB(255, 255, 255), 8},  {RGB(255, 0, 0), 2},
      {RGB(0, 255, 0), 3},      {RGB(0, 0, 255), 4},      {RGB(255, 255, 0), 5},
      {RGB(250, 5, 5), 2},      {RGB(128, 128, 128), 12},  // the ramp also has 128: lower wins
      {RGB(10, 10, 12), 17},    // the darkest ramp step, 11
      {RGB(255, 128, 0), 238},  // cube r 5, g 3 (153 is nearer than 102), b 0
      {RGB(0, 0, 140), 11},     // dark blue 128 beats the cube's 153
  };
  for (const auto& c : cases) {
    long colorNo = -1;
    EXPECT_EQ(GetColorNoByCOLORREF(c.rgb, colorNo, nullptr), 1);
    EXPECT_EQ(colorNo, c.colorNo) << std::hex << c.rgb;
  }
}

TEST(ColorPalette, EveryNumberMapsBackToItsOwnColour) {
  const ColorPalette& palette = ColorPalette::Default();
  ASSERT_EQ(palette.Size(), 256);
  for (long n = 1; n < palette.Size(); ++n) {
    COLORREF rgb = 0, again = 0;
    ASSERT_TRUE(palette.ToRGB(n, &rgb));
    ASSERT_TRUE(palette.ToRGB(palette.Nearest(rgb), &again));
    EXPECT_EQ(again, rgb) << n;
    EXPECT_LE(palette.Nearest(rgb), n) << "a duplicate colour resolves to its lowest number";
  }
}

TEST(ColorPalette, ReverseLookupForDevices) {
  COLORREF rgb = 0x123456;
  EXPECT_EQ(GetCOLORREFByColorNo(2, rgb, nullptr), 1);
  EXPECT_EQ(rgb, RGB(255, 0, 0));
  EXPECT_EQ(GetCOLORREFByColorNo(12, rgb, nullptr), 1);
  EXPECT_EQ(rgb, RGB(128, 128, 128));
  EXPECT_EQ(GetCOLORREFByColorNo(40 + 36 * 1 + 6 * 2 + 3, rgb, nullptr), 1);
  EXPECT_EQ(rgb, RGB(51, 102, 153));
  for (long none : {0L, -1L, 256L, 100000L}) {
    rgb = 0x123456;
    EXPECT_EQ(GetCOLORREFByColorNo(none, rgb, nullptr), 0) << none;
    EXPECT_EQ(rgb, RGB(0, 0, 0)) << none;
  }
}

TEST(ColorPalette, CustomPaletteThroughThePointer) {
  ColorPalette mine({RGB(0, 0, 0), RGB(200, 0, 0), RGB(0, 0, 200)});
  long colorNo = 0;
  // Entry 0 is "no colour" even when it holds the exact value asked for.
  EXPECT_EQ(GetColorNoByCOLORREF(RGB(0, 0, 0), colorNo, &mine), 1);
  EXPECT_EQ(colorNo, 1);
  EXPECT_EQ(GetColorNoByCOLORREF(RGB(10, 20, 250), colorNo, &mine), 1);
  EXPECT_EQ(colorNo, 2);
  COLORREF rgb = 0;
  EXPECT_EQ(GetCOLORREFByColorNo(2, rgb, &mine), 1);
  EXPECT_EQ(rgb, RGB(0, 0, 200));
  EXPECT_EQ(GetCOLORREFByColorNo(3, rgb, &mine), 0);

  ColorPalette empty({});
  colorNo = 7;
  EXPECT_EQ(GetColorNoByCOLORREF(RGB(1, 2, 3), colorNo, &empty), 0);
  EXPECT_EQ(colorNo, 0);
}

}  // namespace
