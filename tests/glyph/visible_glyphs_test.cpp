// Glyphs outside the device's window are walked past, not drawn, when the
// host says its window bounds all its device shows (kClipToWindow): what
// shows in the window stays the same, and a long text costs no device call,
// and past the window no work, for the characters it cannot show. Without
// that word every glyph is drawn wherever it lies, except where kinds 1 and
// 3 clip.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <inkline/constants.h>
#include <inkline/host/hostlib.h>
#include <inkline/host/recording_device.h>
#include <inkline/host/synthetic_font_lib.h>
#include <inkline/map_string.h>

namespace {

constexpr int kUnderline = inkline::kStyleUnderline;
const D_RECT kWindow{0.0, 0.0, 1000.0, 1000.0};
const D_RECT kEverywhere{-1e7, -1e7, 1e7, 1e7};

struct Case {
  const char* name;
  short kind;
  short rationalDispMode;  // 1: TrueType runs
  double x, y, angle;
  char arrangement;
  double space;
  int style;
};

// The calls a text draws on a device with this window and clip flag, font 0
// named after an installed face so TrueType runs find it.
std::vector<RecordingDevice::Call> Draw(const Case& c, const D_RECT& window,
                                        const std::string& text, SyntheticFontLib& fonts,
                                        short clipFlag = inkline::kClipToWindow) {
  RecordingDevice::Settings settings;
  settings.kind = c.kind;
  settings.rationalDispMode = c.rationalDispMode;
  settings.winRect = window;
  RecordingDevice device(settings);
  CMapString s(&device);
  s.SetScale(1.0, 1.0, 1.0);
  s.SetClipFlag(clipFlag);
  std::string bytes = text;
  s.StringOut(&bytes[0], c.x, c.y, 10, 10, 0, static_cast<short>(c.style), c.angle, c.space,
              c.arrangement, 0, 0, &fonts);
  return device.Calls();
}

bool Near(double x, double y) {
  constexpr double kMargin = 20.0;
  return x >= kWindow.xmin - kMargin && x <= kWindow.xmax + kMargin &&
         y >= kWindow.ymin - kMargin && y <= kWindow.ymax + kMargin;
}

// Whether a drawing call can show in the window. GDI text is placed in rows
// of a 1000-row window.
bool Shows(const RecordingDevice::Call& call) {
  if (call.name == "GdiText") return Near(call.nums[0], 1000.0 - call.nums[1]);
  if (call.name == "DrawTextLogFont") return Near(call.nums[4], call.nums[5]);
  for (const auto& run : call.runs)
    for (const D_POINT& p : run)
      if (Near(p.x, p.y)) return true;
  return false;
}

// The lines of the calls that draw something in the window, and of every
// line drawn (underlines are never skipped).
std::vector<std::string> Showing(const std::vector<RecordingDevice::Call>& calls) {
  std::vector<std::string> out;
  for (const auto& call : calls) {
    const bool glyph = call.name == "FillPolygons" || call.name == "DrawPolylines" ||
                       call.name == "GdiText" || call.name == "GdiPolyDraw" ||
                       call.name == "DrawTextLogFont";
    if ((glyph && Shows(call)) || call.name == "DrawLine") out.push_back(call.line);
  }
  return out;
}

size_t GlyphCalls(const std::vector<RecordingDevice::Call>& calls) {
  size_t n = 0;
  for (const auto& call : calls)
    n += call.name == "FillPolygons" || call.name == "GdiText" || call.name == "DrawTextLogFont";
  return n;
}

size_t CallsNamed(const std::vector<RecordingDevice::Call>& calls, const char* name) {
  size_t n = 0;
  for (const auto& call : calls) n += call.name == name;
  return n;
}

struct VisibleGlyphs : ::testing::Test {
  VisibleGlyphs() : installed(&fonts) { fonts.Font(0)->faceName = "DejaVu Sans"; }
  SyntheticFontLib fonts;
  ScopedMapFontLib installed;
};

// Runs that start outside the window, cross it and leave it, on kinds that
// skip and one that does not know its window (2), turned, in columns, with
// spacing that moves them back, underlined: the window sees the same calls.
TEST_F(VisibleGlyphs, WhatShowsInTheWindowIsUnchanged) {
  const Case cases[] = {
      {"across", 0, 0, -2500, 500, 0, 0, 0, 0},
      {"turned", 0, 0, -1500, -900, 30, 0, 0, 0},
      {"backwards", 0, 0, 3500, 500, 180, 0, 0, 0},
      {"column", 6, 0, 500, 3000, 0, 1, 2, 0},
      {"spacing turns it back", 0, 0, 3000, 500, 0, 0, -15, 0},
      {"underlined", 4, 0, -2500, 500, 10, 0, 0, kUnderline},
      {"truetype", 0, 1, -2500, 500, 0, 0, 0, 0},
      {"truetype turned", 6, 1, 3000, 3000, 225, 0, 0, 0},
      {"native text", 7, 1, -2500, 500, 0, 0, 0, 0},
      {"window unknown", 2, 0, -2500, 500, 0, 0, 0, 0},
  };
  std::string text;
  for (int i = 0; i < 300; ++i) text += "ab\xD6\xD0";  // Latin and double-byte characters
  for (const Case& c : cases) {
    const auto inWindow = Draw(c, kWindow, text, fonts);
    const auto everywhere = Draw(c, kEverywhere, text, fonts);
    EXPECT_GT(GlyphCalls(inWindow), 0u) << c.name;
    EXPECT_EQ(Showing(inWindow), Showing(everywhere)) << c.name;
    if (c.kind != 2) {
      EXPECT_LT(GlyphCalls(inWindow), GlyphCalls(everywhere)) << c.name;
    }
  }
}

// A 1 MB text: the calls stay those of the window's glyphs, and past the
// window the rest is not visited unless an underline needs its end.
TEST_F(VisibleGlyphs, MegabyteTextDrawsOnlyWhatShows) {
  const std::string text(1 << 20, 'a');
  const double perChar = 10.0 * fonts.Font(0)->defaultAdvance / 40.0;
  const Case cases[] = {
      {"outlines", 0, 0, 100, 500, 0, 0, 0, 0},
      {"underlined", 0, 0, 100, 500, 0, 0, 0, kUnderline},
      {"truetype", 3, 1, 100, 500, 0, 0, 0, 0},
      {"column", 0, 0, 500, 900, 0, 1, 0, 0},
  };
  for (const Case& c : cases) {
    const int outlinesBefore = fonts.Font(0)->outlineCalls;
    const auto calls = Draw(c, kWindow, text, fonts);
    EXPECT_GT(GlyphCalls(calls), 0u) << c.name;
    EXPECT_LT(GlyphCalls(calls), 400u) << c.name;
    const int outlines = fonts.Font(0)->outlineCalls - outlinesBefore;
    if (!(c.style & kUnderline)) {
      EXPECT_LT(outlines, 400) << c.name;
      continue;
    }
    // The underline still ends where the whole text does.
    const RecordingDevice::Call* line = nullptr;
    for (const auto& call : calls)
      if (call.name == "DrawLine") line = &call;
    ASSERT_NE(line, nullptr) << c.name;
    EXPECT_DOUBLE_EQ(line->nums[2], c.x + perChar * static_cast<double>(text.size())) << c.name;
  }
}

// A window rectangle need not be the drawing area: a host drawing a sheet, a
// page or an export sets a window and draws beyond it. Every kind but 1 and
// 3 draws every glyph there, with the clip flag off and with it on (the
// default, which only kinds 1 and 3 clip by); kinds 1 and 3 clip only with
// the flag on. Text at x = 1e5, far right of the 1000-unit window.
TEST_F(VisibleGlyphs, EveryGlyphDrawnUnlessTheHostClips) {
  struct Expect {
    const char* name;
    short kind;
    short rationalDispMode;
    short clipFlag;
    const char* glyphCall;
    size_t glyphs;
  };
  const Expect cases[] = {
      {"window, clip off", 0, 0, inkline::kClipOff, "FillPolygons", 2},
      {"window, clip on", 0, 0, inkline::kClipOn, "FillPolygons", 2},
      {"window, TrueType", 0, 1, inkline::kClipOn, "GdiText", 2},
      {"sheet", 4, 0, inkline::kClipOn, "FillPolygons", 2},
      {"window rectangle only", 5, 0, inkline::kClipOn, "FillPolygons", 2},
      {"other window", 6, 0, inkline::kClipOn, "FillPolygons", 2},
      {"other window, TrueType", 6, 1, inkline::kClipOff, "GdiText", 2},
      {"text context, native", 7, 1, inkline::kClipOn, "DrawTextLogFont", 2},
      {"text context, outlines", 7, 0, inkline::kClipOff, "FillPolygons", 2},
      {"clipped window, clip off", 1, 0, inkline::kClipOff, "FillPolygons", 2},
      {"clipped window, TrueType, clip off", 1, 1, inkline::kClipOff, "GdiText", 2},
      {"page, clip off", 3, 0, inkline::kClipOff, "FillPolygons", 2},
      {"clipped window, clip on", 1, 0, inkline::kClipOn, "FillPolygons", 0},
      {"page, clip on", 3, 0, inkline::kClipOn, "FillPolygons", 0},
      {"window, the host's window bounds all", 0, 0, inkline::kClipToWindow, "FillPolygons", 0},
      {"text context, the host's window bounds all", 7, 1, inkline::kClipToWindow,
       "DrawTextLogFont", 0},
  };
  for (const Expect& e : cases) {
    const Case c{e.name, e.kind, e.rationalDispMode, 1e5, 500, 0, 0, 0, 0};
    const auto calls = Draw(c, kWindow, "AB", fonts, e.clipFlag);
    EXPECT_EQ(CallsNamed(calls, e.glyphCall), e.glyphs) << e.name;
  }
}

}  // namespace
