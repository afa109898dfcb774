// The Cairo devices on real fonts: GDI text lands in the picture, native
// text is real text in SVG (a word stays one searchable element), and the
// pictures are complete files.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>

#include <cairo.h>
#include <gtest/gtest.h>

#include <inkline/host/cairo_device.h>
#include <inkline/host/freetype_font_lib.h>
#include <inkline/host/hostlib.h>
#include <inkline/host/palette.h>
#include <inkline/inkline.h>

namespace {

std::string TempPath(const char* suffix) {
  std::string path = std::string("/tmp/inkline-device-XXXXXX") + suffix;
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

// Draws text on a fresh device of this format and kind and finishes it.
void Draw(const std::string& path, PictureFormat format, short kind, const char* text,
          double angle = 0.0) {
  FreeTypeFontLibOptions options;
  options.table = FontTable::Parse("0 | DejaVu Sans | DejaVu Sans\n");
  FreeTypeFontLib fonts(options);
  ScopedMapFontLib installed(&fonts);
  CairoDevice::Options o;
  o.format = format;
  o.width = 300;
  o.height = 100;
  o.kind = kind;
  std::string error;
  auto device = CairoDevice::Create(path, o, &error);
  ASSERT_TRUE(device) << error;
  PEN pen{1.0, 2, 0};
  BRUSH brush{2, 0, 0, 0};
  device->SetPen(&pen);
  device->SetBrush(&brush);
  MapString* s = nullptr;
  CreateMapString(device.get(), &s);
  s->SetScale(1, 1, 1);
  std::string bytes = text;
  s->StringOut(bytes.data(), 10, 30, 30, 30, 0, 0, angle, 0, 0, 0, 0, &fonts);
  s->Free();
  ASSERT_TRUE(device->Finish(&error)) << error;
}

// Pixels whose red channel is high and green low: the red text.
int RedPixels(const std::string& png) {
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
  cairo_surface_destroy(s);
  return red;
}

TEST(CairoDevices, GdiAndNativeTextBothInkThePicture) {
  for (short kind : {0, 8}) {
    const std::string png = TempPath(".png");
    Draw(png, PictureFormat::Png, kind, "Hello");
    EXPECT_GT(RedPixels(png), 200) << "kind " << kind;
    std::remove(png.c_str());
  }
}

TEST(CairoDevices, NativeTextInSvgIsOneTextElementPerRun) {
  const std::string svg = TempPath(".svg");
  Draw(svg, PictureFormat::Svg, 8, "Hello");
  const std::string content = ReadAll(svg);
  std::remove(svg.c_str());
  ASSERT_NE(content.find("</svg>"), std::string::npos);
  const size_t text = content.find("<text");
  ASSERT_NE(text, std::string::npos);
  EXPECT_EQ(content.find("<text", text + 1), std::string::npos) << "the word was split";
  std::string letters;
  for (size_t at = content.find("<tspan", text); at != std::string::npos;
       at = content.find("<tspan", at + 1))
    letters += content[content.find('>', at) + 1];
  EXPECT_EQ(letters, "Hello");
  EXPECT_NE(content.find("DejaVu Sans"), std::string::npos);
  EXPECT_NE(content.find("fill=\"#ff0000\""), std::string::npos);
}

TEST(CairoDevices, RotatedNativeTextTurnsAsAWhole) {
  const std::string svg = TempPath(".svg");
  Draw(svg, PictureFormat::Svg, 8, "AB", 30.0);
  const std::string content = ReadAll(svg);
  std::remove(svg.c_str());
  EXPECT_NE(content.find("transform=\"rotate(-30.000"), std::string::npos) << content;
  // Both letters sit on one unturned baseline.
  const size_t a = content.find("<tspan"), b = content.find("<tspan", a + 1);
  ASSERT_NE(b, std::string::npos);
  const auto y = [&](size_t at) {
    const size_t q = content.find("y=\"", at) + 3;
    return std::stod(content.substr(q, content.find('"', q) - q));
  };
  EXPECT_NEAR(y(a), y(b), 0.01);
}

TEST(CairoDevices, PdfIsComplete) {
  const std::string pdf = TempPath(".pdf");
  Draw(pdf, PictureFormat::Pdf, 8, "Hello");
  const std::string content = ReadAll(pdf);
  std::remove(pdf.c_str());
  EXPECT_EQ(content.rfind("%PDF-", 0), 0u);
  EXPECT_NE(content.find("%%EOF"), std::string::npos);
  EXPECT_NE(content.find("/FontFile"), std::string::npos);  // an embedded font: real text
}

// Pixel-aligned rectangles (no anti-aliasing) give an exact picture: every
// pixel of the file read back must be the page or the rectangle colour, on
// opaque pages (written as RGB) and clear ones (RGBA), odd sizes included.
TEST(CairoDevices, PngHoldsExactlyWhatWasDrawn) {
  struct Case {
    int width, height;
    long background;  // 0: a clear page
  };
  for (const Case c : {Case{1, 1, 8}, Case{7, 3, 8}, Case{64, 33, 2}, Case{257, 9, 0}}) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    const std::string png = TempPath(".png");
    CairoDevice::Options o;
    o.width = c.width;
    o.height = c.height;
    o.backgroundColor = c.background;
    std::string error;
    auto device = CairoDevice::Create(png, o, &error);
    ASSERT_TRUE(device) << error;
    // Column x = 0 and every third row from the bottom, in colour 4.
    BRUSH brush{4, 0, 0, 0};
    device->SetBrush(&brush);
    for (int row = 0; row < c.height; row += 3) {
      D_POINT box[4] = {{0, double(row)}, {1, double(row)}, {1, row + 1.0}, {0, row + 1.0}};
      int count = 4;
      device->FillPolygons(box, &count, 1);
    }
    ASSERT_TRUE(device->Finish(&error)) << error;

    cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
    std::remove(png.c_str());
    ASSERT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS);
    ASSERT_EQ(cairo_image_surface_get_width(s), c.width);
    ASSERT_EQ(cairo_image_surface_get_height(s), c.height);
    COLORREF ink = 0, page = 0;
    GetCOLORREFByColorNo(4, ink, nullptr);
    GetCOLORREFByColorNo(c.background, page, nullptr);
    const auto argb = [](COLORREF rgb) {
      return 0xFF000000u | GetRValue(rgb) << 16 | GetGValue(rgb) << 8 | GetBValue(rgb);
    };
    int wrong = 0;
    for (int y = 0; y < c.height; ++y) {
      const auto* line = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s) +
                                                           y * cairo_image_surface_get_stride(s));
      for (int x = 0; x < c.width; ++x) {
        const bool inked = x == 0 && (c.height - 1 - y) % 3 == 0;
        const uint32_t want = inked ? argb(ink) : c.background ? argb(page) : 0u;
        const uint32_t got = cairo_image_surface_get_format(s) == CAIRO_FORMAT_RGB24
                                 ? line[x] | 0xFF000000u : line[x];
        wrong += got != want;
      }
    }
    EXPECT_EQ(wrong, 0);
    cairo_surface_destroy(s);
  }
}

