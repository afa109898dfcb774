#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include <inkline/afx.h>
#include <inkline/host/hostlib.h>
#include <inkline/host/recording_device.h>
#include <inkline/host/synthetic_font_lib.h>
#include <inkline/map_string.h>

#include "support/probe.h"

namespace {

// A string object on a device that allows TrueType, with its text context set
// as the run writer sets it for kinds 0, 1 and 6.
struct FontSelectionFixture : ::testing::Test {
  FontSelectionFixture() : device(Settings()), installed(&fonts), s(&device) {
    s.pDC = CDC::FromHandle(device.dc());
    fonts.AddFont(3, "Liberation Serif");
  }
  static RecordingDevice::Settings Settings() {
    RecordingDevice::Settings settings;
    settings.kind = 1;
    settings.rationalDispMode = 1;
    return settings;
  }
  bool Select(short fontNo, short style, short bold, double height, double width, double angle,
              bool native = false) {
    return CMapStringProbe::SetFont(s, fontNo, style, bold, 1, 1, height, width, angle, native);
  }

  RecordingDevice device;
  SyntheticFontLib fonts;
  ScopedMapFontLib installed;
  CMapString s;
};

using FontSelectionRule = FontSelectionFixture;

TEST_F(FontSelectionRule, DecidesBetweenWindowsAndVectorFonts) {
  const struct {
    const char* what;
    short libType, rational, hollow, style;
    double height, width;
    bool windowsFont;
  } cases[] = {
      {"sizes round to 12 and 13", 2, 1, 0, 0, 12.4, 12.6, false},
      {"sizes both round to 12", 2, 1, 0, 0, 12.4, 11.6, true},
      {"half rounds up", 2, 1, 0, 0, 12.5, 13.0, true},
      {"italic", 2, 1, 0, 2, 20.0, 20.0, true},
      {"negative italic passes on its absolute value", 2, 1, 0, -2, 20.0, 20.0, true},
      {"left slant", 2, 1, 0, 1, 20.0, 20.0, false},
      {"shadow", 2, 1, 0, 5, 20.0, 20.0, false},
      {"hollow", 2, 1, 1, 0, 20.0, 20.0, false},
      {"character library", 1, 1, 0, 0, 20.0, 20.0, false},
      {"device forbids TrueType", 2, 0, 0, 0, 20.0, 20.0, false},
  };
  for (const auto& c : cases) {
    s.LibType = c.libType;
    s.Hollow = c.hollow;
    device.settings.rationalDispMode = c.rational;
    EXPECT_TRUE(Select(3, c.style, 0, c.height, c.width, 0.0)) << c.what;
    EXPECT_EQ(s.hFont != nullptr, c.windowsFont) << c.what;
    // The vector font is made current on either path.
    EXPECT_EQ(s.CurFont, fonts.Font(3)) << c.what;
    // The lookup of the face name resets the current number and style.
    EXPECT_EQ(s.CurFontNo, c.windowsFont ? 0 : 3) << c.what;
    EXPECT_EQ(s.CurStyle, c.windowsFont ? 0 : c.style) << c.what;
    s.RestoreFont(false);
  }
}

TEST_F(FontSelectionRule, TestsTakeHollowAndTheDeviceModeAtCallTime) {
  const struct {
    short style;
    int valid;
  } styles[] = {{0, 1}, {2, 1}, {1, 0}, {3, 0}, {-2, 0}, {7, 0}};
  for (const auto& c : styles) EXPECT_EQ(s.IsValidateWindowFont(c.style), c.valid) << c.style;
  s.Hollow = 1;
  EXPECT_EQ(s.IsValidateWindowFont(0), 0);
  s.Hollow = 0;

  device.settings.rationalDispMode = 0;
  EXPECT_EQ(s.AdjustRationalDispMode(0), 0);
  EXPECT_EQ(s.RationalDispMode, 0);
  device.settings.rationalDispMode = 1;
  EXPECT_EQ(s.AdjustRationalDispMode(0), 1);
  EXPECT_EQ(s.RationalDispMode, 1);
  EXPECT_EQ(s.AdjustRationalDispMode(1), 0);

  // Without a device the last mode read stays.
  CMapString detached(nullptr);
  detached.RationalDispMode = 1;
  EXPECT_EQ(detached.AdjustRationalDispMode(2), 1);
}

using FontSelectionWinFont = FontSelectionFixture;

TEST_F(FontSelectionWinFont, FillsTheFontDescription) {
  ASSERT_TRUE(Select(3, 2, 1, 12.4, 11.6, 30.0));
  const LOGFONTA& lf = s.WinFont;
  EXPECT_EQ(lf.lfHeight, 12);
  EXPECT_EQ(lf.lfWidth, 0);
  EXPECT_EQ(lf.lfEscapement, 300);
  EXPECT_EQ(lf.lfOrientation, 300);
  EXPECT_EQ(lf.lfWeight, 700);
  EXPECT_EQ(lf.lfItalic, 1);
  // The run draws its own underline and strike-out.
  EXPECT_EQ(lf.lfUnderline, 0);
  EXPECT_EQ(lf.lfStrikeOut, 0);
  EXPECT_EQ(lf.lfCharSet, GB2312_CHARSET);  // GBK text, whatever the code page
  EXPECT_STREQ(lf.lfFaceName, "Liberation Serif");
  s.RestoreFont(false);

  // Any bold value but 1 is normal weight; only style 2 is italic.
  ASSERT_TRUE(Select(3, 0, 2, 12.0, 12.0, 0.0));
  EXPECT_EQ(s.WinFont.lfWeight, 400);
  EXPECT_EQ(s.WinFont.lfItalic, 0);
  s.RestoreFont(false);
}

TEST_F(FontSelectionWinFont, CutsTheFaceNameTo31Characters) {
  const std::string longName(40, 'F');
  fonts.AddFont(4, longName);
  ASSERT_TRUE(Select(4, 0, 0, 10.0, 10.0, 0.0));
  EXPECT_EQ(std::string(s.WinFont.lfFaceName), longName.substr(0, 31));
  s.RestoreFont(false);
}

TEST_F(FontSelectionWinFont, NormalisesTheAngleInTenthsOfADegree) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double angle;
    LONG tenths;
  } cases[] = {
      {725.0, 50},   {-30.0, 3300}, {360.0, 3600}, {720.0, 3600}, {-360.0, 0},
      {-725.0, 3550}, {45.55, 455}, {0.0, 0},       {inf, 0},      {-inf, 0},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(Select(3, 0, 0, 10.0, 10.0, c.angle));
    EXPECT_EQ(s.WinFont.lfEscapement, c.tenths) << c.angle;
    EXPECT_EQ(s.WinFont.lfOrientation, c.tenths) << c.angle;
    s.RestoreFont(false);
  }

  // A huge angle ends up in range without stepping down 360 at a time.
  ASSERT_TRUE(Select(3, 0, 0, 10.0, 10.0, 1e300));
  EXPECT_GE(s.WinFont.lfEscapement, 0);
  EXPECT_LE(s.WinFont.lfEscapement, 3600);
  s.RestoreFont(false);
}

