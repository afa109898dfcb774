// The colour library: the default palette and the lookups both ways.
#include <inkline/host/palette.h>

#include <cstddef>
#include <utility>

namespace {

std::vector<COLORREF> DefaultEntries() {
  std::vector<COLORREF> e;
  e.reserve(256);
  e.push_back(RGB(255, 255, 255));  // 0: no colour; white only as a placeholder
  const COLORREF named[] = {
      RGB(0, 0, 0),       RGB(255, 0, 0),     RGB(0, 255, 0),   RGB(0, 0, 255),
      RGB(255, 255, 0),   RGB(255, 0, 255),   RGB(0, 255, 255), RGB(255, 255, 255),
      RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(0, 0, 128),   RGB(128, 128, 128),
      RGB(192, 192, 192), RGB(128, 128, 0),   RGB(128, 0, 128), RGB(0, 128, 128),
  };
  for (COLORREF c : named) e.push_back(c);
  for (int i = 1; i <= 23; ++i) {
    const int v = (i * 255 + 12) / 24;
    e.push_back(RGB(v, v, v));
  }
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) e.push_back(RGB(r * 51, g * 51, b * 51));
  return e;
}

int Red(COLORREF c) { return static_cast<int>(c & 0xFF); }
int Green(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
int Blue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }

const ColorPalette& PaletteOrDefault(void* palette) {
  return palette ? *static_cast<const ColorPalette*>(palette) : ColorPalette::Default();
}

}  // namespace

ColorPalette::ColorPalette(std::vector<COLORREF> entries) : entries_(std::move(entries)) {}

const ColorPalette& ColorPalette::Default() {
  static const ColorPalette palette(DefaultEntries());
  return palette;
}

long ColorPalette::Nearest(COLORREF rgb) const {
  long best = 0;
  long bestDistance = -1;
  for (long n = 1; n < Size(); ++n) {
    const COLORREF c = entries_[static_cast<std::size_t>(n)];
    const long dr = Red(c) - Red(rgb), dg = Green(c) - Green(rgb), db = Blue(c) - Blue(rgb);
    const long d = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || d < bestDistance) {
      best = n;
      bestDistance = d;
      if (d == 0) break;
    }
  }
  return best;
}

bool ColorPalette::ToRGB(long colorNo, COLORREF* rgb) const {
  const bool known = colorNo > 0 && colorNo < Size();
  if (rgb) *rgb = known ? entries_[static_cast<std::size_t>(colorNo)] : RGB(0, 0, 0);
  return known;
}

int GetColorNoByCOLORREF(COLORREF rgb, long& colorNo, void* palette) {
  colorNo = PaletteOrDefault(palette).Nearest(rgb);
  return colorNo > 0 ? 1 : 0;
}

int GetCOLORREFByColorNo(long colorNo, COLORREF& rgb, void* palette) {
  return PaletteOrDefault(palette).ToRGB(colorNo, &rgb) ? 1 : 0;
}
