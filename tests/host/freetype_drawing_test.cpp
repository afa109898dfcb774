// The font library under the drawing code: what a host sees on its device
// when it draws with real fonts and with the stroke font.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include <inkline/host/char_library.h>
#include <inkline/host/freetype_font_lib.h>
#include <inkline/host/hostlib.h>
#include <inkline/host/recording_device.h>
#include <inkline/host/stroke_font_set.h>
#include <inkline/map_string.h>

namespace {

struct Drawing {
  explicit Drawing(FreeTypeFontLib* fonts) : installed(fonts), s(&device) {
    s.SetScale(1.0, 1.0, 1.0);
  }
  void Out(const char* text, double x, double y, double height, short fontNo) {
    std::string t = text;
    s.StringOut(&t[0], x, y, height, height, fontNo, 0, 0.0, 0.0, 0, 0, 0.0, nullptr);
  }
  ScopedMapFontLib installed;
  RecordingDevice device;
  CMapString s;
};

TEST(FreeTypeDrawing, LetterStandsOnTheBaselineAtItsHeight) {
  FreeTypeFontLib fonts;
  Drawing d(&fonts);
  d.Out("A", 100, 200, 24, 7);
  const auto fills = d.device.CallsNamed("FillPolygons");
  ASSERT_EQ(fills.size(), 1u) << d.device.Trace();
  double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
  for (const auto& run : fills[0].runs)
    for (const D_POINT& p : run) {
      minX = std::min(minX, p.x);
      maxX = std::max(maxX, p.x);
      minY = std::min(minY, p.y);
      maxY = std::max(maxY, p.y);
    }
  // DejaVu Sans "A": ink 16..1384 across, 0..1493 up, in a 2384-unit cell
  // whose bottom is the reference point and whose baseline is 483 above it.
  const double unit = 24.0 / 2384;
  EXPECT_NEAR(minY, 200.0 + 483 * unit, 1e-6);
  EXPECT_NEAR(maxY, 200.0 + (483 + 1493) * unit, 1e-6);
  EXPECT_NEAR(minX, 100.0 + 16 * unit, 1e-6);
  EXPECT_NEAR(maxX, 100.0 + 1384 * unit, 1e-6);
}

TEST(FreeTypeDrawing, StrokeFontDrawsTheFilesSegments) {
  clib::Builder builder;
  std::string error;
  ASSERT_TRUE(clib::BuildStrokeFont(clib::DefaultHersheyDir(), clib::StandardMappings(),
                                    &builder, nullptr, &error))
      << error;
  const std::string path =
      ::testing::TempDir() + "inkline_drawing_" + std::to_string(getpid()) + ".clib";
  ASSERT_TRUE(builder.Write(path, &error)) << error;
  FreeTypeFontLib fonts;
  ASSERT_TRUE(fonts.OpenStrokeFont(path, &error)) << error;
  Drawing d(&fonts);
  d.Out("A\xA6\xD8", 0, 0, 16, 0);  // A and omega
  const auto lines = d.device.CallsNamed("DrawLine");
  const size_t segments = builder.Get(0xA3C1).size() + builder.Get(0xA6D8).size();
  ASSERT_EQ(lines.size(), segments) << d.device.Trace();
  // One grid unit is a sixteenth of the height; the omega starts a full
  // cell (its advance, 255 of 255) after the A.
  const clib::Segment first = builder.Get(0xA6D8).front();
  const auto& omega = lines[builder.Get(0xA3C1).size()].nums;
  EXPECT_NEAR(omega[0], 16 + first.from.x, 1e-9);
  EXPECT_NEAR(omega[1], first.from.y, 1e-9);
  std::remove(path.c_str());
}

}  // namespace
