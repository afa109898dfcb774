// Native text gathered into runs: a label's characters, whatever their
// spacing and angle, reach Cairo as one show, each glyph where Cairo's own
// layout of the character on its own would put it.
#include <cmath>
#include <cstring>
#include <string>

#include <cairo.h>
#include <gtest/gtest.h>

#include "glyph_run.h"
#include "native_text.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

void CountShow(cairo_surface_t*, cairo_surface_t*, void* shows) { ++*static_cast<int*>(shows); }

// The character laid out by Cairo in a frame turned about its origin: the
// position a glyph must have to land on the same pixels.
cairo_glyph_t LaidOut(cairo_t* cr, const NativeTextFonts& fonts, const NativeTextPlacement& p) {
  cairo_save(cr);
  fonts.Select(cr, p);
  cairo_translate(cr, p.originX, p.originY);
  cairo_rotate(cr, -p.angle * kPi / 180.0);
  cairo_move_to(cr, 0, 0);
  double x = 0, y = 0;
  cairo_get_current_point(cr, &x, &y);
  cairo_new_path(cr);
  cairo_glyph_t* glyphs = nullptr;
  int count = 0;
  cairo_scaled_font_text_to_glyphs(cairo_get_scaled_font(cr), x, y, p.utf8.data(),
                                   static_cast<int>(p.utf8.size()), &glyphs, &count, nullptr,
                                   nullptr, nullptr);
  cairo_glyph_t g{0, -1e9, -1e9};
  if (count == 1) {
    g = glyphs[0];
    cairo_user_to_device(cr, &g.x, &g.y);
  }
  cairo_glyph_free(glyphs);
  cairo_restore(cr);
  return g;
}

TEST(NativeGlyphRuns, ASpacedTurnedLabelIsOneShowAtCairosOwnPositions) {
  cairo_surface_t* recording = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr);
  cairo_surface_t* observer = cairo_surface_create_observer(recording, CAIRO_SURFACE_OBSERVER_NORMAL);
  int shows = 0;
  cairo_surface_observer_add_glyphs_callback(observer, CountShow, &shows);
  cairo_t* cr = cairo_create(observer);
  NativeTextFonts fonts;
  LOGFONTA font{};
  std::strncpy(font.lfFaceName, "DejaVu Sans", LF_FACESIZE - 1);
  const std::string text = "Wa y.1";
  int labels = 0;
  for (const double angle : {0.0, 33.3, -90.0}) {
    for (const LONG height : {-17L, 23L}) {  // an em, then a cell
      font.lfHeight = height;
      GlyphRun run;
      const double a = angle * kPi / 180.0, step = 13.37;  // wider than the glyphs: spaced
      for (size_t i = 0; i < text.size(); ++i) {
        NativeTextPlacement p;
        ASSERT_TRUE(fonts.Place(font, 100.3 + i * step * std::cos(a), 200.7 - i * step * std::sin(a),
                                angle, true, text.substr(i, 1), &p));
        ASSERT_EQ(p.glyphs.size(), 1u) << text[i];
        const cairo_glyph_t expected = LaidOut(cr, fonts, p);
        run.Add(cr, fonts, p, RGB(200, 0, 0));
        ASSERT_EQ(run.Glyphs().size(), i + 1) << "angle " << angle << " character " << i;
        const cairo_glyph_t& got = run.Glyphs().back();
        EXPECT_EQ(got.index, expected.index);
        EXPECT_NEAR(got.x, expected.x, 1e-9) << "angle " << angle << " character " << i;
        EXPECT_NEAR(got.y, expected.y, 1e-9) << "angle " << angle << " character " << i;
      }
      EXPECT_EQ(run.Text(), text);
      run.Show(cr);
      EXPECT_TRUE(run.Empty());
      EXPECT_EQ(shows, ++labels) << "angle " << angle;
    }
  }
  EXPECT_EQ(cairo_status(cr), CAIRO_STATUS_SUCCESS);
  cairo_destroy(cr);
  cairo_surface_destroy(observer);
  cairo_surface_destroy(recording);
}

}  // namespace

namespace {

// Shaped clusters of a right-to-left run arrive as they stand on the line;
// the run keeps their glyphs so and their text in reading order, a glyph
// standing for several letters giving them as they stand.
TEST(NativeGlyphRuns, RightToLeftClustersGatherTheirTextInReadingOrder) {
  cairo_surface_t* recording = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr);
  cairo_t* cr = cairo_create(recording);
  NativeTextFonts fonts;
  LOGFONTA font{};
  std::strncpy(font.lfFaceName, "DejaVu Sans", LF_FACESIZE - 1);
  font.lfHeight = -20;
  NativeTextPlacement left, right;
  ASSERT_TRUE(fonts.Place(font, 100, 100, 90, true, "A", &left));
  right = left;
  // The cluster on the left: two letters in one glyph, then one more.
  left.utf8 = "xyz";
  left.glyphs = {{5, 0.0, 0.0}, {6, 0.5, 0.25}};
  left.pieces = {{2, 1}, {1, 1}};
  left.label = right.label = 7;
  left.rightToLeft = right.rightToLeft = true;
  right.utf8 = "w";
  right.glyphs = {{9, 0.0, 0.0}};
  right.pieces.clear();
  right.originY = left.originY - 30;  // turned a quarter: further along is up the page
  GlyphRun run;
  run.Add(cr, fonts, left, RGB(0, 0, 0));
  run.Add(cr, fonts, right, RGB(0, 0, 0));
  ASSERT_EQ(run.Glyphs().size(), 3u);
  EXPECT_EQ(run.Text(), "wyxz");
  // The second glyph half an em along the turned baseline (up) and a
  // quarter of an em up from it (to the left).
  EXPECT_NEAR(run.Glyphs()[1].x - run.Glyphs()[0].x, -5.0, 1.0 / 256);
  EXPECT_NEAR(run.Glyphs()[1].y - run.Glyphs()[0].y, -10.0, 1.0 / 256);
  EXPECT_EQ(run.Glyphs()[2].index, 9u);
  run.Show(cr);
  EXPECT_EQ(cairo_status(cr), CAIRO_STATUS_SUCCESS);
  cairo_destroy(cr);
  cairo_surface_destroy(recording);
}

}  // namespace
