// The run writer: the device state taken per device kind, the clip
// rectangle, the background box, and the choice of the glyph renderer.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <inkline/afx.h>

#include "layout/layout_support.h"

namespace {

using layout_test::Bench;
using layout_test::Boxes;
using layout_test::DeviceOfKind;
using layout_test::Pt;

constexpr short kEstimate = -1;

void Write(CMapString& s, const char* text, short fontNo, short color, double boxScale,
           double x = 0, double y = 100) {
  std::string t = text;
  s.WriteString(x, y, 10, 10, &t[0], fontNo, 0, 0, 0, 0, 0, 0, 0, color, boxScale);
}

// Distinct contexts for every source a device kind may take its context from.
struct Contexts {
  Contexts() : win(CreateCompatibleDC(nullptr)), text(CreateCompatibleDC(nullptr)),
               dev(CreateCompatibleDC(nullptr)), page(CreateCompatibleDC(nullptr)),
               before(CreateCompatibleDC(nullptr)) {}
  ~Contexts() {
    for (HDC dc : {win, text, dev, page, before}) DeleteDC(dc);
  }
  HDC win, text, dev, page, before;
};

TEST(RunWriterDeviceState, TakenPerDeviceKind) {
  // pDC source ('W' window, 'T' text, 'D' device, 'P' page, '-' kept),
  // height ('w' window, 'p' page, 's' sheet, '-' kept), rectangle ('W' window, '-' kept).
  const struct {
    short kind;
    char dc, height, rect;
  } cases[] = {{0, 'W', 'w', 'W'}, {1, 'W', 'w', 'W'}, {2, 'D', '-', '-'}, {3, 'P', 'p', 'W'},
               {4, '-', 's', 'W'}, {5, '-', '-', 'W'}, {6, 'W', 'w', 'W'}, {7, 'T', 'w', 'W'},
               {8, 'D', '-', '-'}, {9, 'D', '-', '-'}, {12, 'D', '-', '-'}};
  for (const auto& c : cases) {
    Bench b(DeviceOfKind(c.kind));
    Contexts dcs;
    DeviceDriver& d = b.device;
    d.pWinDC = CDC::FromHandle(dcs.win);
    d.hTextDC = dcs.text;
    d.hDevDC = dcs.dev;
    d.hPageDC = dcs.page;
    d.WinHeight = 700;
    d.WinRect = D_RECT{10.4, 20.5, 300.5, 400.49};
    d.PageYMin = 100;
    d.PageYMax = 650.7;
    d.SheetYMin = 5;
    d.SheetYMax = 805.9;
    b.s.pDC = CDC::FromHandle(dcs.before);
    b.s.DevHeight = 123;
    b.s.DevRect = D_RECT{1, 2, 3, 4};

    Write(b.s, "", kEstimate, 0, 0);

    HDC expectedDC = c.dc == 'W'   ? dcs.win
                     : c.dc == 'T' ? dcs.text
                     : c.dc == 'D' ? dcs.dev
                     : c.dc == 'P' ? dcs.page
                                   : dcs.before;
    const int expectedHeight = c.height == 'w' ? 700 : c.height == 'p' ? 550 : c.height == 's' ? 800 : 123;
    EXPECT_EQ(b.s.pDC, CDC::FromHandle(expectedDC)) << "kind " << c.kind;
    EXPECT_EQ(b.s.DevHeight, expectedHeight) << "kind " << c.kind;
    const RECT& clip = b.s.ClipRect;
    if (c.rect == 'W') {
      EXPECT_EQ(b.s.DevRect.xmax, 300.5) << "kind " << c.kind;
      // Rounded edges; right and bottom one past.
      EXPECT_EQ(std::vector<long>({clip.left, clip.top, clip.right, clip.bottom}),
                std::vector<long>({10, 21, 302, 401}))
          << "kind " << c.kind;
    } else {
      EXPECT_EQ(b.s.DevRect.xmax, 3) << "kind " << c.kind;
      EXPECT_EQ(std::vector<long>({clip.left, clip.top, clip.right, clip.bottom}),
                std::vector<long>({1, 2, 4, 5}))
          << "kind " << c.kind;
    }
  }
}

TEST(RunWriterDeviceState, ClipRectTruncatesTowardZero) {
  RecordingDevice::Settings settings = DeviceOfKind(0);
  settings.winRect = D_RECT{-10.7, -0.6, -3.2, 5.0};
  Bench b(settings);
  Write(b.s, "", kEstimate, 0, 0);
  const RECT& clip = b.s.ClipRect;
  EXPECT_EQ(std::vector<long>({clip.left, clip.top, clip.right, clip.bottom}),
            std::vector<long>({-10, 0, -1, 6}));
}

TEST(RunWriterBox, FilledWithTheColourAndTheBrushPutBack) {
  for (short kind : {0, 1, 2, 3, 6, 7, 8, 9, 12}) {
    Bench b(DeviceOfKind(kind));
    b.device.CurBrush = BRUSH{3, 1, 2, 4};
    Write(b.s, "ABCDE", kEstimate, 5, 1.0);
    ASSERT_GE(b.device.calls.size(), 3u) << "kind " << kind;
    EXPECT_EQ(b.device.calls[0].line, "SetBrush 5") << "kind " << kind;
    EXPECT_EQ(b.device.calls[1].line, "FillPolygon runs=1 [0,99 25,99 25,110 0,110 0,99]")
        << "kind " << kind;
    // Kind 2 and unknown kinds have no brush of their own to put back.
    const bool ownBrush = kind != 2 && kind <= 9;
    EXPECT_EQ(b.device.calls[2].line, ownBrush ? "SetBrush 3" : "SetBrush 0") << "kind " << kind;
  }
}

TEST(RunWriterBox, ExactlyTheExtentOrEnlarged) {
  Bench b;
  SyntheticFont& f = *b.fonts.Font(0);
  f.advances['W'] = 60;
  f.yOffset = -4;
  b.s.DesignGrid = 40.0;
  Write(b.s, "AW", 0, 5, 1.0, 10, 100);
  Write(b.s, "AW", 0, 5, 1.5, 10, 100);
  const auto boxes = Boxes(b.device);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], (std::vector<Pt>{{10, 99}, {35, 99}, {35, 109}, {10, 109}, {10, 99}}));
  EXPECT_EQ(boxes[1], (std::vector<Pt>{{3, 99}, {41, 99}, {41, 109}, {3, 109}, {3, 99}}));
  // The box lies behind the glyphs: it is filled before them.
  size_t box = 0, glyph = 0;
  for (size_t i = 0; i < b.device.calls.size(); ++i) {
    if (b.device.calls[i].name == "FillPolygon" && !box) box = i + 1;
    if (b.device.calls[i].name == "FillPolygons" && !glyph) glyph = i + 1;
  }
  EXPECT_TRUE(box && glyph && box < glyph);
}

