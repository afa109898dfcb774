// Numbers that are not finite, or far outside any picture, given to any
// public entry draw nothing: no NaN or infinity ever reaches the device. The
// same entries with sane numbers do draw, so each case can fail.
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <inkline/host/hostlib.h>
#include <inkline/host/recording_device.h>
#include <inkline/host/synthetic_font_lib.h>
#include <inkline/inkline.h>

#include "support/probe.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool Drew(const RecordingDevice& device) {
  for (const RecordingDevice::Call& c : device.calls) {
    if (c.name != "SetPen" && c.name != "SetBrush" && c.name != "SetTextAngle" &&
        c.name != "SetTextOutline")
      return true;
  }
  return false;
}

bool AllFinite(const RecordingDevice& device) {
  for (const RecordingDevice::Call& c : device.calls) {
    for (double v : c.nums)
      if (!std::isfinite(v)) return false;
    for (const std::vector<D_POINT>& run : c.runs)
      for (const D_POINT& p : run)
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
  }
  return true;
}

struct EntryFixture : testing::Test {
  EntryFixture() : device(Settings()), installed(&fonts), s(&device) {}
  static RecordingDevice::Settings Settings() {
    RecordingDevice::Settings settings;
    settings.kind = 2;
    return settings;
  }
  SyntheticFontLib fonts;
  RecordingDevice device;
  ScopedMapFontLib installed;
  CMapString s;
};

// The arguments of one StringOut call after the scales.
struct PlainCall {
  const char* what;
  double scales[3];
  double x, y, height, width, angle, space, extra;
  short style;
};

TEST_F(EntryFixture, StringOutWithABadNumberDrawsNothing) {
  const PlainCall sane{"sane", {1, 1, 1}, 10, 500, 12, 10, 30, 1, 1.2, 0};
  auto with = [&](const char* what, auto change) {
    PlainCall c = sane;
    c.what = what;
    change(c);
    return c;
  };
  const std::vector<PlainCall> bad = {
      with("height inf", [](PlainCall& c) { c.height = kInf; }),
      with("height 1e300", [](PlainCall& c) { c.height = 1e300; }),
      with("width NaN", [](PlainCall& c) { c.width = kNaN; }),
      with("space inf", [](PlainCall& c) { c.space = kInf; }),
      with("angle NaN", [](PlainCall& c) { c.angle = kNaN; }),
      with("angle inf", [](PlainCall& c) { c.angle = kInf; }),
      with("angle -inf", [](PlainCall& c) { c.angle = -kInf; }),
      with("x NaN", [](PlainCall& c) { c.x = kNaN; }),
      with("y 1e300", [](PlainCall& c) { c.y = 1e300; }),
      with("box factor NaN", [](PlainCall& c) { c.extra = kNaN; }),
      with("outline width inf", [](PlainCall& c) { c.extra = kInf, c.style = 0x0400; }),
      with("scale inf", [](PlainCall& c) { c.scales[0] = kInf; }),
      with("scales overflow", [](PlainCall& c) { c.scales[0] = c.scales[1] = 1e300; }),
      with("third scale NaN", [](PlainCall& c) { c.scales[2] = kNaN; }),
  };
  auto draw = [&](const PlainCall& c) {
    device.Clear();
    char text[] = "Ab#+2#=c";
    s.SetScale(c.scales[0], c.scales[1], c.scales[2]);
    s.StringOut(text, c.x, c.y, c.height, c.width, 0, c.style, c.angle, c.space, 0, 5, c.extra,
                &fonts);
  };
  draw(sane);
  ASSERT_TRUE(Drew(device));
  for (const PlainCall& c : bad) {
    draw(c);
    EXPECT_FALSE(Drew(device)) << c.what;
    EXPECT_TRUE(AllFinite(device)) << c.what;
  }
}

TEST_F(EntryFixture, DispStringWithABadNumberDrawsNothing) {
  auto draw = [&](double x, double height, double angle, double space) {
    device.Clear();
    CMapStringProbe::DispString(s, "Ab", x, 500, height, height, 0, 0, 0, 0, 0, angle, space, 0,
                                -1, 0);
  };
  draw(10, 12, 0, 0);
  ASSERT_TRUE(Drew(device));
  const double bad[][4] = {{kNaN, 12, 0, 0}, {10, kInf, 0, 0}, {10, 12, kNaN, 0},
                           {10, 12, 0, kInf}, {1e300, 12, 0, 0}, {10, 1e300, 0, 0}};
  for (const auto& b : bad) {
    draw(b[0], b[1], b[2], b[3]);
    EXPECT_FALSE(Drew(device)) << b[0] << " " << b[1] << " " << b[2] << " " << b[3];
    EXPECT_TRUE(AllFinite(device));
  }
}

// A host may make a font current and draw one glyph before any string: the
// design grid then comes from the library type instead of dividing by 0.
TEST_F(EntryFixture, GlyphBeforeAnyStringIsPlacedOnTheLibrarysGrid) {
  ASSERT_EQ(s.DesignGrid, 0.0);
  ASSERT_TRUE(CMapStringProbe::SetFont(s, 0, 0, 0, 0, 0, 12, 12, 0, false));
  CMapStringProbe::Inkline(s, "A", 10, 500, 0, 0, 0, 0.3, 0, 0.3);
  EXPECT_TRUE(Drew(device));
  EXPECT_TRUE(AllFinite(device));

  device.Clear();
  CMapStringProbe::Inkline(s, "A", kNaN, 500, 0, 0, 0, 0.3, 0, 0.3);
  CMapStringProbe::Inkline(s, "A", 10, 500, 0, 0, 0, kInf, 0, 0.3);
  EXPECT_FALSE(Drew(device));
}

TEST_F(EntryFixture, FontForAnAbsurdSizeIsRefused) {
  EXPECT_FALSE(CMapStringProbe::SetFont(s, 0, 0, 0, 0, 0, 1e300, 1e300, 0, false));
  EXPECT_FALSE(CMapStringProbe::SetFont(s, 0, 0, 0, 0, 0, kNaN, 12, 0, false));
  EXPECT_EQ(s.WinFont.lfHeight, 0);
}

TEST_F(EntryFixture, RichTextInABadBoxDrawsNothing) {
  char markup[] = "<body size=12><font face=0>AB</font></body>";
  s.SetScale(1, 1, 1);
  D_RECT box{0, 400, 120, 460};
  s.HTMLStringOut(markup, 0, 0, &box, 0);
  ASSERT_FALSE(device.CallsNamed("FillPolygons").empty());
  for (const D_RECT& bad : {D_RECT{kNaN, 400, 120, 460}, D_RECT{0, 400, kInf, 460},
                            D_RECT{0, -1e300, 120, 460}}) {
    device.Clear();
    D_RECT b = bad;
    s.HTMLStringOut(markup, 0, 0, &b, 0);
    EXPECT_FALSE(Drew(device));
  }
  // A body size beyond any picture reaches the runs, which refuse it: the
  // box's background is all that is drawn.
  char huge[] = "<body size=1e300><font face=0>AB</font></body>";
  device.Clear();
  s.HTMLStringOut(huge, 0, 0, &box, 0);
  EXPECT_TRUE(device.CallsNamed("FillPolygons").empty()) << device.Trace();
  EXPECT_TRUE(AllFinite(device));
}

TEST(EntryFactory, NoPlaceForTheObjectStillReturnsOne) {
  RecordingDevice device;
  EXPECT_EQ(CreateMapString(&device, nullptr), 1);
}

}  // namespace
