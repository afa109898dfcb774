// TrueType runs on the recording device: GDI text written on the device's
// context in real fonts, outlines stroked from GDI paths, and native text.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <inkline/afx.h>
#include <inkline/host/hostlib.h>
#include <inkline/host/recording_device.h>
#include <inkline/host/synthetic_font_lib.h>
#include <inkline/map_string.h>


namespace {

constexpr double kPi = 3.141592653589793;


long Rounded(double v) { return static_cast<long>(std::trunc(v + 0.5)); }

// A string object on a recording device that allows TrueType, its font 0
// named after an installed face. At height and width 40 on a grid of 40 a
// design unit is one device unit; rows are 1000 - y.
struct TrueTypeFixture : ::testing::Test {
  explicit TrueTypeFixture(short kind = 0)
      : device(Settings(kind)), installed(&fonts), s(&device) {
    fonts.Font(0)->faceName = "DejaVu Sans";
    device.CurPen = PEN{1.5, 3, 0};
    device.CurBrush = BRUSH{5, 0, 0, 0};
    s.DesignGrid = 40.0;
    s.pDC = device.pWinDC;
    s.DevHeight = 1000;
    s.ClipRect = RECT{0, 0, 1000, 1000};
    s.LineWidth = 0.5;
    s.OutlineWidth = 2.0;
    s.OutlineColor = 9;
  }
  static RecordingDevice::Settings Settings(short kind) {
    RecordingDevice::Settings settings;
    settings.kind = kind;
    settings.rationalDispMode = 1;
    return settings;
  }
  SyntheticFont& font() { return *fonts.Font(0); }

  void Run(const char* text, double x, double y, double angle = 0.0, char arrangement = 0,
           double height = 40.0, double width = 40.0, double spacing = 0.0, short underline = 0,
           short strikeOut = 0) {
    const bool native = s.DeviceType >= 7 && s.DeviceType <= 9;
    s.WinDispChar(x, y, height, width, const_cast<char*>(text), 0, 0, 0, underline, strikeOut,
                  angle, spacing, arrangement, 0, 0.0, native);
  }
  // Where each GDI text was written, in GDI's integer coordinates.
  std::vector<std::pair<long, long>> Written() const {
    std::vector<std::pair<long, long>> out;
    for (const auto& c : device.CallsNamed("GdiText"))
      out.emplace_back(static_cast<long>(c.nums[0]), static_cast<long>(c.nums[1]));
    return out;
  }

  RecordingDevice device;
  SyntheticFontLib fonts;
  ScopedMapFontLib installed;
  CMapString s;
};

using Pos = std::vector<std::pair<long, long>>;

using TrueTypeRun = TrueTypeFixture;

TEST_F(TrueTypeRun, WritesEachCharacterAtTheTopOfItsCell) {
  const struct {
    double angle;
  } cases[] = {{0.0}, {30.0}, {90.0}, {-45.0}};
  for (const auto& c : cases) {
    device.Clear();
    Run("AB", 100.0, 200.0, c.angle);
    const double t = c.angle * kPi / 180.0;
    // The top of the first cell, then one advance (40 units) along the baseline.
    const double px = 100.0 - 40.0 * std::sin(t), py = 200.0 + 40.0 * std::cos(t);
    const double qx = px + 40.0 * std::cos(t), qy = py + 40.0 * std::sin(t);
    EXPECT_EQ(Written(), (Pos{{Rounded(px), Rounded(1000 - py)}, {Rounded(qx), Rounded(1000 - qy)}}))
        << c.angle;
  }
  // Written in the run's font, which then is given back.
  const auto texts = device.CallsNamed("GdiText");
  ASSERT_FALSE(texts.empty());
  EXPECT_NE(texts[0].line.find("face=DejaVu Sans h=40"), std::string::npos) << texts[0].line;
#if !defined(_WIN32)  // the font file and glyph points only the portable layer reports
  EXPECT_NE(texts[0].line.find("file=DejaVuSans.ttf"), std::string::npos) << texts[0].line;
  EXPECT_GT(texts[0].nums[4], 0);  // glyph points
#endif
}

TEST_F(TrueTypeRun, VerticalColumnStartsBesideTheReferencePointAndStepsByTheHeight) {
  // Height and width differ but round alike; the column starts at
  // (x + (H - W) sin a, y) and steps by H + spacing down the column.
  const double h = 40.4, w = 39.6, spacing = 2.0;
  for (double angle : {90.0, 30.0, 0.0}) {
    device.Clear();
    Run("AB", 100.0, 200.0, angle, 1, h, w, spacing);
    const double t = angle * kPi / 180.0;
    const double px = 100.0 + (h - w) * std::sin(t), py = 200.0;
    const double qx = px + (h + spacing) * std::sin(t), qy = py - (h + spacing) * std::cos(t);
    EXPECT_EQ(Written(), (Pos{{Rounded(px), Rounded(1000 - py)}, {Rounded(qx), Rounded(1000 - qy)}}))
        << angle;
  }
}

TEST_F(TrueTypeRun, RestoresTheFontAndBackgroundAtTheEndOfTheRun) {
  const HDC dc = device.dc();
  const HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
  ASSERT_EQ(GetBkMode(dc), OPAQUE);
  Run("A", 100.0, 200.0, 0.0, 0, 40.0, 40.0, 0.0, /*underline=*/1);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), before);
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(s.hFont, nullptr);
  EXPECT_EQ(s.hOldFont, nullptr);
  // The text went out transparent; the underline came after it, to the end
  // of the run, and the saved pen was selected last.
  const auto texts = device.CallsNamed("GdiText");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].line.find("bk=transparent"), std::string::npos);
  std::vector<std::string> names;
  for (const auto& c : device.Calls()) names.push_back(c.name);
  EXPECT_EQ(names, (std::vector<std::string>{"GdiText", "SetPen", "DrawLine", "SetPen"}));
  EXPECT_EQ(device.CallsNamed("DrawLine")[0].nums, (std::vector<double>{100, 200, 140, 200}));
}

