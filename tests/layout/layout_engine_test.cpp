// The layout of plain strings: fractions, raise and lower codes, stacked
// pairs, their positions and sizes, the fraction bar, and nested pieces.
//
// Every character of the synthetic font is one character width wide unless
// a test says otherwise, and its glyph is a square whose first point is the
// character's origin, so positions read straight off the device.
#include <pthread.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layout/layout_support.h"

namespace {

using layout_test::Bench;
using layout_test::DeviceOfKind;
using layout_test::Glyph;
using layout_test::Glyphs;

constexpr double kX = 100, kY = 200, kH = 10;

void Out(CMapString& s, const std::string& text, double x = kX, double y = kY, double angle = 0,
         char arrangement = 0, short style = 0, short color = 0, double extra = 0.0) {
  std::string t = text;
  s.StringOut(&t[0], x, y, kH, kH, 0, style, angle, 0, arrangement, color, extra, nullptr);
}

struct Expected {
  double x, y, size;
};

void ExpectGlyphs(const RecordingDevice& device, const std::vector<Expected>& expected,
                  const std::string& what) {
  const std::vector<Glyph> glyphs = Glyphs(device);
  ASSERT_EQ(glyphs.size(), expected.size()) << what;
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(glyphs[i].x, expected[i].x) << what << " glyph " << i;
    EXPECT_EQ(glyphs[i].y, expected[i].y) << what << " glyph " << i;
    EXPECT_NEAR(glyphs[i].height, expected[i].size, 1e-9) << what << " glyph " << i;
    EXPECT_NEAR(glyphs[i].width, expected[i].size, 1e-9) << what << " glyph " << i;
  }
}

struct LayoutCase {
  const char* text;
  std::vector<Expected> glyphs;
};

// Raised: half the height up; lowered: 0.15 of it down; both at 0.65 size,
// right after the prefix. '3' is twice as wide as the other characters.
TEST(LayoutCodes, RaisedLoweredAndNormalSegments) {
  const LayoutCase cases[] = {
      // The worked readings.
      {"H#-2#=O", {{100, 200, 10}, {110, 198.5, 6.5}, {116.5, 200, 10}}},
      {"X#+2#-3#=a", {{100, 200, 10}, {110, 205, 6.5}, {110, 198.5, 6.5}, {123, 200, 10}}},
      // The pair's width is the wider segment's, whichever comes first.
      {"X#+3#-2#=a", {{100, 200, 10}, {110, 205, 6.5}, {110, 198.5, 6.5}, {123, 200, 10}}},
      {"X#+2", {{100, 200, 10}, {110, 205, 6.5}}},
      {"X#-2", {{100, 200, 10}, {110, 198.5, 6.5}}},
      {"X#=2", {{100, 200, 10}, {110, 200, 10}}},
      // An empty prefix: the segment starts at the reference point.
      {"#+2", {{100, 205, 6.5}}},
      {"X#+", {{100, 200, 10}}},
      // Any other byte after '#' is text.
      {"a#b#", {{100, 200, 10}, {110, 200, 10}, {120, 200, 10}, {130, 200, 10}}},
      // The byte after the second '#' only marks a pair: the second segment
      // always takes the other position.
      {"X#+a#+b", {{100, 200, 10}, {110, 205, 6.5}, {110, 198.5, 6.5}}},
      {"X#-a#-b", {{100, 200, 10}, {110, 198.5, 6.5}, {110, 205, 6.5}}},
      // After a pair the text goes on at full size, whatever its code.
      {"X#+a#-b#+e", {{100, 200, 10}, {110, 205, 6.5}, {110, 198.5, 6.5}, {116.5, 200, 10}}},
      // A '#=' that opens a segment followed by another code sets it like a
      // lowered one.
      {"X#=a#=b", {{100, 200, 10}, {110, 198.5, 6.5}, {116.5, 200, 10}}},
      // The rest is a string of its own: its codes are read again.
      {"a#+b#=c#-d#=e",
       {{100, 200, 10}, {110, 205, 6.5}, {116.5, 200, 10}, {126.5, 198.5, 6.5}, {133, 200, 10}}},
  };
  for (const LayoutCase& c : cases) {
    Bench b;
    b.fonts.Font(0)->advances['3'] = 80;
    Out(b.s, c.text);
    ExpectGlyphs(b.device, c.glyphs, c.text);
  }
}

