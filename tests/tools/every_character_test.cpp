// Place names with characters GBK lacks are drawn as themselves: the command's
// conversion gives them user-defined codes and the platform layers resolve
// the codes back. Each character, drawn alone from outlines, must cover the
// pixels Cairo covers with the same font's own outline, and not those of '?';
// through the portable GDI it must be neither '?' nor the missing glyph.
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include <cairo.h>
#include <gtest/gtest.h>

#include <inkline/host/cairo_device.h>
#include <inkline/host/freetype_font_lib.h>
#include <inkline/host/gbk.h>
#include <inkline/host/hostlib.h>
#include <inkline/inkline.h>
#include <inkline/user_chars.h>

#include "gbk.h"

#include "cairo_reference.h"

namespace {

constexpr int kSide = 120;
constexpr double kX = 20, kY = 35, kCharHeight = 60;

const char kNames[] = "København, São Paulo, Ürümqi, Łódź, Αθήνα, Москва, 서울, القاهرة";

std::vector<bool> Ink(cairo_surface_t* s) {
  cairo_surface_flush(s);
  const int stride = cairo_image_surface_get_stride(s);
  const unsigned char* data = cairo_image_surface_get_data(s);
  std::vector<bool> ink(kSide * kSide);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const unsigned char* p = data + y * stride + x * 4;
      ink[static_cast<size_t>(y * kSide + x)] = p[3] > 0 && (p[0] + p[1] + p[2]) / 3 < 128;
    }
  return ink;
}

double Overlap(const std::vector<bool>& a, const std::vector<bool>& b) {
  size_t both = 0, either = 0;
  for (size_t i = 0; i < a.size(); ++i) both += a[i] && b[i], either += a[i] || b[i];
  return either ? static_cast<double>(both) / static_cast<double>(either) : 0.0;
}

// The library's drawing of code page bytes, in font number fontNo.
std::vector<bool> Library(FreeTypeFontLib& fonts, short fontNo, std::string bytes, bool trueType) {
  char path[] = "/tmp/inkline-char-XXXXXX.png";
  const int fd = mkstemps(path, 4);
  close(fd);
  CairoDevice::Options o;
  o.width = o.height = kSide;
  o.rationalDispMode = trueType ? 1 : 0;  // the portable GDI, or outlines from the font library
  std::string error;
  auto device = CairoDevice::Create(path, o, &error);
  MapString* text = nullptr;
  CreateMapString(device.get(), &text);
  text->SetScale(1, 1, 1);
  text->StringOut(bytes.data(), kX, kY, kCharHeight, kCharHeight, fontNo, 0, 0, 0, 0, 0, 0, &fonts);
  text->Free();
  device->Finish(&error);
  cairo_surface_t* s = cairo_image_surface_create_from_png(path);
  std::remove(path);
  std::vector<bool> ink = Ink(s);
  cairo_surface_destroy(s);
  return ink;
}

// Cairo's drawing of the character from the font file itself, its baseline
// one descent above the reference point (the bottom of the character cell).
std::vector<bool> Reference(const FreeTypeFont& font, const std::string& utf8) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSide, kSide);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  const double em = kCharHeight * font.EmPerCharHeight();
  const double descent = kCharHeight * font.Descent() / 40.0;  // the grid spans the cell
  DrawReferenceText(cr, font.File(), font.FaceIndex(), em, kX, kSide - kY - descent, utf8);
  cairo_destroy(cr);
  std::vector<bool> ink = Ink(s);
  cairo_surface_destroy(s);
  return ink;
}

// A user-defined code no character has: the GDI draws its missing glyph.
const char kUnassigned[] = "\xFE\xFE";

TEST(EveryCharacter, PlaceNamesDrawTheFontsOwnOutlines) {
  FreeTypeFontLibOptions options;
  options.table = FontTable::Parse("1 | DejaVu Sans | DejaVu Sans\n2 | Hei | WenQuanYi Micro Hei\n");
  FreeTypeFontLib fonts(options);
  ScopedMapFontLib installed(&fonts);
  ASSERT_FALSE(fonts.VectorFont(1)->File().empty()) << "DejaVu Sans is not installed";
  ASSERT_NE(fonts.VectorFont(2)->File().find("wqy"), std::string::npos) << "WenQuanYi Micro Hei is not installed";

  std::u32string chars;
  ASSERT_TRUE(gbk::DecodeUtf8(kNames, &chars));
  int userCoded = 0;
  for (const char32_t c : chars) {
    if (c == U' ' || c == U',') continue;
    const std::string utf8 = NameOfCharacter(c).substr(NameOfCharacter(c).find(' ') + 1);
    CodePageLosses losses;
    const std::string bytes = Utf8ToGbkWithUserChars(utf8, &losses);
    ASSERT_TRUE(losses.replaced.empty() && losses.invalid == 0) << utf8;
    userCoded += bytes.size() == 2 && InklineUserCharOf(gbk::Code(bytes.c_str())) == c;
    const short fontNo = c >= 0xAC00 && c <= 0xD7A3 ? 2 : 1;  // Hangul from the CJK font
    const FreeTypeFont& font = *fonts.VectorFont(fontNo);
    const std::vector<bool> ours = Library(fonts, fontNo, bytes, false);
    // The portable GDI draws it too: neither its '?' nor its missing-glyph box.
    const std::vector<bool> gdi = Library(fonts, fontNo, bytes, true);
    EXPECT_LT(Overlap(gdi, Library(fonts, fontNo, "?", true)), 0.5) << NameOfCharacter(c);
    EXPECT_LT(Overlap(gdi, Library(fonts, fontNo, kUnassigned, true)), 0.5) << NameOfCharacter(c);
    const double own = Overlap(ours, Reference(font, utf8));
    const double question = Overlap(ours, Reference(font, "?"));
    EXPECT_GE(own, 0.85) << NameOfCharacter(c) << " is not the font's own outline";
    EXPECT_LT(question, 0.5) << NameOfCharacter(c) << " looks like '?'";
  }
  // ø ã Ü ł Ł ź ή, the Hangul and the Arabic letters have no GBK code.
  EXPECT_GE(userCoded, 15);
}

}  // namespace
