// The entry points: StringOut's scales, pixel widths, size classes and style
// word, and the state DispString gives every string it draws.
#include <string>

#include <gtest/gtest.h>

#include "layout/layout_support.h"
#include "support/portable_only.h"
#include "support/probe.h"

#if !defined(_WIN32)
#include <inkline/win32_screen.h>
#endif

namespace {

using layout_test::Bench;
using layout_test::Boxes;
using layout_test::DeviceOfKind;
using layout_test::Pt;

constexpr short kEstimate = -1;  // no font: the background box is the estimate
constexpr double kPixelsPerMillimetre = 96 / 25.4;  // the portable screen

constexpr short kOutlined = 0x0400;
constexpr short kHollow = 0x0800;

void Out(CMapString& s, const char* text, double height, short style = 0, short color = 0,
         double extra = 0.0, double width = -1, double space = 0.0) {
  std::string t = text;
  s.StringOut(&t[0], 0, 0, height, width < 0 ? height : width, kEstimate, style, 0, space, 0,
              color, extra, nullptr);
}

TEST(StringOut, SizeClassAndLineWidthFromTheUnscaledHeight) {
  const struct {
    double height;
    short sizeClass;
    double lineWidth;
  } cases[] = {{3, 4, 1.0},  {3.01, 3, 1.0}, {7, 3, 1.0},  {7.01, 2, 1.0},
               {10, 2, 1.0}, {10.01, 1, 2.0}, {12, 1, 2.0}};
  for (const auto& c : cases) {
    Bench b;
    b.s.SetScale(0.5, 0.5, 1.0);  // scaling must not change the class
    Out(b.s, "A", c.height);
    EXPECT_EQ(b.s.SizeClass, c.sizeClass) << c.height;
    EXPECT_DOUBLE_EQ(b.s.LineWidth, c.lineWidth / kPixelsPerMillimetre) << c.height;
  }
}

TEST(StringOut, PixelWidthsConvertWithTheScreenAndTheThirdScale) {
  Bench b;
  b.s.SetScale(1.0, 1.0, 1.0);
  Out(b.s, "A", 12, 0, 0, 2.0);
  EXPECT_NEAR(b.s.OutlineWidth, 0.529, 0.001);
  EXPECT_DOUBLE_EQ(b.s.OutlineWidth, 2.0 / kPixelsPerMillimetre);
  b.s.SetScale(7.0, 7.0, 2.0);
  Out(b.s, "A", 12, 0, 0, 2.0);
  EXPECT_DOUBLE_EQ(b.s.OutlineWidth, 2.0 / kPixelsPerMillimetre * 2.0);
  EXPECT_DOUBLE_EQ(b.s.LineWidth, 2.0 / kPixelsPerMillimetre * 2.0);
}

// The screen's resolution is asked on every call, as a host's screen may
// change while it runs (another monitor, a new setting); a system that
// reports none counts as 96 pixels per inch. One object throughout, so a
// value kept from an earlier call shows.
TEST(StringOut, ScreenResolutionIsAskedOnEveryCall) {
#if defined(_WIN32)
  INKLINE_PORTABLE_ONLY("only the portable desktop's resolution can be changed by a test");
#else
  struct Restore {
    ~Restore() { InklineSetScreenPixelsPerInch(96); }
  } restore;
  const struct {
    int reported;
    double used;
  } cases[] = {{120, 120}, {0, 96}, {144, 144}, {-5, 96}, {96, 96}};
  Bench b;
  b.s.SetScale(1.0, 1.0, 1.0);
  for (const auto& c : cases) {
    InklineSetScreenPixelsPerInch(c.reported);
    Out(b.s, "A", 60, 0, 0, 2.0);
    EXPECT_DOUBLE_EQ(b.s.OutlineWidth, 2.0 / (c.used / 25.4)) << c.reported;
    EXPECT_DOUBLE_EQ(b.s.LineWidth, 2.0 / (c.used / 25.4)) << c.reported;
  }
#endif
}

TEST(StringOut, OutlineWidthIsLimitedBySmallHeights) {
  const struct {
    double height, width, limited;
  } cases[] = {{17.9, 1.5, 1.0}, {17.9, 0.8, 0.8}, {18, 1.5, 1.5},  {20, 2.5, 2.0},
               {35.9, 2.6, 2.0}, {36, 2.5, 2.5},   {36, 3.5, 3.0},  {54, 3.5, 3.0},
               {54.1, 3.5, 3.5}, {60, 2.5, 2.5}};
  for (const auto& c : cases) {
    Bench b;
    Out(b.s, "A", c.height, kOutlined, 5, c.width * kPixelsPerMillimetre);
    EXPECT_NEAR(b.s.OutlineWidth, c.limited, 1e-12) << c.height << " " << c.width;
    EXPECT_EQ(b.s.OutlineMode, 1);
    EXPECT_EQ(b.s.OutlineColor, 5);
  }
}

// Without the outline bit the width is not limited.
TEST(StringOut, PlainTextKeepsItsOutlineWidth) {
  Bench b;
  Out(b.s, "A", 10, 0, 5, 2.5 * kPixelsPerMillimetre);
  EXPECT_NEAR(b.s.OutlineWidth, 2.5, 1e-12);
  EXPECT_EQ(b.s.OutlineMode, -1);
}

TEST(StringOut, OutlinedTextNeverGetsABackgroundBox) {
  for (double extra : {0.5, 1.0, 3.0}) {
    Bench b;
    Out(b.s, "AB", 12, kOutlined, 5, extra);
    EXPECT_TRUE(Boxes(b.device).empty()) << extra;
    Out(b.s, "AB", 12, 0, 5, extra);
    EXPECT_EQ(Boxes(b.device).size(), 1u) << extra;
  }
}

// The box of "AB" from (0, 0) shows the scaled height, width and spacing:
// x to width * 2 * 0.5 + space, y from -height / 12 to height.
TEST(StringOut, ScalesFromTheThirdScaleWhenTheDeviceAsks) {
  const struct {
    short flags;
    double a, b, c;
    std::vector<Pt> box;
  } cases[] = {
      {0x80, 3.0, 5.0, 2.0, {{0, -1}, {10, -1}, {10, 20}, {0, 20}, {0, -1}}},
      {0x80 | 0x01, 0.1, 0.1, 2.0, {{0, -1}, {10, -1}, {10, 20}, {0, 20}, {0, -1}}},
      {0x00, 1.5, 2.0, 9.0, {{0, -2}, {15, -2}, {15, 30}, {0, 30}, {0, -2}}},
      {0x40, 1.5, 2.0, 9.0, {{0, -2}, {15, -2}, {15, 30}, {0, 30}, {0, -2}}},
  };
  for (const auto& c : cases) {
    RecordingDevice::Settings settings = DeviceOfKind(0);
    settings.dispFlags = c.flags;
    Bench b(settings);
    b.s.SetScale(c.a, c.b, c.c);
    Out(b.s, "AB", 10, 0, 5, 1.0, 4, 1);
    EXPECT_EQ(b.s.DevFlags, c.flags);
    ASSERT_EQ(Boxes(b.device).size(), 1u) << c.flags;
    EXPECT_EQ(Boxes(b.device)[0], c.box) << c.flags;
  }
}

TEST(StringOut, ScaledHeightBelowOneDrawsNothing) {
  const struct {
    double height, scale;
    bool draws;
  } cases[] = {{0.99, 1.0, false}, {1.0, 1.0, true}, {0.5, 2.0, true}, {0.5, 1.98, false}};
  for (const auto& c : cases) {
    Bench b;
    b.s.SetScale(c.scale, 1.0, 1.0);
    Out(b.s, "A", c.height, 0, 5, 1.0);
    EXPECT_EQ(b.device.calls.empty(), !c.draws) << c.height << " x " << c.scale;
    EXPECT_DOUBLE_EQ(b.s.CharHeight, c.height * c.scale);
  }
}

TEST(StringOut, NeedsADeviceATextAndAFontLibrary) {
  SyntheticFontLib fonts;
  {
    ScopedMapFontLib none(nullptr);
    RecordingDevice device;
    CMapString s(&device);
    char text[] = "A";
    s.StringOut(text, 0, 0, 12, 12, kEstimate, 0, 0, 0, 0, 5, 1.0, nullptr);
    EXPECT_TRUE(device.calls.empty());
    EXPECT_EQ(s.FontLib, nullptr);
    // A library handed to the call is kept for later calls.
    s.StringOut(text, 0, 0, 12, 12, kEstimate, 0, 0, 0, 0, 5, 1.0, &fonts);
    EXPECT_EQ(s.FontLib, &fonts);
    EXPECT_EQ(Boxes(device).size(), 1u);
    s.StringOut(nullptr, 0, 0, 12, 12, kEstimate, 0, 0, 0, 0, 5, 1.0, &fonts);
    EXPECT_EQ(Boxes(device).size(), 1u);
  }
  ScopedMapFontLib installed(&fonts);
  CMapString detached(nullptr);
  char text[] = "A";
  detached.StringOut(text, 0, 0, 12, 12, kEstimate, 0, 0, 0, 0, 5, 1.0, nullptr);
  EXPECT_EQ(detached.SizeClass, 0);
}

TEST(StringOut, StyleWordSetsHollowStyleAndGrid) {
  const struct {
    short style;
    short libType;
    short hollow, curStyle, outlineMode;
    double grid;
  } cases[] = {
      {0x0002, 2, 0, 2, -1, 40.0},
      {static_cast<short>(0x0800 | 0x1000 | 0x07), 2, 1, 7, -1, 40.0},
      {static_cast<short>(0x0400 | 0x0800 | 0x2000 | 0x4000 | 0xFF), 1, 1, 255, 1, 255.0},
  };
  for (const auto& c : cases) {
    Bench b;
    b.fonts.libType = c.libType;
    Out(b.s, "A", 12, c.style, 5, 1.0);
    EXPECT_EQ(b.s.Hollow, c.hollow) << c.style;
    EXPECT_EQ(b.s.CurStyle, c.curStyle) << c.style;
    EXPECT_EQ(b.s.OutlineMode, c.outlineMode) << c.style;
    EXPECT_EQ(b.s.LibType, c.libType) << c.style;
    EXPECT_EQ(b.s.DesignGrid, c.grid) << c.style;
  }
}

TEST(DispString, SizeClassFromTheHeightAsPassed) {
  const struct {
    double height;
    short sizeClass;
  } cases[] = {{1, 4}, {9.9, 4}, {10, 3}, {19.9, 3}, {20, 2}, {29.9, 2}, {30, 1}, {300, 1}};
  for (const auto& c : cases) {
    Bench b;
    CMapStringProbe::DispString(b.s, "A", 0, 0, c.height, c.height, kEstimate, 0, 0, 0, 0, 0, 0,
                                0, 0, 0.0);
    EXPECT_EQ(b.s.SizeClass, c.sizeClass) << c.height;
  }
}

// DispString draws plain, filled glyphs in the colour it is given; the state
// of the StringOut that started the drawing stays.
TEST(DispString, ResetsOutlineAndHollowOnly) {
  Bench b;
  b.fonts.libType = 1;
  Out(b.s, "A", 40, kOutlined | kHollow | 3, 6, 2.0);
  const double outlineWidth = b.s.OutlineWidth;
  const double lineWidth = b.s.LineWidth;
  CMapStringProbe::DispString(b.s, "A", 0, 0, 15, 15, kEstimate, 0, 0, 0, 0, 0, 0, 0, 4, 0.0);
  EXPECT_EQ(b.s.OutlineMode, -1);
  EXPECT_EQ(b.s.Hollow, 0);
  EXPECT_EQ(b.s.OutlineColor, 4);
  EXPECT_EQ(b.s.LibType, 1);
  EXPECT_EQ(b.s.DesignGrid, 255.0);
  EXPECT_EQ(b.s.OutlineWidth, outlineWidth);
  EXPECT_EQ(b.s.LineWidth, lineWidth);
  EXPECT_EQ(b.s.CharHeight, 40.0);
}

TEST(DispString, HeightBelowOneChangesAndDrawsNothing) {
  Bench b;
  b.s.SizeClass = 2;
  b.s.OutlineMode = 1;
  CMapStringProbe::DispString(b.s, "A", 0, 0, 0.99, 1, kEstimate, 0, 0, 0, 0, 0, 0, 0, 5, 1.0);
  EXPECT_EQ(b.s.SizeClass, 2);
  EXPECT_EQ(b.s.OutlineMode, 1);
  EXPECT_TRUE(b.device.calls.empty());
  CMapStringProbe::DispString(b.s, "A", 0, 0, 1.0, 1, kEstimate, 0, 0, 0, 0, 0, 0, 0, 5, 1.0);
  EXPECT_EQ(Boxes(b.device).size(), 1u);
}

}  // namespace