// Pieces are laid out by their length in the process-wide font library, as
// StringLength is asked with none of its own: a library handed to StringOut
// draws the glyphs but does not move the pieces. The handed library's
// characters are twice as wide; the pieces stand where the installed
// library's widths put them.
TEST(LayoutCodes, PiecesAreMeasuredInTheProcessWideLibrary) {
  Bench b;
  b.s.SetScale(1.0, 1.0, 1.0);
  SyntheticFontLib handed;
  handed.Font(0)->defaultAdvance = 80.0;
  std::string text = "H#-2#=O";
  b.s.StringOut(&text[0], kX, kY, kH, kH, 0, 0, 0, 0, 0, 0, 0, &handed);
  ExpectGlyphs(b.device, {{100, 200, 10}, {110, 198.5, 6.5}, {116.5, 200, 10}}, text);
}

TEST(LayoutFractions, NumeratorAboveTheBarDenominatorBelow) {
  const struct {
    const char* text;
    double barLength;  // 0: no bar
    std::vector<Expected> glyphs;
  } cases[] = {
      // 'b' is twice as wide: the bar takes its length, 'a' is centred.
      {"/a/b/", 20, {{105, 202.5, 10}, {100, 190, 10}}},
      {"/b/a/", 20, {{100, 202.5, 10}, {105, 190, 10}}},
      // Further slashes belong to the denominator.
      {"/a/b/e/", 40, {{115, 202.5, 10}, {100, 190, 10}, {120, 190, 10}, {130, 190, 10}}},
      // An empty denominator is passed on and draws nothing.
      {"/a//", 10, {{100, 202.5, 10}}},
      // Codes in the numerator are laid out by the nested string.
      {"/x#+a/e/", 40, {{100, 202.5, 10}, {110, 207.5, 6.5}, {115, 190, 10}}},
      // Only the closing slash follows the opening one: drawn as it stands,
      // codes included.
      {"/a/", 0, {{100, 200, 10}, {110, 200, 10}, {120, 200, 10}}},
      {"/", 0, {{100, 200, 10}}},
      {"/a#+e/",
       0,
       {{100, 200, 10}, {110, 200, 10}, {120, 200, 10}, {130, 200, 10}, {140, 200, 10},
        {150, 200, 10}}},
      // A second byte '/' is no fraction; its codes count.
      {"//a/", 0, {{100, 200, 10}, {110, 200, 10}, {120, 200, 10}, {130, 200, 10}}},
      {"//a#+e/", 0, {{100, 200, 10}, {110, 200, 10}, {120, 200, 10}, {130, 205, 6.5}, {136.5, 205, 6.5}}},
      // A denominator that is a fraction again, with its own bar a height
      // down; the outer bar spans the inner text as written, slashes included.
      {"/a//e/b//", 60, {{125, 202.5, 10}, {105, 192.5, 10}, {100, 180, 10}}},
  };
  for (const auto& c : cases) {
    Bench b;
    b.fonts.Font(0)->advances['b'] = 80;
    Out(b.s, c.text);
    ExpectGlyphs(b.device, c.glyphs, c.text);
    const auto bars = b.device.CallsNamed("DrawLine");
    if (c.barLength == 0) {
      EXPECT_TRUE(bars.empty()) << c.text;
      continue;
    }
    ASSERT_FALSE(bars.empty()) << c.text;
    EXPECT_EQ(bars[0].nums, (std::vector<double>{100, 200, 100 + c.barLength, 200})) << c.text;
  }
}

// Segments and numerators go through single precision; the prefix and the
// denominator keep double precision.
TEST(LayoutRounding, SegmentsAndNumeratorsPassThroughSinglePrecision) {
  {
    Bench b;
    Out(b.s, "X#+2#=Y", 0.1, 0.2);
    const std::vector<Glyph> g = Glyphs(b.device);
    ASSERT_EQ(g.size(), 3u);
    EXPECT_EQ(g[0].x, 0.1);
    EXPECT_EQ(g[0].y, 0.2);
    EXPECT_EQ(g[1].x, 10.1000003814697265625);
    EXPECT_EQ(g[1].y, 5.19999980926513671875);
    EXPECT_EQ(g[2].x, 16.6000003814697265625);
    EXPECT_EQ(g[2].y, 0.20000000298023223876953125);
  }
  {
    Bench b;
    Out(b.s, "/a/b/", 0.1, 0.2);
    const std::vector<Glyph> g = Glyphs(b.device);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[0].x, 0.100000001490116119384765625);
    EXPECT_EQ(g[0].y, 2.7000000476837158203125);
    EXPECT_EQ(g[1].x, 0.1);
    EXPECT_EQ(g[1].y, 0.2 - 10.0);
  }
}

