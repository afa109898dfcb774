#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <inkline/afx.h>
#include <inkline/host/hostlib.h>
#include <inkline/host/recording_device.h>
#include <inkline/host/synthetic_font_lib.h>
#include <inkline/map_string.h>

#include "support/probe.h"

namespace {

constexpr double kSin15 = 0.25881904510252074;
constexpr double kCos15 = 0.96592582628906831;

// The default synthetic glyph is the square 0..20 x 0..40 with advance 40 on
// a grid of 40, so at height and width 40 a design unit is one device unit.
struct VectorGlyphFixture : ::testing::Test {
  explicit VectorGlyphFixture(short kind = 0) : device(Kind(kind)), installed(&fonts), s(&device) {
    device.CurPen = PEN{1.5, 3, 0};
    device.CurBrush = BRUSH{5, 0, 0, 0};
    s.DesignGrid = 40.0;
    s.CharHeight = 40.0;
    s.LineWidth = 0.5;
    s.OutlineWidth = 2.0;
    s.OutlineColor = 9;
    font().advances['a'] = 0.5;  // below one design unit
  }
  static RecordingDevice::Settings Kind(short kind) {
    RecordingDevice::Settings settings;
    settings.kind = kind;
    return settings;
  }
  SyntheticFont& font() { return *fonts.Font(0); }

  void Run(const char* text, double x, double y, short style = 0, double angle = 0.0,
           char arrangement = 0, double height = 40.0, double width = 40.0,
           double spacing = 0.0, short underline = 0, short strikeOut = 0, short bold = 0) {
    s.GraphDispChar(x, y, height, width, const_cast<char*>(text), 0, style, bold, underline,
                    strikeOut, angle, spacing, arrangement, 0, 0.0, false);
  }
  // The points of every glyph drawn with the given call, one run each.
  std::vector<std::vector<D_POINT>> Glyphs(const std::string& name = "FillPolygons") const {
    std::vector<std::vector<D_POINT>> out;
    for (const auto& c : device.CallsNamed(name))
      out.push_back(c.runs.empty() ? std::vector<D_POINT>{} : c.runs[0]);
    return out;
  }

  RecordingDevice device;
  SyntheticFontLib fonts;
  ScopedMapFontLib installed;
  CMapString s;
};

void ExpectPoints(const std::vector<D_POINT>& got, const std::vector<D_POINT>& want,
                  const std::string& what) {
  ASSERT_EQ(got.size(), want.size()) << what;
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_NEAR(got[i].x, want[i].x, 1e-9) << what << " point " << i;
    EXPECT_NEAR(got[i].y, want[i].y, 1e-9) << what << " point " << i;
  }
}

using VectorGlyphRun = VectorGlyphFixture;

TEST_F(VectorGlyphRun, PlainCharacterDrawsWithTheSavedPenColourAndRestoresIt) {
  Run("A", 100.0, 200.0);
  EXPECT_EQ(device.Trace(),
            "SetPen 0 3\n"
            "FillPolygons runs=1 [100,200 120,200 120,240 100,240]\n"
            "SetPen 1.5 3\n"
            // decorations: the line pen is chosen even when no line is drawn
            "SetPen 0.5 3\n"
            "SetPen 1.5 3\n");
  EXPECT_EQ(font().lastOutlineHeight, 40.0);
}

TEST_F(VectorGlyphRun, EachSlantTurnsOneAxisBy15Degrees) {
  const double lean = 40.0 * kSin15, rise = 40.0 * kCos15;
  const double runX = 20.0 * kCos15, runY = 20.0 * kSin15;
  const struct {
    short style;
    std::vector<D_POINT> square;
  } cases[] = {
      {0, {{0, 0}, {20, 0}, {20, 40}, {0, 40}}},
      {1, {{0, 0}, {20, 0}, {20 - lean, rise}, {-lean, rise}}},  // leans left
      {2, {{0, 0}, {20, 0}, {20 + lean, rise}, {lean, rise}}},   // leans right
      {3, {{0, 0}, {runX, runY}, {runX, runY + 40}, {0, 40}}},   // baseline rises
      {4, {{0, 0}, {runX, -runY}, {runX, 40 - runY}, {0, 40}}},  // baseline falls
      {-1, {{0, 0}, {20, 0}, {20, 40}, {0, 40}}},                // negative: upright
      {-8, {{0, 0}, {20, 0}, {20, 40}, {0, 40}}},
  };
  for (const auto& c : cases) {
    device.Clear();
    Run("A", 0.0, 0.0, c.style);
    const auto glyphs = Glyphs();
    ASSERT_EQ(glyphs.size(), 1u) << "style " << c.style;
    ExpectPoints(glyphs[0], c.square, "style " + std::to_string(c.style));
  }
}