struct ClipCase {
  short kind;
  double y;  // baseline; the cell top is 40 higher
  bool written;
};

class TrueTypeClip : public TrueTypeFixture, public ::testing::WithParamInterface<ClipCase> {
 public:
  TrueTypeClip() : TrueTypeFixture(GetParam().kind) {}
};

// The clip rectangle holds GDI rows 0 to 499: the upper half of the device.
TEST_P(TrueTypeClip, OnlyAWindowDeviceTestsTheTopOfTheCellInGdiRows) {
  s.ClipRect = RECT{0, 0, 1000, 500};
  Run("A", 100.0, GetParam().y);
  EXPECT_EQ(Written().size(), GetParam().written ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, TrueTypeClip,
    ::testing::Values(ClipCase{1, 200.0, false},   // row 760: below the rectangle
                      ClipCase{1, 700.0, true},    // row 260: inside
                      ClipCase{1, 455.0, false},   // top at row 505
                      ClipCase{1, 465.0, true},    // top at row 495
                      ClipCase{0, 200.0, true},    // other kinds are never clipped here
                      ClipCase{3, 200.0, true},
                      ClipCase{6, 200.0, true}));

using TrueTypeClipAdvance = TrueTypeFixture;

TEST_F(TrueTypeClipAdvance, ClippedCharactersMoveByTheLastAdvanceWritten) {
  s.DeviceType = 1;
  s.ClipRect = RECT{0, 0, 150, 1000};  // columns 0 to 149
  font().advances['B'] = 80.0;
  font().advances['C'] = 10.0;
  font().advances['D'] = 20.0;
  Run("ABCD", 100.0, 200.0, 0.0, 0, 40.0, 40.0, 0.0, /*underline=*/1);
  // A at 100 and B at 140 are written; C at 220 and D at 300 are not, and
  // each moves by B's 80, not by its own advance.
  EXPECT_EQ(Written(), (Pos{{100, 760}, {140, 760}}));
  EXPECT_EQ(device.CallsNamed("DrawLine").at(0).nums, (std::vector<double>{100, 200, 380, 200}));
}

TEST_F(TrueTypeClipAdvance, BeforeAnythingIsWrittenAClippedCharacterMovesOnlyBySpacing) {
  s.DeviceType = 1;
  s.ClipRect = RECT{0, 0, 150, 1000};
  Run("AB", 600.0, 200.0, 0.0, 0, 40.0, 40.0, 5.0, /*underline=*/1);
  EXPECT_TRUE(Written().empty());
  EXPECT_EQ(device.CallsNamed("DrawLine").at(0).nums, (std::vector<double>{600, 200, 610, 200}));
  // In a column a clipped character still steps a whole cell.
  device.Clear();
  Run("AB", 600.0, 200.0, 0.0, 1, 40.0, 40.0, 5.0, /*underline=*/1);
  EXPECT_EQ(device.CallsNamed("DrawLine").at(0).nums, (std::vector<double>{600, 200, 600, 110}));
}

// The points and types of the path GDI records for ch in the font of a run
// of height 40 on this machine.
struct GdiPathOf {
  explicit GdiPathOf(const char* ch) {
    LOGFONTA lf{};
    lf.lfHeight = 40;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;  // as the library asks for every font
    std::strcpy(lf.lfFaceName, "DejaVu Sans");
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT f = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(f));
    BeginPath(dc);
    TextOutA(dc, 100, 760, ch, static_cast<int>(std::strlen(ch)));
    EndPath(dc);
    const int n = GetPath(dc, nullptr, nullptr, 0);
    points.resize(static_cast<size_t>(n > 0 ? n : 0));
    types.resize(points.size());
    if (n > 0) GetPath(dc, points.data(), types.data(), n);
    SelectObject(dc, old);
    DeleteObject(reinterpret_cast<HGDIOBJ>(f));
    DeleteDC(dc);
  }
  std::vector<POINT> points;
  std::vector<BYTE> types;
};

