// The Cairo devices given what a careless host may send: pens of any width,
// and text with control characters in a native-text SVG.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <unistd.h>

#include <cairo.h>
#include <gtest/gtest.h>

#include <inkline/host/cairo_device.h>
#include <inkline/host/freetype_font_lib.h>
#include <inkline/host/hostlib.h>
#include <inkline/inkline.h>

namespace {

std::string TempPath(const char* suffix) {
  std::string path = std::string("/tmp/inkline-robust-XXXXXX") + suffix;
  const int fd = mkstemps(path.data(), static_cast<int>(std::string(suffix).size()));
  if (fd >= 0) close(fd);
  return path;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Pixels of the picture that are red (colour 2 of the palette).
int RedPixels(const std::string& png, int* all) {
  cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) return -1;
  const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  const int stride = cairo_image_surface_get_stride(s);
  const unsigned char* data = cairo_image_surface_get_data(s);
  int red = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const unsigned char* p = data + y * stride + x * 4;
      red += p[2] > 200 && p[1] < 80;
    }
  *all = w * h;
  cairo_surface_destroy(s);
  return red;
}

// A pen wider than any picture paints it all (the width is capped, not
// converted out of range); a NaN or negative width is the thinnest pen.
TEST(CairoRobustness, AnyPenWidthDrawsAndFinishes) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (double width : {1e300, inf, nan, -5.0}) {
    const std::string path = TempPath(".png");
    CairoDevice::Options o;
    o.width = o.height = 60;
    o.kind = 0;  // a window kind: the device also mirrors the pen into its GDI context
    std::string error;
    auto device = CairoDevice::Create(path, o, &error);
    ASSERT_TRUE(device) << error;
    PEN pen{width, 2, 0};
    device->SetPen(&pen);
    device->DrawLine(10, 30.5, 50, 30.5);  // a one-pixel pen covers whole pixels
    ASSERT_TRUE(device->Finish(&error)) << error;
    int all = 0;
    const int red = RedPixels(path, &all);
    if (width > 0)
      EXPECT_EQ(red, all) << width;
    else
      EXPECT_GT(red, 0) << width;
    EXPECT_LT(red, all + 1);
    std::remove(path.c_str());
  }
}

// Characters U+0001 to U+001F but tab, line feed and carriage return cannot
// stand in XML: a native-text SVG leaves them out and stays well-formed.
TEST(CairoRobustness, NativeTextSvgWithControlCharactersIsWellFormed) {
  const std::string path = TempPath(".svg");
  {
    FreeTypeFontLibOptions options;
    options.table = FontTable::Parse("0 | DejaVu Sans | DejaVu Sans\n");
    FreeTypeFontLib fonts(options);
    ScopedMapFontLib installed(&fonts);
    CairoDevice::Options o;
    o.format = PictureFormat::Svg;
    o.width = 300;
    o.height = 100;
    o.kind = 8;
    std::string error;
    auto device = CairoDevice::Create(path, o, &error);
    ASSERT_TRUE(device) << error;
    MapString* s = nullptr;
    CreateMapString(device.get(), &s);
    s->SetScale(1, 1, 1);
    std::string text = "A\x01" "B\x08\x0b" "C\x1f" "D\tE";
    s->StringOut(text.data(), 10, 30, 30, 30, 0, 0, 0, 0, 0, 0, 0, &fonts);
    s->Free();
    ASSERT_TRUE(device->Finish(&error)) << error;
  }
  const std::string svg = ReadAll(path);
  ASSERT_NE(svg.find("native-text"), std::string::npos);
  for (unsigned char c : svg) {
    EXPECT_TRUE(c >= 0x20 || c == '\t' || c == '\n' || c == '\r') << static_cast<int>(c);
    if (HasFailure()) break;
  }
  for (const char* kept : {">A<", ">B<", ">C<", ">D<", ">E<"})
    EXPECT_NE(svg.find(kept), std::string::npos) << kept;
  if (std::system("command -v xmllint >/dev/null 2>&1") == 0) {
    const std::string check = "xmllint --noout '" + path + "' 2>/dev/null";
    EXPECT_EQ(std::system(check.c_str()), 0);
  }
  std::remove(path.c_str());
}

}  // namespace