TEST_F(VectorGlyphRun, AngleNinetyPointsTheGlyphXAxisUpAndItsYAxisLeft) {
  font().yOffset = 4;  // lifts by 4 * 40 / 40 = 4, straight up even when rotated
  Run("AA", 100.0, 200.0, 0, 90.0, 0, 40.0, 20.0);
  const auto glyphs = Glyphs();
  ASSERT_EQ(glyphs.size(), 2u);
  // a1 = W/G = 0.5, a2 = 0, a3 = H/G = 1, a4 = 0.
  ExpectPoints(glyphs[0], {{100, 204}, {100, 214}, {60, 214}, {60, 204}}, "first");
  // The advance of 40 design units is 20 device units up the baseline.
  ExpectPoints(glyphs[1], {{100, 224}, {100, 234}, {60, 234}, {60, 224}}, "second");
}

TEST_F(VectorGlyphRun, VerticalRunsStartOneHeightDownAndStepByHeightPlusSpacing) {
  Run("AB", 100.0, 500.0, 0, 0.0, 1, 40.0, 20.0, 5.0, /*underline*/ 1);
  const auto glyphs = Glyphs();
  ASSERT_EQ(glyphs.size(), 2u);
  EXPECT_NEAR(glyphs[0][0].x, 100.0, 1e-9);
  EXPECT_NEAR(glyphs[0][0].y, 460.0, 1e-9);
  EXPECT_NEAR(glyphs[1][0].x, 100.0, 1e-9);
  EXPECT_NEAR(glyphs[1][0].y, 415.0, 1e-9);
  const auto lines = device.CallsNamed("DrawLine");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].line, "DrawLine 100 500 100 410");

  // Rotated by 90 the column runs to the right.
  device.Clear();
  Run("AB", 100.0, 500.0, 0, 90.0, 1, 40.0, 20.0, 5.0);
  const auto turned = Glyphs();
  ASSERT_EQ(turned.size(), 2u);
  EXPECT_NEAR(turned[0][0].x, 140.0, 1e-9);
  EXPECT_NEAR(turned[0][0].y, 500.0, 1e-9);
  EXPECT_NEAR(turned[1][0].x, 185.0, 1e-9);
  EXPECT_NEAR(turned[1][0].y, 500.0, 1e-9);
}

TEST_F(VectorGlyphRun, AdvancesBelowOneDoNotMoveTheCursorInEitherArrangement) {
  font().advances['b'] = 1.0;  // exactly one moves
  for (char arrangement : {0, 1}) {
    device.Clear();
    Run("aAbA", 0.0, 100.0, 0, 0.0, arrangement, 40.0, 40.0, 3.0, 1);
    const auto glyphs = Glyphs();
    ASSERT_EQ(glyphs.size(), 4u);
    const std::string what = arrangement ? "vertical" : "horizontal";
    EXPECT_EQ(glyphs[1][0].x, glyphs[0][0].x) << what;
    EXPECT_EQ(glyphs[1][0].y, glyphs[0][0].y) << what;
    if (arrangement == 0) {
      EXPECT_NEAR(glyphs[2][0].x, 43.0, 1e-9);  // A: 40 + spacing 3
      EXPECT_NEAR(glyphs[3][0].x, 47.0, 1e-9);  // b: 1 + spacing 3
      EXPECT_EQ(device.CallsNamed("DrawLine")[0].line, "DrawLine 0 100 90 100");
    } else {
      EXPECT_NEAR(glyphs[2][0].y, 60.0 - 43.0, 1e-9);
      EXPECT_NEAR(glyphs[3][0].y, 60.0 - 86.0, 1e-9);
      EXPECT_EQ(device.CallsNamed("DrawLine")[0].line, "DrawLine 0 100 0 -29");
    }
  }
}