using TrueTypeOutline = TrueTypeFixture;

TEST_F(TrueTypeOutline, PathBuffersGrowToExactlyThePointCountAndAreReused) {
  const GdiPathOf ring("O"), stem("l");
  ASSERT_GT(ring.points.size(), stem.points.size());
  ASSERT_GT(stem.points.size(), 0u);
  // Start from buffers too small for either glyph.
  std::free(s.PathPoints);
  std::free(s.PathTypes);
  s.PathPoints = static_cast<POINT*>(std::malloc(sizeof(POINT) * 2));
  s.PathTypes = static_cast<BYTE*>(std::malloc(2));
  s.PathCap = 2;
  s.OutlineMode = 1;

  Run("O", 100.0, 200.0);
  EXPECT_EQ(s.PathCap, static_cast<int>(ring.points.size()));
  const POINT* grown = s.PathPoints;
  const auto strokes = device.CallsNamed("GdiPolyDraw");
  ASSERT_EQ(strokes.size(), 1u);
  ASSERT_EQ(strokes[0].runs[0].size(), ring.points.size());
  for (size_t i = 0; i < ring.points.size(); ++i) {
    EXPECT_EQ(strokes[0].runs[0][i].x, ring.points[i].x) << i;
    EXPECT_EQ(strokes[0].runs[0][i].y, ring.points[i].y) << i;
  }
  EXPECT_EQ(std::memcmp(s.PathTypes, ring.types.data(), ring.types.size()), 0);

  // A shorter path reuses the buffers as they are.
  Run("l", 100.0, 200.0);
  EXPECT_EQ(s.PathCap, static_cast<int>(ring.points.size()));
  EXPECT_EQ(s.PathPoints, grown);
  EXPECT_EQ(device.CallsNamed("GdiPolyDraw").back().nums[2], double(stem.points.size()));
}

TEST_F(TrueTypeOutline, StrokesTheOutlineWithTheOutlinePenBeforeTheText) {
  s.OutlineMode = 1;
  Run("A", 100.0, 200.0);
  std::vector<std::string> lines;
  for (const auto& c : device.Calls())
    lines.push_back(c.name == "SetPen" ? c.line : c.name);
  EXPECT_EQ(lines, (std::vector<std::string>{"SetPen 2 9", "GdiPolyDraw", "SetPen 1.5 3",
                                             "GdiText", "SetPen 2.5 9", "SetPen 0.5 3",
                                             "SetPen 1.5 3"}));
  // The outline is closed figures in the run's place.
  const auto stroke = device.CallsNamed("GdiPolyDraw").at(0);
  EXPECT_EQ(stroke.line.rfind("GdiPolyDraw pen=", 0), 0u);
  EXPECT_NE(stroke.line.find(" M "), std::string::npos);
  EXPECT_NE(stroke.line.find(" Z"), std::string::npos);
  // The outline font was given back: the run's font is selected until its end.
  EXPECT_EQ(s.hFont, nullptr);
}

TEST_F(TrueTypeOutline, APathWithoutPointsWritesNothingButKeepsItsRoom) {
  s.OutlineMode = 1;
  const POINT* before = s.PathPoints;
  Run(" A", 100.0, 200.0);
  // The space outlines nothing and is not written, yet the A comes one
  // space advance (40 units at this size) after it.
  EXPECT_EQ(Written(), (Pos{{140, 760}}));
  EXPECT_EQ(device.CallsNamed("GdiPolyDraw").size(), 1u);
  EXPECT_EQ(s.PathPoints, before);
  EXPECT_EQ(s.PathCap, 500);
}

using TrueTypeChar = TrueTypeFixture;