TEST(LayoutDirections, VerticalAndTurnedText) {
  {
    // A column advances down and raises to the right; a run of the column
    // draws its first character one height below its origin.
    Bench b;
    Out(b.s, "X#+2", kX, kY, 0, 1);
    ExpectGlyphs(b.device, {{100, 190, 10}, {105, 183.5, 6.5}}, "vertical X#+2");
  }
  {
    // At 90 degrees a row advances up and raises to the left.
    Bench b;
    Out(b.s, "X#+2", kX, kY, 90);
    const std::vector<Glyph> g = Glyphs(b.device);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[1].x, 95);
    EXPECT_EQ(g[1].y, 210);
  }
  {
    Bench b;
    Out(b.s, "/a/bb/", kX, kY, 90);
    const auto bar = b.device.CallsNamed("DrawLine").at(0).nums;
    EXPECT_NEAR(bar[2], 100, 1e-9);
    EXPECT_NEAR(bar[3], 220, 1e-9);
    const std::vector<Glyph> g = Glyphs(b.device);
    ASSERT_EQ(g.size(), 3u);
    EXPECT_EQ(g[0].x, 97.5f);  // 0.25 of the height to the left
    EXPECT_EQ(g[0].y, 205);    // centred along the bar
    EXPECT_NEAR(g[1].x, 110, 1e-9);
  }
}

// Devices that keep no pen of their own draw the bar in colour 0 and are
// left with a zero pen.
TEST(LayoutFractions, BarPenPerDeviceKind) {
  for (short kind = 0; kind <= 9; ++kind) {
    Bench b(DeviceOfKind(kind));
    b.device.CurPen = PEN{0.3, 7, 0};
    Out(b.s, "/a/b/");
    const std::vector<RecordingDevice::Call>& calls = b.device.calls;
    size_t bar = 0;
    while (bar < calls.size() && calls[bar].name != "DrawLine") ++bar;
    ASSERT_TRUE(bar > 0 && bar + 1 < calls.size()) << "kind " << kind;
    const bool ownPen = kind != 2 && kind < 7;
    EXPECT_EQ(calls[bar - 1].line, ownPen ? "SetPen 1 7" : "SetPen 1 0") << "kind " << kind;
    EXPECT_EQ(calls[bar + 1].line, ownPen ? "SetPen 0.3 7" : "SetPen 0 0") << "kind " << kind;
  }
}

// The names of the glyph drawing calls, in order.
std::vector<std::string> GlyphCalls(const RecordingDevice& device) {
  std::vector<std::string> out;
  for (const auto& c : device.calls)
    if (c.name == "DrawPolylines" || c.name == "FillPolygons") out.push_back(c.name);
  return out;
}

// Pieces drawn as strings of their own are plain: the outline and hollow
// modes end with the first of them.
TEST(LayoutNested, OutlinedAndHollowTextEndsAtTheFirstNestedPiece) {
  const std::string O = "DrawPolylines", F = "FillPolygons";
  const struct {
    const char* text;
    short style;
    std::vector<std::string> calls;
  } cases[] = {
      {"X#+2#=Y", 0x0400, {O, F, O, F, F}},
      {"X#+2#=Y", 0x0800, {O, O, F}},
      {"X#+a#-b#=Y", 0x0400, {O, F, O, F, O, F, F}},
      {"X#+2", 0x0400, {O, F, O, F}},
      {"/a/b/", 0x0400, {F, F}},
      {"/a/b/", 0x0800, {F, F}},
  };
  for (const auto& c : cases) {
    Bench b;
    Out(b.s, c.text, kX, kY, 0, 0, c.style, 3, 2.0);
    EXPECT_EQ(GlyphCalls(b.device), c.calls) << c.text << " style " << c.style;
  }
}