TEST_F(VectorGlyphRun, AnEmptyRunStillDrawsAZeroLengthUnderline) {
  Run("", 100.0, 200.0, 0, 0.0, 0, 40.0, 40.0, 0.0, 1);
  EXPECT_EQ(device.Trace(),
            "SetPen 0.5 3\n"
            "DrawLine 100 200 100 200\n"
            "SetPen 1.5 3\n");
}

TEST_F(VectorGlyphRun, UnderlineAndStrikeOutFollowTheRotatedBaseline) {
  s.OutlineMode = 1;
  Run("AB", 100.0, 200.0, 0, 30.0, 0, 40.0, 40.0, 0.0, 1, 1);
  // End 80 along (cos 30, sin 30); the strike-out 16 up along (-sin 30, cos 30).
  const std::string under = "DrawLine 100 200 169.282032 240\n";
  const std::string strike = "DrawLine 92 213.856406 161.282032 253.856406\n";
  const std::string trace = device.Trace();
  const std::string tail = "SetPen 2.5 9\n" + under + strike + "SetPen 0.5 3\n" + under + strike +
                           "SetPen 1.5 3\n";
  ASSERT_GE(trace.size(), tail.size());
  EXPECT_EQ(trace.substr(trace.size() - tail.size()), tail);

  // Strike-out alone; flags other than 1 draw nothing.
  device.Clear();
  s.OutlineMode = -1;
  Run("AB", 100.0, 200.0, 0, 30.0, 0, 40.0, 40.0, 0.0, 2, 1);
  const auto lines = device.CallsNamed("DrawLine");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].line + "\n", strike);
}

TEST_F(VectorGlyphRun, NegativeItalicWithEqualSizesReleasesItsWindowsFont) {
  // The device records which font the object held while the glyph was drawn.
  struct SpyDevice : RecordingDevice {
    explicit SpyDevice(const Settings& settings) : RecordingDevice(settings) {}
    void FillPolygons(D_POINT* points, int* counts, short runs) override {
      held = owner->hFont;
      RecordingDevice::FillPolygons(points, counts, runs);
    }
    CMapString* owner = nullptr;
    HFONT held = nullptr;
  };
  RecordingDevice::Settings settings = Kind(1);
  settings.rationalDispMode = 1;
  SpyDevice spy(settings);
  CMapString t(&spy);
  spy.owner = &t;
  t.ClipFlag = 0;
  t.DesignGrid = 40.0;
  t.CharHeight = 40.0;
  t.pDC = CDC::FromHandle(spy.dc());
  const HGDIOBJ fontBefore = GetCurrentObject(spy.dc(), OBJ_FONT);

  t.GraphDispChar(0.0, 0.0, 40.0, 40.0, const_cast<char*>("A"), 0, -2, 0, 0, 0, 0.0, 0.0, 0, 0,
                  0.0, false);
  ASSERT_NE(spy.held, nullptr);  // the vector run did get a Windows font
  EXPECT_EQ(t.hFont, nullptr);
  EXPECT_EQ(GetObjectA(reinterpret_cast<HGDIOBJ>(spy.held), 0, nullptr), 0);  // deleted
  EXPECT_EQ(GetCurrentObject(spy.dc(), OBJ_FONT), fontBefore);
  EXPECT_EQ(GetBkMode(spy.dc()), OPAQUE);

  // The drawing is that of the same run without a Windows font.
  const std::string withFont = spy.Trace();
  spy.Clear();
  spy.settings.rationalDispMode = 0;
  t.GraphDispChar(0.0, 0.0, 40.0, 40.0, const_cast<char*>("A"), 0, -2, 0, 0, 0, 0.0, 0.0, 0, 0,
                  0.0, false);
  EXPECT_EQ(spy.Trace(), withFont);
}