TEST_F(FontSelectionWinFont, SelectsIntoTheContextAndRestoreGivesEverythingBack) {
  const HDC dc = device.dc();
  const HGDIOBJ fontBefore = GetCurrentObject(dc, OBJ_FONT);
  SetBkMode(dc, OPAQUE);

  ASSERT_TRUE(Select(3, 0, 0, 16.0, 16.0, 0.0));
  const HFONT created = s.hFont;
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), reinterpret_cast<HGDIOBJ>(created));
  EXPECT_EQ(s.hOldFont, fontBefore);
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  EXPECT_EQ(s.OldBkMode, OPAQUE);
  LOGFONTA lf{};
  ASSERT_GT(GetObjectA(reinterpret_cast<HGDIOBJ>(created), sizeof lf, &lf), 0);
  EXPECT_EQ(lf.lfHeight, 16);

  s.RestoreFont(false);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), fontBefore);
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(s.hFont, nullptr);
  EXPECT_EQ(s.hOldFont, nullptr);
  // The font was deleted: its handle is stale.
  EXPECT_EQ(GetObjectA(reinterpret_cast<HGDIOBJ>(created), sizeof lf, &lf), 0);
}

TEST_F(FontSelectionWinFont, WithoutAContextTheFontIsStillCreatedAndDeleted) {
  s.pDC = nullptr;
  ASSERT_TRUE(Select(3, 0, 0, 16.0, 16.0, 0.0));
  const HFONT created = s.hFont;
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(s.hOldFont, nullptr);
  s.RestoreFont(false);
  EXPECT_EQ(s.hFont, nullptr);
  EXPECT_EQ(GetObjectA(reinterpret_cast<HGDIOBJ>(created), 0, nullptr), 0);
}

