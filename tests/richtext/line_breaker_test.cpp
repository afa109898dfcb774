// The pure line breaker, and a long rich-text line broken in time linear in
// its length.
#include <chrono>
#include <cstddef>
#include <string>

#include <gtest/gtest.h>

#include <inkline/host/hostlib.h>
#include <inkline/host/synthetic_font_lib.h>
#include <inkline/map_string.h>

#include "richtext/line_breaker.h"

namespace {

using richtext::BreakLine;
using richtext::LineText;

struct BreakCase {
  const char* name;
  std::string head, tail;  // the runs already on the line, the new text
  std::size_t maxBytes;    // a prefix fits up to this many bytes...
  long maxChars;           // ...and characters
  long bytes, chars;       // the prefix that stays
};

class LineBreaker : public ::testing::TestWithParam<BreakCase> {};

TEST_P(LineBreaker, KeepsTheLongestFittingPrefixOnCharacterBoundaries) {
  const BreakCase& c = GetParam();
  const richtext::Break cut =
      BreakLine(LineText{c.head, c.tail}, [&](std::size_t bytes, long chars) {
        return bytes <= c.maxBytes && chars <= c.maxChars;
      });
  EXPECT_EQ(cut.bytes, c.bytes);
  EXPECT_EQ(cut.chars, c.chars);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LineBreaker,
    ::testing::Values(
        BreakCase{"Ascii", "", "ABCDEF", 5, 99, 5, 5},
        BreakCase{"AcrossTheRunsOnTheLine", "AB", "CDEF", 3, 99, 3, 3},
        BreakCase{"DoubleByteCharactersStayWhole", "", "\xB0\xA1\xB0\xA2\xB0\xA3", 5, 99, 4, 2},
        BreakCase{"CharactersCountedNotBytes", "\xB0\xA1", "\xB0\xA2" "AB", 99, 3, 5, 3},
        BreakCase{"LeadByteLastIsLeftOut", "", "AB\xB0", 99, 99, 2, 2},
        BreakCase{"NotEvenTheEmptyLine", "", "ABC", 0, -1, -1, 0},
        BreakCase{"EmptyLine", "", "", 99, 99, 0, 0}),
    [](const ::testing::TestParamInfo<BreakCase>& param) { return std::string(param.param.name); });

// One measurement per character kept, whatever the length of the text: a
// megabyte line that fits up to 900 000 bytes is measured 900 002 times.
TEST(LineBreakerCost, MeasuresOncePerCharacter) {
  const std::string text(1 << 20, 'A');
  long measurements = 0;
  const richtext::Break cut = BreakLine(LineText{"", text}, [&](std::size_t bytes, long) {
    ++measurements;
    return bytes <= 900000;
  });
  EXPECT_EQ(cut.bytes, 900000);
  EXPECT_EQ(measurements, 900002);
}

// A device that only counts what it is asked to do.
class CountingDevice : public DeviceDriver {
 public:
  short GetDeviceType() override { return 0; }
  void SetPen(PEN*) override {}
  void SetBrush(BRUSH*) override { ++brushes; }
  void DrawLine(double, double, double, double) override {}
  void DrawPolylines(D_POINT*, int*, short) override {}
  void FillPolygon(D_POINT*, int*, int) override {}
  void FillPolygons(D_POINT*, int*, short) override {}
  short GetRationalDispMode() override { return 0; }
  long brushes = 0;
};

// A megabyte of text on one line of markup, eleven characters to a line of
// the box (half a unit each, 5 units wide): 95 325 lines, each run selecting
// its brush once. Measuring every prefix
// of the rest, or copying the rest for every line, takes minutes here; a
// linear breaker well under a second. The bound is only a generous guard.
TEST(LineBreakerCost, MegabyteLineBreaksInLinearTime) {
  SyntheticFontLib fonts;
  ScopedMapFontLib installed(&fonts);
  CountingDevice device;
  CMapString s(&device);
  s.SetScale(1.0, 1.0, 1.0);
  constexpr long kLines = 95325;
  std::string markup = "<body size=1 space=0 bgcolor=0>" + std::string(11 * kLines, 'A');
  D_RECT box{0, 1e6, 5, 2e6};  // hangs down from y = 1e6 to 0

  const auto start = std::chrono::steady_clock::now();
  s.HTMLStringOut(&markup[0], 0, 0, &box, 0);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(device.brushes, kLines);
  EXPECT_LT(seconds, 20.0);
}

}  // namespace