TEST_F(VectorGlyphRun, AFontSelectedBeforeTheRunIsLeftAlone) {
  // Only a font the run itself created is released.
  s.hFont = reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  Run("A", 0.0, 0.0);
  EXPECT_EQ(s.hFont, reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  s.hFont = nullptr;
}

class VectorGlyphClip : public VectorGlyphFixture {
 protected:
  explicit VectorGlyphClip(short kind = 1) : VectorGlyphFixture(kind) {
    s.ClipRect = RECT{0, 0, 100, 100};
  }
};

TEST_F(VectorGlyphClip, SkipsOnlyWhenStartAndEstimatedEndAreBothOutside) {
  for (short kind = 0; kind <= 9; ++kind) {
    for (short flag : {0, 1}) {
      device.Clear();
      s.DeviceType = kind;
      s.ClipFlag = flag;
      // A at -50: both ends outside; then -10 (end 30 inside) and 30 inside.
      Run("AAA", -50.0, 10.0, 0, 0.0, 0, 40.0, 40.0, 0.0, 1);
      const bool clips = flag != 0 && (kind == 1 || kind == 3);
      const auto glyphs = Glyphs();
      ASSERT_EQ(glyphs.size(), clips ? 2u : 3u) << "kind " << kind << " flag " << flag;
      EXPECT_EQ(glyphs[0][0].x, clips ? -10.0 : -50.0);
      // A skipped character still advances the underline.
      EXPECT_EQ(device.CallsNamed("DrawLine")[0].line, "DrawLine -50 10 70 10");
    }
  }
}

TEST_F(VectorGlyphClip, TheEstimateUsesTheFirstCharactersAdvance) {
  font().advances['b'] = 100.0;
  // A at -130 and b at -90 are both skipped with A's advance of 40; with b's
  // own advance the run would end at 10 instead of -50.
  Run("Ab", -130.0, 10.0, 0, 0.0, 0, 40.0, 40.0, 0.0, 1);
  EXPECT_TRUE(Glyphs().empty());
  EXPECT_EQ(device.CallsNamed("DrawLine")[0].line, "DrawLine -130 10 -50 10");
}

TEST_F(VectorGlyphClip, RoundsBeforeTesting) {
  // The right edge is exclusive: 99.4 rounds to 99 (inside), 99.5 to 100.
  Run("A", 99.4, 10.0);
  EXPECT_EQ(Glyphs().size(), 1u);
  device.Clear();
  Run("A", 99.5, 10.0);
  EXPECT_EQ(Glyphs().size(), 0u);
  // Vertically the estimate is one cell down the column: the start 139.4
  // rounds outside, its estimated end 99.4 inside.
  device.Clear();
  Run("A", 10.0, 179.4, 0, 0.0, 1);
  EXPECT_EQ(Glyphs().size(), 1u);
  device.Clear();
  Run("A", 10.0, 180.0 + 40.0, 0, 0.0, 1);
  EXPECT_EQ(Glyphs().size(), 0u);
}

using VectorGlyphInkline = VectorGlyphFixture;

TEST_F(VectorGlyphInkline, DrawingOrderForEveryModeCombination) {
  const std::string A = "runs=1 [0,0 20,0 20,40 0,40]\n";
  const std::string B = "runs=1 [1.5,-1.5 21.5,-1.5 21.5,38.5 1.5,38.5]\n";
  const std::string restore = "SetPen 1.5 3\n";
  const struct {
    const char* what;
    short style, outline, bold, hollow;
    std::string trace;
  } cases[] = {
      {"plain", 0, -1, 0, 0, "SetPen 0 3\nFillPolygons " + A + restore},
      {"hollow", 0, -1, 0, 1, "SetPen 0 3\nDrawPolylines " + A + restore},
      {"bold only when 1", 0, -1, 2, 0, "SetPen 0 3\nFillPolygons " + A + restore},
      {"bold", 0, -1, 1, 0,
       "SetPen 2 3\nDrawPolylines " + A + "SetPen 0 3\nFillPolygons " + A + restore},
      {"outline", 4, 1, 0, 0,
       "SetPen 2 9\nDrawPolylines " + A + "SetPen 0 3\nFillPolygons " + A + restore},
      {"outline bold", 0, 1, 1, 0,
       "SetPen 4 9\nDrawPolylines " + A + "SetPen 2 3\nDrawPolylines " + A +
           "SetPen 0 3\nFillPolygons " + A + restore},
      {"outline bold hollow", 0, 1, 1, 1,
       "SetPen 4 9\nDrawPolylines " + A + "SetPen 2 3\nDrawPolylines " + A +
           "SetPen 0 3\nDrawPolylines " + A + restore},
      {"shadow", 5, -1, 0, 0,
       "SetBrush 12\nFillPolygons " + B + "SetPen 1.5 3\nSetBrush 5\nFillPolygons " + A +
           restore},
      {"shadow hollow", 9, -1, 0, 1,
       "SetPen 1 12\nDrawPolylines " + B + "SetPen 0 3\nDrawPolylines " + A + restore},
      {"shadow outline bold", 5, 1, 1, 0,
       "SetBrush 12\nFillPolygons " + B + "SetPen 4 9\nDrawPolylines " + A +
           "SetPen 2 3\nDrawPolylines " + A + "SetPen 1.5 3\nSetBrush 5\nFillPolygons " + A +
           restore},
      {"shadow outline bold hollow", 200, 1, 1, 1,
       "SetPen 1 12\nDrawPolylines " + B + "SetPen 4 9\nDrawPolylines " + A +
           "SetPen 2 3\nDrawPolylines " + A + "SetPen 0 3\nDrawPolylines " + A + restore},
  };
  s.CurFont = fonts.Font(0);
  for (const auto& c : cases) {
    device.Clear();
    s.CurStyle = c.style;
    s.OutlineMode = c.outline;
    s.Hollow = c.hollow;
    // Upright factors of one device unit per design unit.
    const double advance = CMapStringProbe::Inkline(s, "A", 0.0, 0.0, c.bold, 0, 0.0, 1.0, 0.0, 1.0);
    EXPECT_EQ(advance, 40.0) << c.what;
    EXPECT_EQ(device.Trace(), c.trace) << c.what;
  }
}

TEST_F(VectorGlyphInkline, ShadowFollowsTheSlantedAxes) {
  // Style 7: right-leaning slant with a shadow; the shift is
  // (1.5 (a2 - a3), 1.5 (a1 - a4)) with a3 = -sin 15 and a4 = cos 15.
  Run("A", 0.0, 0.0, 7);
  const auto glyphs = Glyphs();
  ASSERT_EQ(glyphs.size(), 2u);
  const double dx = 1.5 * (1.0 + kSin15), dy = 1.5 * (0.0 - kCos15);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_NEAR(glyphs[0][i].x, glyphs[1][i].x + dx, 1e-9);
    EXPECT_NEAR(glyphs[0][i].y, glyphs[1][i].y + dy, 1e-9);
  }
  EXPECT_NEAR(glyphs[1][3].x, 40.0 * kSin15, 1e-9);
}

