// Texts are GBK whatever the system's code page: a Chinese character drawn
// as TrueType through the library shows the same glyph that GDI draws for
// its Unicode form, also where the code page is not 936 (Wine in the C
// locale, a Western Windows).
#include <gtest/gtest.h>

#include <inkline/host/gdi_dib_device.h>
#include <inkline/host/hostlib.h>
#include <inkline/host/synthetic_font_lib.h>
#include <inkline/inkline.h>

#include <cstring>
#include <vector>

namespace {

constexpr char kFace[] = "AR PL UMing CN";  // a GB2312 face Debian installs

// The inked pixels of a picture, cut to their bounding box, one string a row.
std::vector<std::string> InkShape(const GdiDibDevice& d) {
  const uint32_t paper = d.Pixel(0, 0);
  int left = d.width(), top = d.height(), right = -1, bottom = -1;
  for (int y = 0; y < d.height(); ++y)
    for (int x = 0; x < d.width(); ++x)
      if (d.Pixel(x, y) != paper) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  std::vector<std::string> rows;
  for (int y = top; y <= bottom; ++y) {
    std::string row;
    for (int x = left; x <= right; ++x) row += d.Pixel(x, y) != paper ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

struct GdiFont {
  HFONT h;
  ~GdiFont() { DeleteObject(h); }
};

TEST(GbkText, TrueTypeCharacterIsTheGbkOneWhateverTheCodePage) {
  SyntheticFontLib fonts;
  fonts.Font(0)->faceName = kFace;
  ScopedMapFontLib installed(&fonts);

  GdiDibDevice::Options options;
  options.width = 120;
  options.height = 80;
  GdiDibDevice drawn(options);
  MapString* s = nullptr;
  ASSERT_EQ(CreateMapString(&drawn, &s), 1);
  ASSERT_NE(s, nullptr);
  s->SetScale(1.0, 1.0, 1.0);
  char zhong[] = "\xD6\xD0";  // U+4E2D in GBK
  s->StringOut(zhong, 20, 40, 40, 40, 0, 0, 0, 0, 0, 0, 0, nullptr);
  s->Free();

  // The same font description, the character given as UTF-16.
  GdiDibDevice expected(options);
  LOGFONTA lf{};
  lf.lfHeight = 40;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = GB2312_CHARSET;
  std::strcpy(lf.lfFaceName, kFace);
  GdiFont font{CreateFontIndirectA(&lf)};
  HGDIOBJ previous = SelectObject(expected.dc(), font.h);
  TextOutW(expected.dc(), 20, 20, L"\u4E2D", 1);
  SelectObject(expected.dc(), previous);

  const std::vector<std::string> shape = InkShape(drawn);
  ASSERT_GT(shape.size(), 10u) << "nothing drawn (code page " << GetACP() << ")";
  EXPECT_EQ(shape, InkShape(expected)) << "code page " << GetACP();
}

}  // namespace
