// "Hello" drawn through the library's vector path on the PNG device must
// cover the same pixels as Cairo's own rendering of the same string in the
// same font, at the size where a character height means the same to both.
#include <cstdio>
#include <string>
#include <unistd.h>

#include <cairo.h>
#include <gtest/gtest.h>

#include <inkline/host/cairo_device.h>
#include <inkline/host/freetype_font_lib.h>
#include <inkline/host/hostlib.h>
#include <inkline/inkline.h>

#include "cairo_reference.h"

namespace {

constexpr int kWidth = 420, kHeight = 120;
constexpr double kX = 20, kY = 40, kCharHeight = 60;

// Pixels darker than mid-grey.
std::vector<bool> Ink(cairo_surface_t* s) {
  cairo_surface_flush(s);
  const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  const int stride = cairo_image_surface_get_stride(s);
  const unsigned char* data = cairo_image_surface_get_data(s);
  std::vector<bool> ink(static_cast<size_t>(w * h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const unsigned char* p = data + y * stride + x * 4;  // B G R A, premultiplied
      const int luminance = (p[0] + p[1] + p[2]) / 3;
      ink[static_cast<size_t>(y * w + x)] = p[3] > 0 && luminance < 128;
    }
  return ink;
}

double IntersectionOverUnion(const std::vector<bool>& a, const std::vector<bool>& b) {
  size_t both = 0, either = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    both += a[i] && b[i];
    either += a[i] || b[i];
  }
  return either ? static_cast<double>(both) / static_cast<double>(either) : 0.0;
}

TEST(VectorPathOnRealFonts, HelloMatchesCairoText) {
  FreeTypeFontLibOptions options;
  options.table = FontTable::Parse("1 | DejaVu Sans | DejaVu Sans\n");
  FreeTypeFontLib fonts(options);
  ScopedMapFontLib installed(&fonts);
  FreeTypeFont* font = fonts.VectorFont(1);
  ASSERT_NE(font, nullptr);
  ASSERT_FALSE(font->File().empty()) << "DejaVu Sans is not installed";

  // The library's rendering: the vector path (the device refuses TrueType).
  char path[] = "/tmp/inkline-hello-XXXXXX.png";
  const int fd = mkstemps(path, 4);
  ASSERT_GE(fd, 0);
  close(fd);
  {
    CairoDevice::Options o;
    o.width = kWidth;
    o.height = kHeight;
    o.rationalDispMode = 0;
    std::string error;
    auto device = CairoDevice::Create(path, o, &error);
    ASSERT_TRUE(device) << error;
    MapString* text = nullptr;
    CreateMapString(device.get(), &text);
    text->SetScale(1, 1, 1);
    char hello[] = "Hello";
    text->StringOut(hello, kX, kY, kCharHeight, kCharHeight, 1, 0, 0, 0, 0, 0, 0, &fonts);
    text->Free();
    ASSERT_TRUE(device->Finish(&error)) << error;
  }
  cairo_surface_t* ours = cairo_image_surface_create_from_png(path);
  std::remove(path);
  ASSERT_EQ(cairo_surface_status(ours), CAIRO_STATUS_SUCCESS);

  // Cairo's rendering: the same font file, the em that this character height
  // stands for, the baseline one descent above the reference point (the
  // bottom of the character cell, as for GDI text); unhinted, so advances
  // are exact.
  cairo_surface_t* theirs = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
  cairo_t* cr = cairo_create(theirs);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  const double em = kCharHeight * font->EmPerCharHeight();
  const double descent = kCharHeight * font->Descent() / 40.0;  // the grid spans the cell
  DrawReferenceText(cr, font->File(), font->FaceIndex(), em, kX, kHeight - kY - descent, "Hello");
  cairo_destroy(cr);

  const std::vector<bool> a = Ink(ours), b = Ink(theirs);
  size_t inked = 0;
  for (bool v : a) inked += v;
  EXPECT_GT(inked, 500u) << "the library drew (almost) nothing";
  const double iou = IntersectionOverUnion(a, b);
  EXPECT_GE(iou, 0.9);
  std::printf("intersection over union: %.3f\n", iou);
  cairo_surface_destroy(ours);
  cairo_surface_destroy(theirs);
}

}  // namespace
