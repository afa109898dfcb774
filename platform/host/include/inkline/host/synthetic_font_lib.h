// A deterministic font library for tests: fonts with configurable face names,
// advances, outlines and y offset, so layout can be asserted to the unit.
// Once set up, a library and its fonts may be shared by string objects on
// several threads; set-up itself (AddFont, the public fields) is not.
#ifndef INKLINE_HOST_SYNTHETIC_FONT_LIB_H
#define INKLINE_HOST_SYNTHETIC_FONT_LIB_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <inkline/fontlib.h>

class SyntheticFont final : public MapFont {
 public:
  // One contour of an outline, as x, y pairs in design units.
  using Contour = std::vector<std::pair<double, double>>;

  SyntheticFont() = default;
  SyntheticFont(const SyntheticFont&) = delete;
  SyntheticFont& operator=(const SyntheticFont&) = delete;
  ~SyntheticFont() = default;

  short GetCharOutline(char* ch, double** points, int** partSizes, short* partCount,
                       double height) override;
  double CharLength(char* ch) override;
  short GetYOffset() override { return yOffset; }

  // The character code at ch: one byte, or lead << 8 | trail for a two-byte one.
  static unsigned Code(const char* ch);

  std::string faceName = "Synthetic";
  double defaultAdvance = 40.0;        // advance of any character not in `advances`
  std::map<unsigned, double> advances; // by character code
  // Outline of any character not in `outlines`: one square contour 0..20 x 0..40.
  std::vector<Contour> defaultOutline{{{0, 0}, {20, 0}, {20, 40}, {0, 40}}};
  std::map<unsigned, std::vector<Contour>> outlines;
  short yOffset = 0;
  int outlineCalls = 0;             // GetCharOutline calls so far
  double lastOutlineHeight = 0.0;   // the height given to the last call
};

class SyntheticFontLib final : public MapFontLib {
 public:
  SyntheticFontLib();
  SyntheticFontLib(const SyntheticFontLib&) = delete;
  SyntheticFontLib& operator=(const SyntheticFontLib&) = delete;
  ~SyntheticFontLib() = default;

  short GetFontByName(char* faceName, MapFont** font) override;
  short GetFontByNo(short fontNo, MapFont** font) override;
  short GetFontNoByName(char* faceName) override;
  short GetFontName(short fontNo, char** name) override;
  short GetLibType() override { return libType; }

  // Adds (or returns) font number fontNo.
  SyntheticFont& AddFont(short fontNo, const std::string& faceName);
  SyntheticFont* Font(short fontNo);

  short libType = 2;
  short unknownFontNo = -1;  // GetFontNoByName of a face it does not know
  int getFontByNoCalls = 0;

 private:
  std::map<short, std::unique_ptr<SyntheticFont>> fonts_;
};

#endif  // INKLINE_HOST_SYNTHETIC_FONT_LIB_H
