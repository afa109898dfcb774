// A Windows font library for tests and example hosts: outlines and advances
// of installed TrueType fonts, read from GDI (GetGlyphOutline), on the
// 40-unit design grid spanning the font's cell, whose bottom is the
// reference point (GetYOffset() is 0): the baseline lies one descent above
// it, where GDI writes the same font's text. Texts are GBK.
#ifndef INKLINE_HOST_GDI_FONT_LIB_H
#define INKLINE_HOST_GDI_FONT_LIB_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <inkline/fontlib.h>
#include <inkline/win32.h>

class GdiOutlineFont final : public MapFont {
 public:
  // faceName: the face as GDI knows it (GBK bytes).
  explicit GdiOutlineFont(const std::string& faceName);
  ~GdiOutlineFont();
  GdiOutlineFont(const GdiOutlineFont&) = delete;
  GdiOutlineFont& operator=(const GdiOutlineFont&) = delete;

  short GetCharOutline(char* ch, double** points, int** partSizes, short* partCount,
                       double height) override;
  double CharLength(char* ch) override;
  short GetYOffset() override { return 0; }

  const std::string& faceName() const { return faceName_; }

 private:
  // The glyph of the character at ch as UTF-16; 0 for none.
  static wchar_t Wide(const char* ch);

  std::string faceName_;
  HDC dc_ = nullptr;
  HFONT font_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  double descent_ = 0.0;  // pixels at the outline size
  std::vector<double> points_;
  std::vector<int> sizes_;
};

class GdiOutlineFontLib final : public MapFontLib {
 public:
  GdiOutlineFontLib() = default;
  GdiOutlineFontLib(const GdiOutlineFontLib&) = delete;
  GdiOutlineFontLib& operator=(const GdiOutlineFontLib&) = delete;
  ~GdiOutlineFontLib() = default;

  // Font fontNo draws from the GDI face faceName.
  void AddFont(short fontNo, const std::string& faceName);

  short GetFontByName(char* faceName, MapFont** font) override;
  short GetFontByNo(short fontNo, MapFont** font) override;
  short GetFontNoByName(char* faceName) override;
  short GetFontName(short fontNo, char** name) override;
  short GetLibType() override { return 0; }

 private:
  std::map<short, std::unique_ptr<GdiOutlineFont>> fonts_;
};

#endif  // INKLINE_HOST_GDI_FONT_LIB_H