TEST(CairoDevices, FormatFromTheExtension) {
  PictureFormat f{};
  EXPECT_TRUE(PictureFormatFor("a/b.PNG", &f));
  EXPECT_EQ(f, PictureFormat::Png);
  EXPECT_TRUE(PictureFormatFor("x.svg", &f));
  EXPECT_EQ(f, PictureFormat::Svg);
  EXPECT_TRUE(PictureFormatFor("x.Pdf", &f));
  EXPECT_EQ(f, PictureFormat::Pdf);
  EXPECT_FALSE(PictureFormatFor("x.gif", &f));
  EXPECT_FALSE(PictureFormatFor("png", &f));
}

// A pen wider than any picture paints it all (the width is capped, not
// converted out of range); a NaN or negative width is the thinnest pen.
TEST(CairoDevices, AnyPenWidthDrawsAndFinishes) {
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
    const int red = RedPixels(path);
    if (width > 0)
      EXPECT_EQ(red, 60 * 60) << width;
    else
      EXPECT_GT(red, 0) << width;
    std::remove(path.c_str());
  }
}

// The device keeps a few GDI pens and switches between them: whatever the
// order, the context strokes (outlined TrueType glyphs) in the pen set last.
TEST(CairoDevices, GdiStrokesFollowEveryPenSet) {
  const int colours[] = {2, 3, 4, 5, 6, 7, 2, 2, 4, 3, 3, 7, 5};
  const int n = static_cast<int>(sizeof colours / sizeof colours[0]);
  const std::string path = TempPath(".png");
  CairoDevice::Options o;
  o.width = 40;
  o.height = 8 * n;
  o.kind = 0;
  std::string error;
  auto device = CairoDevice::Create(path, o, &error);
  ASSERT_TRUE(device) << error;
  for (int i = 0; i < n; ++i) {
    PEN pen{3.0, colours[i], 0};
    device->SetPen(&pen);
    const POINT line[2] = {{5, 8 * i + 4}, {35, 8 * i + 4}};
    const BYTE types[2] = {PT_MOVETO, PT_LINETO};
    ASSERT_TRUE(PolyDraw(device->hDevDC, line, types, 2));
  }
  ASSERT_TRUE(device->Finish(&error)) << error;
  cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
  std::remove(path.c_str());
  ASSERT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS);
  for (int i = 0; i < n; ++i) {
    COLORREF want = 0;
    GetCOLORREFByColorNo(colours[i], want, nullptr);
    const unsigned char* p = cairo_image_surface_get_data(s) +
                             (8 * i + 4) * cairo_image_surface_get_stride(s) + 20 * 4;
    EXPECT_EQ(RGB(p[2], p[1], p[0]), want) << "pen " << i << ", colour " << colours[i];
  }
  cairo_surface_destroy(s);
}

