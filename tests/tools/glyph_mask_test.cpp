// Glyphs drawn from coverage masks: the masks are the outlines' shapes,
// turned and placed as the outlines would be, and text blended from them
// differs from text filled as outlines only along the edges.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <inkline/win32.h>
#include <inkline/win32_sink.h>

#include "cairo_gdi_sink.h"
#include "glyph_masks.h"
#include "mask_blend.h"

namespace {

// A 10 x 6 pixel rectangle with a 4 x 2 hole, y up from (1, 1), as a glyph
// outline holds one: the hole winds the other way.
struct FramePath {
  std::vector<GdiPoint> points{{1, 1}, {11, 1}, {11, 7}, {1, 7},
                               {4, 3}, {4, 5}, {8, 5}, {8, 3}};
  std::vector<BYTE> types{PT_MOVETO, PT_LINETO, PT_LINETO, PT_LINETO | PT_CLOSEFIGURE,
                          PT_MOVETO, PT_LINETO, PT_LINETO, PT_LINETO | PT_CLOSEFIGURE};
  GdiPath view() const { return GdiPath{points.data(), types.data(), static_cast<int>(points.size())}; }
};

// Coverage at the device pixel (x, y) relative to the glyph's whole pixel.
int CoverageAt(const GlyphMask& m, int x, int y) {
  const int col = x - m.left, row = y - m.top;
  if (col < 0 || row < 0 || col >= m.width || row >= m.height) return 0;
  return m.coverage[static_cast<size_t>(row * m.width + col)];
}

TEST(GlyphMasks, TurnFlipAndPhasePlaceTheShapeAsTheOutline) {
  const FramePath frame;
  const struct {
    double escapement;
    int phaseX, phaseY;
    int insideX, insideY, holeX, holeY;  // device pixels, y down
    int edgeX, edgeY, edgeCoverage;      // a pixel the shape's edge cuts
  } cases[] = {
      // Upright: y up becomes y down; the frame covers x 1..11, y -7..-1.
      {0.0, 0, 0, 1, -2, 5, -4, 0, -2, 0},
      // Half a pixel to the right: the left edge halves pixel x = 1.
      {0.0, 2, 0, 2, -2, 6, -4, 1, -2, 128},
      // A quarter down: the bottom edge reaches a quarter into row -1.
      {0.0, 0, 1, 1, -2, 5, -4, 1, -1, 64},
      // Turned a quarter counter-clockwise: x up the page, y to the left.
      {90.0, 0, 0, -2, -2, -4, -6, -2, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.escapement + c.phaseX * 10 + c.phaseY * 100);
    GlyphMask mask;
    ASSERT_TRUE(RasteriseGlyph(frame.view(), c.escapement, c.phaseX, c.phaseY, &mask));
    EXPECT_EQ(CoverageAt(mask, c.insideX, c.insideY), 255);
    EXPECT_EQ(CoverageAt(mask, c.holeX, c.holeY), 0);
    EXPECT_NEAR(CoverageAt(mask, c.edgeX, c.edgeY), c.edgeCoverage, 2);
    long total = 0;
    for (std::uint8_t v : mask.coverage) total += v;
    EXPECT_NEAR(total / 255.0, 60.0 - 8.0, 0.5);  // the frame's area, less the hole
  }
}

// Figures already on the page (the outline path's polygons) keep their own
// place: the mask's corner is a page pixel.
TEST(GlyphMasks, FiguresOnThePageFillInPlace) {
  const FramePath frame;  // read as y down: x 1..11, y 1..7, hole x 4..8, y 3..5
  GlyphMask mask;
  ASSERT_TRUE(RasteriseFigures(frame.view(), &mask));
  EXPECT_EQ(mask.left, 1);
  EXPECT_EQ(mask.top, 1);
  EXPECT_EQ(CoverageAt(mask, 1, 6), 255);
  EXPECT_EQ(CoverageAt(mask, 5, 3), 0);
  EXPECT_EQ(CoverageAt(mask, 0, 6), 0);
  long total = 0;
  for (std::uint8_t v : mask.coverage) total += v;
  EXPECT_NEAR(total / 255.0, 52.0, 0.5);
}

TEST(GlyphMasks, PlacesRoundToTheNearestQuarterPixel) {
  const struct {
    double at;
    int whole, phase;
  } cases[] = {{0.0, 0, 0}, {2.37, 2, 1}, {2.9, 3, 0}, {-0.1, 0, 0}, {-0.2, -1, 3}, {-1.5, -2, 2}};
  for (const auto& c : cases) {
    const MaskPlace p = MaskPlaceFor(GdiPoint{c.at, -c.at});
    EXPECT_EQ(p.x, c.whole) << c.at;
    EXPECT_EQ(p.phaseX, c.phase) << c.at;
    const MaskPlace q = MaskPlaceFor(GdiPoint{0.0, c.at});
    EXPECT_EQ(q.y, c.whole) << c.at;
    EXPECT_EQ(q.phaseY, c.phase) << c.at;
  }
}

TEST(GlyphMasks, BlendStaysInItsRowsAndMixesByCoverage) {
  GlyphMask mask;
  mask.left = -1, mask.top = -1, mask.width = 3, mask.height = 3;
  mask.coverage = {0, 128, 255, 0, 128, 255, 0, 128, 255};
  std::vector<std::uint32_t> pixels(4 * 4, 0xffffffffu);
  PixelRows rows{reinterpret_cast<unsigned char*>(pixels.data()), 4 * 4, 4, 1, 3};
  // Whole pixel (0, 1): columns -1..1 (the first off the page), rows 0..2
  // (the first outside the rows given).
  BlendMask(mask, 0, 1, RGB(0, 0, 255), rows);
  const std::uint32_t white = 0xffffffffu, blue = 0xff0000ffu, half = 0xff7f7fffu;
  const std::uint32_t expected[4][4] = {{white, white, white, white},
                                        {half, blue, white, white},
                                        {half, blue, white, white},
                                        {white, white, white, white}};
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(pixels[static_cast<size_t>(y * 4 + x)], expected[y][x]) << x << "," << y;
}

// The same text through a device context filled as outlines and blended
// from masks, on white.
std::vector<std::uint8_t> DrawText(bool masks, LONG escapement) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 240, 120);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  CairoGdiSink sink(cr, nullptr);
  if (masks) sink.BlendGlyphsInto(surface, 0, 120);
  HDC dc = CreateCompatibleDC(nullptr);
  InklineSetDCSink(dc, &sink);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  LOGFONTA lf{};
  lf.lfHeight = -23;
  lf.lfEscapement = lf.lfOrientation = escapement;
  lf.lfWeight = FW_NORMAL;
  std::snprintf(lf.lfFaceName, LF_FACESIZE, "DejaVu Sans");
  HFONT font = CreateFontIndirectA(&lf);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(font));
  const char text[] = "Qg@W%&8";
  TextOutA(dc, 20, 40, text, static_cast<int>(sizeof text - 1));
  SelectObject(dc, old);
  DeleteObject(reinterpret_cast<HGDIOBJ>(font));
  InklineSetDCSink(dc, nullptr);
  DeleteDC(dc);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  std::vector<std::uint8_t> grey;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 240; ++x)
      grey.push_back(static_cast<std::uint8_t>(reinterpret_cast<const std::uint32_t*>(data + y * stride)[x] & 0xff));
  cairo_surface_destroy(surface);
  return grey;
}

TEST(GlyphMasks, TextFromMasksDiffersFromFilledOutlinesOnlyAtEdges) {
  for (LONG escapement : {0, 300, -450}) {
    SCOPED_TRACE(escapement);
    const std::vector<std::uint8_t> filled = DrawText(false, escapement);
    const std::vector<std::uint8_t> blended = DrawText(true, escapement);
    long inkFilled = 0, inkBlended = 0, solidFlips = 0;
    for (size_t i = 0; i < filled.size(); ++i) {
      inkFilled += 255 - filled[i];
      inkBlended += 255 - blended[i];
      // Inside stays inside and outside outside: only edge pixels change.
      if ((filled[i] == 0 && blended[i] == 255) || (filled[i] == 255 && blended[i] == 0)) ++solidFlips;
    }
    ASSERT_GT(inkFilled, 255 * 200);
    EXPECT_EQ(solidFlips, 0);
    EXPECT_NEAR(static_cast<double>(inkBlended) / inkFilled, 1.0, 0.02);
  }
}

}  // namespace