TEST_F(TrueTypeChar, ReturnsTheAdvanceOrMinusOneForNoCharacter) {
  s.CurFont = &font();
  font().advances['Q'] = 33.0;
  EXPECT_EQ(s.DispWinChar(10.0, 20.0, nullptr, false), -1.0);
  EXPECT_EQ(s.DispWinChar(10.0, 20.0, const_cast<char*>("Q"), false), 33.0);
  // Without a context nothing is written, the advance still counts.
  s.pDC = nullptr;
  device.Clear();
  EXPECT_EQ(s.DispWinChar(10.0, 20.0, const_cast<char*>("Q"), false), 33.0);
  // With outlining there is no path to take: nothing, and no advance.
  s.OutlineMode = 1;
  EXPECT_EQ(s.DispWinChar(10.0, 20.0, const_cast<char*>("Q"), false), 0.0);
  EXPECT_TRUE(device.calls.empty());
  // Without a font nothing is measured.
  s.CurFont = nullptr;
  s.OutlineMode = -1;
  EXPECT_EQ(s.DispWinChar(10.0, 20.0, const_cast<char*>("Q"), false), 0.0);
}

class TrueTypeNative : public TrueTypeFixture {
 public:
  TrueTypeNative() : TrueTypeFixture(8) {}
};

TEST_F(TrueTypeNative, PlainTextMovesAQuarterOrHalfTheHeightAlongTheEscapement) {
  ASSERT_EQ(s.TextDriver, &device);
  font().advances[0xD6D0] = 80.0;
  const double angle = 30.0;
  Run("A\xD6\xD0", 100.0, 200.0, angle);
  const auto texts = device.CallsNamed("DrawTextLogFont");
  ASSERT_EQ(texts.size(), 2u);
  const double t = angle * kPi / 180.0;
  const double px = 100.0 - 40.0 * std::sin(t), py = 200.0 + 40.0 * std::cos(t);
  // lfHeight 40, escapement 300 tenths of a degree.
  const float quarterX = static_cast<float>(0.25 * 40 * std::cos(300 * kPi / 1800));
  const float quarterY = static_cast<float>(0.25 * 40 * std::sin(300 * kPi / 1800));
  const float halfX = static_cast<float>(0.5 * 40 * std::cos(300 * kPi / 1800));
  const float halfY = static_cast<float>(0.5 * 40 * std::sin(300 * kPi / 1800));
  EXPECT_DOUBLE_EQ(texts[0].nums[4], px + quarterX);
  EXPECT_DOUBLE_EQ(texts[0].nums[5], py + quarterY);
  // The two-byte character follows A's advance of 40 along the baseline.
  EXPECT_DOUBLE_EQ(texts[1].nums[4], px + 40.0 * std::cos(t) + halfX);
  EXPECT_DOUBLE_EQ(texts[1].nums[5], py + 40.0 * std::sin(t) + halfY);
  EXPECT_EQ(texts[1].text, std::string("\xD6\xD0"));
  EXPECT_EQ(texts[0].text, std::string("A\xD6\xD0"));  // the rest of the run is not cut off
  // Plain text, filled with the pen's colour, the brush put back; nothing on
  // the device context.
  std::vector<std::string> lines;
  for (const auto& c : device.calls) lines.push_back(c.name == "DrawTextLogFont" ? c.name : c.line);
  EXPECT_EQ(lines, (std::vector<std::string>{"SetTextAngle 30", "SetTextOutline 0", "SetBrush 3",
                                             "DrawTextLogFont", "SetBrush 5", "SetTextOutline 0",
                                             "SetBrush 3", "DrawTextLogFont", "SetBrush 5",
                                             "SetPen 0.5 3", "SetPen 1.5 3"}));
}

TEST_F(TrueTypeNative, OutlinedTextIsNotMoved) {
  s.OutlineMode = 1;
  Run("A", 100.0, 200.0);
  const auto texts = device.CallsNamed("DrawTextLogFont");
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_DOUBLE_EQ(texts[0].nums[4], 100.0);
  EXPECT_DOUBLE_EQ(texts[0].nums[5], 240.0);
  std::vector<std::string> lines;
  for (const auto& c : device.calls) lines.push_back(c.name == "DrawTextLogFont" ? c.name : c.line);
  EXPECT_EQ(lines, (std::vector<std::string>{"SetTextAngle 0", "SetPen 2 9", "SetTextOutline 1",
                                             "SetBrush 3", "DrawTextLogFont", "SetBrush 5",
                                             "SetPen 1.5 3", "SetPen 2.5 9", "SetPen 0.5 3",
                                             "SetPen 1.5 3"}));
}

}  // namespace