// The background box is drawn behind every piece at the piece's own size.
TEST(LayoutNested, EveryPieceGetsItsOwnBox) {
  Bench b;
  Out(b.s, "AB#+C", kX, kY, 0, 0, 0, 5, 1.0);
  const auto boxes = layout_test::Boxes(b.device);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0][0], (layout_test::Pt{100, 200}));
  EXPECT_EQ(boxes[0][2], (layout_test::Pt{120, 210}));
  EXPECT_EQ(boxes[1][0], (layout_test::Pt{120, 205}));
  EXPECT_EQ(boxes[1][2], (layout_test::Pt{126, 211}));
}

// A window wide enough for every glyph of the long texts: glyphs that fall
// outside the window are not sent to the device.
RecordingDevice::Settings WideWindow() {
  RecordingDevice::Settings settings = DeviceOfKind(0);
  settings.winRect = D_RECT{-1e6, -1e6, 1e6, 1e6};
  return settings;
}

// Texts longer than a 16-bit length are laid out whole.
TEST(LayoutLongTexts, BeyondSixteenBitLengths) {
  {
    Bench b(WideWindow());
    Out(b.s, std::string(33000, 'a') + "#+2#=e");
    const std::vector<Glyph> g = Glyphs(b.device);
    ASSERT_EQ(g.size(), 33002u);
    EXPECT_EQ(g[32999].x, 100 + 32999 * 10);
    EXPECT_EQ(g[33000].x, 100 + 330000);
    EXPECT_EQ(g[33000].y, 205);
    EXPECT_EQ(g[33001].x, 100 + 330000 + 6.5);
  }
  {
    Bench b(WideWindow());
    Out(b.s, "/" + std::string(20000, 'a') + "/" + std::string(17000, 'e') + "/");
    const std::vector<Glyph> g = Glyphs(b.device);
    ASSERT_EQ(g.size(), 37000u);
    EXPECT_EQ(b.device.CallsNamed("DrawLine").at(0).nums[2], 100 + 200000);
    EXPECT_EQ(g[0].y, 202.5);
    EXPECT_EQ(g[20000].x, 100 + 15000);
    EXPECT_EQ(g[20000].y, 190);
  }
}

// A device that only counts glyphs and keeps the last one's origin, for
// texts too long to record.
class CountingDevice : public DeviceDriver {
 public:
  short GetDeviceType() override { return 0; }
  void SetPen(PEN* pen) override { CurPen = *pen; }
  void SetBrush(BRUSH* brush) override { CurBrush = *brush; }
  void DrawLine(double, double, double, double) override { ++lines; }
  void DrawPolylines(D_POINT*, int*, short) override {}
  void FillPolygon(D_POINT*, int*, int) override {}
  void FillPolygons(D_POINT* points, int*, short) override {
    ++glyphs;
    last = points[0];
  }
  short GetRationalDispMode() override { return 0; }
  long glyphs = 0, lines = 0;
  D_POINT last{};
};

// Runs work on a thread with a small stack, so that layout whose depth grew
// with the text would overflow it.
template <typename Work>
void OnSmallStack(Work work) {
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 512 * 1024);
  pthread_t thread;
  auto trampoline = [](void* arg) -> void* {
    (*static_cast<Work*>(arg))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, trampoline, &work), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
}

TEST(LayoutLongTexts, ManyNestedPiecesDoNotDeepenTheStack) {
  SyntheticFontLib fonts;
  ScopedMapFontLib installed(&fonts);
  {
    constexpr int kPairs = 100000;
    std::string text;
    for (int i = 0; i < kPairs; ++i) text += "a#+b#=";
    text += "c";
    CountingDevice device;
    CMapString s(&device);
    OnSmallStack([&] { Out(s, text); });
    EXPECT_EQ(device.glyphs, 2 * kPairs + 1);
    EXPECT_EQ(device.last.x, 100 + kPairs * 16.5);
    EXPECT_EQ(device.last.y, 200);
  }
  {
    // Each fraction's denominator is the next fraction, 2000 deep.
    constexpr int kLevels = 2000;
    std::string text = "z";
    for (int i = 0; i < kLevels; ++i) text = "/a/" + text + "/";
    CountingDevice device;
    CMapString s(&device);
    OnSmallStack([&] { Out(s, text); });
    EXPECT_EQ(device.lines, kLevels);
    EXPECT_EQ(device.glyphs, kLevels + 1);
    EXPECT_EQ(device.last.x, 100);
    EXPECT_EQ(device.last.y, 200 - kLevels * 10);
  }
}

}  // namespace