TEST_F(VectorGlyphInkline, KindTwoSavesNothingAndRestoresTheZeroPen) {
  RecordingDevice kind2(Kind(2));
  kind2.CurPen = PEN{1.5, 3, 0};
  CMapString t(&kind2);
  t.DesignGrid = 40.0;
  t.CharHeight = 40.0;
  t.LineWidth = 0.5;
  PEN pen{7.0, 7, 7};
  EXPECT_EQ(t.GetOldPenOrBrush(&pen, nullptr), 0);
  EXPECT_EQ(pen.color, 7);
  t.GraphDispChar(0.0, 0.0, 40.0, 40.0, const_cast<char*>("A"), 0, 0, 0, 1, 0, 0.0, 0.0, 0, 0,
                  0.0, false);
  EXPECT_EQ(kind2.Trace(),
            "SetPen 0 0\n"
            "FillPolygons runs=1 [0,0 20,0 20,40 0,40]\n"
            "SetPen 0 0\n"
            "SetPen 0.5 0\n"
            "DrawLine 0 0 40 0\n"
            "SetPen 0 0\n");
}

TEST_F(VectorGlyphInkline, SavesPenAndBrushOnEveryOtherKind) {
  for (short kind : {0, 1, 3, 4, 5, 6, 7, 8, 9, -1, 10}) {
    s.DeviceType = kind;
    PEN pen{};
    BRUSH brush{};
    const bool saves = kind >= 0 && kind <= 9;
    EXPECT_EQ(s.GetOldPenOrBrush(&pen, &brush), saves ? 1 : 0) << kind;
    EXPECT_EQ(pen.color, saves ? 3 : 0) << kind;
    EXPECT_EQ(brush.color, saves ? 5 : 0) << kind;
    EXPECT_EQ(s.GetOldPenOrBrush(nullptr, nullptr), saves ? 1 : 0) << kind;
  }
}

