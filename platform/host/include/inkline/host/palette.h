// The colour library: colour numbers of the host's palette and their RGB
// values.
//
// Pens, brushes and markup carry colour numbers; devices turn them into RGB
// through the same palette, and RGB values from outside (markup, a GUI) are
// turned into the nearest colour number.
//
// The default palette has 256 numbers:
//   0        no colour (a fill of colour 0 is no fill)
//   1 - 16   black, red, green, blue, yellow, magenta, cyan, white,
//            dark red, dark green, dark blue, grey (12, the shadow colour),
//            light grey, olive, purple, teal
//   17 - 39  a grey ramp from dark to light, 23 steps
//   40 - 255 a 6x6x6 colour cube: 40 + 36*r + 6*g + b, each of r, g, b 0..5
//            standing for 0, 51, 102, 153, 204, 255
//
// COLORREF is Windows' 0x00BBGGRR (RGB(r, g, b) from <inkline/win32.h>).
#ifndef INKLINE_HOST_PALETTE_H
#define INKLINE_HOST_PALETTE_H

#include <vector>

#include <inkline/colorlib.h>
#include <inkline/export.h>
#include <inkline/win32.h>

class INKLINE_HOSTLIB_API ColorPalette {
 public:
  // entries[n] is the RGB value of colour number n; entry 0 stands for "no
  // colour" and is never the nearest colour of anything.
  explicit ColorPalette(std::vector<COLORREF> entries);

  // The process-wide default palette described above.
  static const ColorPalette& Default();

  // The colour number nearest to rgb (Euclidean distance in RGB; on a tie the
  // lower number), or 0 when the palette has no numbers above 0.
  long Nearest(COLORREF rgb) const;

  // Writes the RGB value of colorNo into *rgb and returns true; for 0 (no
  // colour) or a number outside the palette writes black and returns false.
  bool ToRGB(long colorNo, COLORREF* rgb) const;

  long Size() const { return static_cast<long>(entries_.size()); }

 private:
  std::vector<COLORREF> entries_;
};

// GetColorNoByCOLORREF (declared in <inkline/colorlib.h>, which the library
// includes): the colour number nearest to rgb; palette is a ColorPalette*, or
// null for the default palette.

// The reverse, for devices: writes the RGB value of colorNo into rgb and
// returns 1; for "no colour" (0) or an unknown number writes black and
// returns 0. palette as above.
INKLINE_HOSTLIB_API int INKLINE_CALL GetCOLORREFByColorNo(long colorNo, COLORREF& rgb, void* palette);

#endif  // INKLINE_HOST_PALETTE_H