// GDI text is written in the colour of the brush set last, the same colour
// set twice in a row included.
TEST(CairoDevices, GdiTextFollowsEveryBrushSet) {
  const int colours[] = {2, 3, 2, 2, 4, 3};
  const int n = static_cast<int>(sizeof colours / sizeof colours[0]);
  constexpr int kRow = 32;
  const std::string path = TempPath(".png");
  CairoDevice::Options o;
  o.width = 40;
  o.height = kRow * n;
  o.kind = 0;
  std::string error;
  auto device = CairoDevice::Create(path, o, &error);
  ASSERT_TRUE(device) << error;
  LOGFONTA lf{};
  lf.lfHeight = -24;
  std::strcpy(lf.lfFaceName, "DejaVu Sans");
  const HFONT font = CreateFontIndirectA(&lf);
  const HGDIOBJ old = SelectObject(device->hDevDC, reinterpret_cast<HGDIOBJ>(font));
  SetBkMode(device->hDevDC, TRANSPARENT);
  for (int i = 0; i < n; ++i) {
    BRUSH brush{colours[i], 0, 0, 0};
    device->SetBrush(&brush);
    ASSERT_TRUE(TextOutA(device->hDevDC, 5, kRow * i + 2, "H", 1));
  }
  SelectObject(device->hDevDC, old);
  DeleteObject(reinterpret_cast<HGDIOBJ>(font));
  ASSERT_TRUE(device->Finish(&error)) << error;
  cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
  std::remove(path.c_str());
  ASSERT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS);
  for (int i = 0; i < n; ++i) {
    // The stems of the H are solid: pixels of exactly one ink, the brush's.
    std::set<COLORREF> inks;
    for (int y = kRow * i; y < kRow * (i + 1); ++y)
      for (int x = 0; x < o.width; ++x) {
        const unsigned char* p = cairo_image_surface_get_data(s) +
                                 y * cairo_image_surface_get_stride(s) + x * 4;
        for (const int c : colours) {
          COLORREF ink = 0;
          GetCOLORREFByColorNo(c, ink, nullptr);
          if (RGB(p[2], p[1], p[0]) == ink) inks.insert(ink);
        }
      }
    COLORREF want = 0;
    GetCOLORREFByColorNo(colours[i], want, nullptr);
    EXPECT_EQ(inks, std::set<COLORREF>{want}) << "text " << i << ", colour " << colours[i];
  }
  cairo_surface_destroy(s);
}

// A layer of native text larger than what is kept in memory (it waits in a
// temporary file) comes out whole: every character once, in drawing order.
TEST(CairoDevices, LargeNativeTextSvgKeepsEveryCharacterInOrder) {
  FreeTypeFontLibOptions options;
  options.table = FontTable::Parse("0 | DejaVu Sans | DejaVu Sans\n");
  FreeTypeFontLib fonts(options);
  ScopedMapFontLib installed(&fonts);
  const std::string path = TempPath(".svg");
  CairoDevice::Options o;
  o.format = PictureFormat::Svg;
  o.width = o.height = 2000;
  o.kind = 8;
  std::string error;
  auto device = CairoDevice::Create(path, o, &error);
  ASSERT_TRUE(device) << error;
  BRUSH brush{2, 0, 0, 0};
  device->SetBrush(&brush);
  MapString* s = nullptr;
  CreateMapString(device.get(), &s);
  s->SetScale(1, 1, 1);
  std::string drawn;
  constexpr int kLabels = 120;
  for (int label = 0; label < kLabels; ++label) {
    std::string text;
    for (int i = 0; i < 60; ++i) text += static_cast<char>('A' + (label * 7 + i) % 26);
    drawn += text;
    // Angles alternate so that every label is an element of its own.
    s->StringOut(text.data(), 10, 20 + label * 15, 12, 12, 0, 0, label % 2 ? 5.0 : 0.0, 0, 0, 0, 0,
                 &fonts);
  }
  s->Free();
  ASSERT_TRUE(device->Finish(&error)) << error;
  const std::string svg = ReadAll(path);
  std::remove(path.c_str());
  ASSERT_GT(svg.size(), 256u * 1024u);  // more than is kept in memory
  std::string letters;
  size_t texts = 0;
  for (size_t at = svg.find("<tspan"); at != std::string::npos; at = svg.find("<tspan", at + 1))
    letters += svg[svg.find('>', at) + 1];
  for (size_t at = svg.find("<text"); at != std::string::npos; at = svg.find("<text", at + 1)) ++texts;
  EXPECT_EQ(letters, drawn);
  EXPECT_EQ(texts, static_cast<size_t>(kLabels));
  EXPECT_NE(svg.find("</g>\n</svg>"), std::string::npos);
}

// Characters U+0001 to U+001F but tab, line feed and carriage return cannot
// stand in XML: a native-text SVG leaves them out and stays well-formed.
TEST(CairoDevices, NativeTextSvgWithControlCharactersIsWellFormed) {
  const std::string path = TempPath(".svg");
  Draw(path, PictureFormat::Svg, 8, "A\x01" "B\x08\x0b" "C\x1f" "D\tE");
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
