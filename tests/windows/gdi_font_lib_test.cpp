// The Windows reference font library: outlines and advances read from GDI,
// on the 40-unit grid with the glyph box bottom at the reference point and
// the baseline one descent above it.
#include <gtest/gtest.h>

#include <inkline/host/gdi_font_lib.h>

namespace {

struct Extent {
  double xMin = 1e9, xMax = -1e9, yMin = 1e9, yMax = -1e9;
  int contours = 0;
};

Extent OutlineOf(GdiOutlineFont& font, const char* ch) {
  double* points = nullptr;
  int* sizes = nullptr;
  short parts = 0;
  Extent e;
  if (!font.GetCharOutline(const_cast<char*>(ch), &points, &sizes, &parts, 40.0)) return e;
  e.contours = parts;
  int at = 0;
  for (short p = 0; p < parts; ++p) {
    for (int i = 0; i < sizes[p]; ++i, ++at) {
      e.xMin = std::min(e.xMin, points[2 * at]);
      e.xMax = std::max(e.xMax, points[2 * at]);
      e.yMin = std::min(e.yMin, points[2 * at + 1]);
      e.yMax = std::max(e.yMax, points[2 * at + 1]);
    }
  }
  return e;
}

TEST(GdiOutlineFont, GlyphsLieOnTheGridAboveTheDescent) {
  GdiOutlineFont font("DejaVu Sans");
  // The box bottom is the reference point; H stands on the baseline.
  EXPECT_EQ(font.GetYOffset(), 0);
  const double descent = OutlineOf(font, "H").yMin;
  EXPECT_GT(descent, 2);  // a Latin face's descent is some tenth of its cell
  EXPECT_LT(descent, 15);
  const struct {
    const char* ch;
    int contours;   // at least
    bool descends;  // reaches below the baseline
  } cases[] = {{"H", 1, false}, {"o", 2, false}, {"B", 3, false}, {"g", 1, true}};
  for (const auto& c : cases) {
    const Extent e = OutlineOf(font, c.ch);
    EXPECT_GE(e.contours, c.contours) << c.ch;
    EXPECT_GE(e.yMin, -0.5) << c.ch;
    EXPECT_LE(e.yMax, 40.5) << c.ch;
    EXPECT_GE(e.xMin, -1.0) << c.ch;
    EXPECT_LE(e.xMax, font.CharLength(const_cast<char*>(c.ch)) + 1.0) << c.ch;
    // The baseline is `descent` units above the box bottom.
    EXPECT_EQ(e.yMin < descent - 1.0, c.descends) << c.ch << " bottom " << e.yMin;
  }
  char narrow[] = "i", wide[] = "W", space[] = " ";
  EXPECT_LT(font.CharLength(narrow), font.CharLength(wide));
  EXPECT_EQ(OutlineOf(font, space).contours, 0);
  EXPECT_GT(font.CharLength(space), 0.0);
}

TEST(GdiOutlineFont, ReadsGbkCharacters) {
  GdiOutlineFont font("AR PL UMing CN");
  const Extent zhong = OutlineOf(font, "\xD6\xD0");  // U+4E2D
  EXPECT_GE(zhong.contours, 2);
  EXPECT_GT(zhong.yMax - zhong.yMin, 20.0);
  char gbk[] = "\xD6\xD0";
  EXPECT_NEAR(font.CharLength(gbk), 40.0, 4.0);  // a full-width character
}

TEST(GdiOutlineFontLib, FindsFontsByNumberAndName) {
  GdiOutlineFontLib lib;
  lib.AddFont(3, "DejaVu Sans");
  lib.AddFont(7, "AR PL UMing CN");
  MapFont* font = nullptr;
  EXPECT_EQ(lib.GetFontByNo(7, &font), 1);
  char face[] = "AR PL UMing CN";
  EXPECT_EQ(lib.GetFontNoByName(face), 7);
  char buffer[64] = {};
  char* name = buffer;
  EXPECT_EQ(lib.GetFontName(3, &name), 1);
  EXPECT_STREQ(buffer, "DejaVu Sans");
  EXPECT_EQ(lib.GetFontName(5, &name), 0);
}

}  // namespace