TEST_F(FontSelectionWinFont, NativeDevicesGetTheTextFontAndAngleInstead) {
  RecordingDevice::Settings settings = Settings();
  settings.kind = 8;
  RecordingDevice native(settings);
  CMapString t(&native);
  t.pDC = CDC::FromHandle(native.dc());
  const HGDIOBJ fontBefore = GetCurrentObject(native.dc(), OBJ_FONT);

  ASSERT_TRUE(CMapStringProbe::SetFont(t, 3, 0, 1, 0, 0, 14.0, 14.0, -90.0, true));
  EXPECT_EQ(t.hFont, nullptr);
  EXPECT_EQ(GetCurrentObject(native.dc(), OBJ_FONT), fontBefore);
  EXPECT_EQ(std::memcmp(&t.TextFont, &t.WinFont, sizeof t.TextFont), 0);
  EXPECT_EQ(t.TextFont.lfEscapement, 2700);
  EXPECT_EQ(t.TextFont.lfWeight, 700);
  EXPECT_EQ(native.Trace(), "SetTextAngle 270\n");

  // Undoing a native selection does nothing; TextFont stays filled.
  t.RestoreFont(true);
  EXPECT_EQ(t.TextFont.lfEscapement, 2700);
  EXPECT_EQ(native.calls.size(), 1u);
}

TEST_F(FontSelectionWinFont, WithoutAFontLibraryReturnsFalseAndKeepsTheFont) {
  MapFont* const kept = fonts.Font(0);
  s.CurFont = kept;
  s.FontLib = nullptr;
  s.LibType = 1;
  EXPECT_FALSE(Select(3, 0, 0, 10.0, 11.0, 0.0));
  EXPECT_EQ(s.CurFont, kept);
  EXPECT_EQ(s.CurFontNo, 3);
}

using FontSelectionLookup = FontSelectionFixture;

TEST_F(FontSelectionLookup, FaceNamesTurnIntoFontsAndNumbers) {
  char face[] = "Liberation Serif";
  char unknown[] = "Nowhere";

  s.CurFontNo = 7;
  s.CurStyle = 2;
  EXPECT_EQ(s.GetZt(face), 3);
  EXPECT_EQ(s.CurFontNo, 3);
  EXPECT_EQ(s.CurStyle, 0);
  fonts.unknownFontNo = -1;
  EXPECT_EQ(s.GetZt(unknown), -1);

  s.CurFontNo = 7;
  EXPECT_EQ(s.SetFont(face), fonts.Font(3));
  EXPECT_EQ(s.CurFont, fonts.Font(3));
  EXPECT_EQ(s.CurFontNo, 0);
  EXPECT_EQ(s.SetFont(unknown), nullptr);
  EXPECT_EQ(s.CurFont, nullptr);

  char buffer[64] = {};
  char* name = buffer;
  s.CurFontNo = 7;
  EXPECT_EQ(s.GetFontName(3, &name), 1);
  EXPECT_STREQ(buffer, "Liberation Serif");
  EXPECT_EQ(s.CurFontNo, 0);
}

TEST_F(FontSelectionLookup, WithoutALibraryEveryLookupFailsAndStillResets) {
  s.FontLib = nullptr;
  char face[] = "Liberation Serif";
  char buffer[64] = "untouched";
  char* name = buffer;
  s.CurFontNo = 7;
  s.CurStyle = 2;
  EXPECT_EQ(s.GetZt(face), -1);
  EXPECT_EQ(s.CurFontNo, 0);
  EXPECT_EQ(s.CurStyle, 0);
  EXPECT_EQ(s.SetFont(face), nullptr);
  EXPECT_EQ(s.GetFontName(3, &name), 0);
  EXPECT_STREQ(buffer, "untouched");
}

}  // namespace