TEST_F(VectorGlyphInkline, ZeroPartsStillReachTheDevice) {
  font().outlines['Z'] = {};
  Run("Z", 0.0, 0.0);
  const auto fills = device.CallsNamed("FillPolygons");
  ASSERT_EQ(fills.size(), 1u);
  EXPECT_EQ(fills[0].line, "FillPolygons runs=0");
}

TEST_F(VectorGlyphInkline, NegativePointTotalOrNoFontDrawsNothing) {
  struct BrokenFont : MapFont {
    short GetCharOutline(char*, double** points, int** sizes, short* parts, double) override {
      *points = coords;
      *sizes = counts;
      *parts = 2;
      return 1;
    }
    double CharLength(char*) override { return 40.0; }
    short GetYOffset() override { return 0; }
    double coords[4] = {0, 0, 1, 1};
    int counts[2] = {2, -5};
  } broken;
  s.CurFont = &broken;
  EXPECT_EQ(CMapStringProbe::Inkline(s, "A", 0.0, 0.0, 1, 0, 0.0, 1.0, 0.0, 1.0), 0.0);
  s.CurFont = nullptr;
  EXPECT_EQ(CMapStringProbe::Inkline(s, "A", 0.0, 0.0, 1, 0, 0.0, 1.0, 0.0, 1.0), 0.0);
  EXPECT_TRUE(device.calls.empty());
}

TEST_F(VectorGlyphInkline, LargeOutlinesGrowTheBufferWhichCopiesNeverShare) {
  SyntheticFont::Contour big;
  for (int i = 0; i < 700; ++i) big.push_back({i * 0.01, i % 40});
  font().outlines['W'] = {big, big};
  Run("W", 5.0, 0.0);
  const int grown = s.GlyphCap;
  EXPECT_GE(grown, 2800);  // both contours, and room for their shadow
  const auto glyphs = device.CallsNamed("FillPolygons");
  ASSERT_EQ(glyphs.size(), 1u);
  ASSERT_EQ(glyphs[0].runs.size(), 2u);
  ASSERT_EQ(glyphs[0].runs[1].size(), 700u);
  EXPECT_NEAR(glyphs[0].runs[1][699].x, 5.0 + 6.99, 1e-9);
  EXPECT_EQ(glyphs[0].runs[1][699].y, 699 % 40);

  // A smaller glyph reuses the buffer.
  Run("A", 0.0, 0.0);
  EXPECT_EQ(s.GlyphCap, grown);

  CMapString copy(s);
  EXPECT_EQ(copy.GlyphPoints, nullptr);
  EXPECT_EQ(copy.GlyphCap, 0);
  device.Clear();
  copy.GraphDispChar(0.0, 0.0, 40.0, 40.0, const_cast<char*>("A"), 0, 0, 0, 0, 0, 0.0, 0.0, 0, 0,
                     0.0, false);
  EXPECT_NE(copy.GlyphPoints, nullptr);
  EXPECT_NE(copy.GlyphPoints, s.GlyphPoints);
  EXPECT_EQ(device.CallsNamed("FillPolygons").size(), 1u);

  CMapString assigned(nullptr);
  assigned = s;
  EXPECT_NE(assigned.GlyphPoints, s.GlyphPoints);
}

}  // namespace