TEST(RunWriterBox, NoneWithoutColourFactorOrExtent) {
  const struct {
    short fontNo, color;
    double boxScale;
  } cases[] = {{kEstimate, 0, 1.0}, {kEstimate, -1, 1.0}, {kEstimate, 5, 0.0},
               {kEstimate, 5, -1.0}, {77, 5, 1.0}};
  for (const auto& c : cases) {
    Bench b;
    for (POINT& p : b.s.RangePoly) p = POINT{1, 1};  // an earlier run's extent
    Write(b.s, "AB", c.fontNo, c.color, c.boxScale);
    EXPECT_TRUE(b.device.CallsNamed("FillPolygon").empty())
        << c.fontNo << " " << c.color << " " << c.boxScale;
    EXPECT_TRUE(b.device.CallsNamed("SetBrush").empty())
        << c.fontNo << " " << c.color << " " << c.boxScale;
  }
}

// A run in neither a line nor a column, at an angle, has no box to turn:
// nothing is filled, and the polygon of an earlier run stays as it was.
TEST(RunWriterBox, NoneWhenTheExtentCannotBeTurned) {
  Bench b;
  for (POINT& p : b.s.RangePoly) p = POINT{1, 1};
  char text[] = "AB";
  b.s.WriteString(0, 100, 10, 10, text, kEstimate, 0, 0, 0, 0, 30, 0, 2, 5, 1.0);
  EXPECT_TRUE(b.device.CallsNamed("FillPolygon").empty());
  for (const POINT& p : b.s.RangePoly) EXPECT_EQ(Pt({p.x, p.y}), Pt({1, 1}));
}

// The style is tested with its sign here: a negative italic style is drawn
// from the vector font.
TEST(RunWriterChoice, NegativeStyleTakesTheVectorPath) {
  Bench b(DeviceOfKind(8, 1));
  b.s.DesignGrid = 40.0;
  char text[] = "A";
  b.s.WriteString(0, 0, 12, 12, text, 0, -2, 0, 0, 0, 0, 0, 0, 0, 0.0);
  EXPECT_TRUE(b.device.CallsNamed("DrawTextLogFont").empty());
  EXPECT_EQ(b.device.CallsNamed("FillPolygons").size(), 1u);
}

}  // namespace
