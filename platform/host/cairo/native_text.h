// Native text of devices of kinds 7, 8 and 9: a Windows font description
// turned into a Cairo font, placed the way the library positions native text.
//
// The library hands each character with its reference point at the top of
// the character cell: for plain text moved along the baseline by a quarter
// (one-byte character) or half (two-byte) of the font height, the middle of
// a cell as wide as half or all of the height; for outlined text at the
// cell's left edge.
#ifndef INKLINE_HOST_NATIVE_TEXT_H
#define INKLINE_HOST_NATIVE_TEXT_H

#include <map>
#include <string>

#include <cairo.h>

#include <inkline/win32.h>

struct NativeTextPlacement {
  std::string utf8;     // the text
  std::string family;   // the font family it is drawn in
  double emSize = 0;    // font size in device units
  double originX = 0;   // start of the baseline, Cairo coordinates (y down)
  double originY = 0;
  double angle = 0;     // degrees counter-clockwise
};

class NativeTextFonts {
 public:
  NativeTextFonts() = default;
  ~NativeTextFonts();
  NativeTextFonts(const NativeTextFonts&) = delete;
  NativeTextFonts& operator=(const NativeTextFonts&) = delete;

  // Selects the font into cr and computes where one character (code page
  // bytes) starts: x, y is the reference point in Cairo coordinates, moved
  // as plain text is when `shifted`. False when the text is empty or the
  // font cannot be had.
  bool Place(cairo_t* cr, const LOGFONTA& font, double x, double y, double angle, bool shifted,
             const std::string& bytes, NativeTextPlacement* placement);

 private:
  cairo_font_face_t* FaceFor(const LOGFONTA& font, std::string* family);
  struct Face {
    cairo_font_face_t* face;
    std::string family;
  };
  std::map<std::string, Face> faces_;  // by font file
};

#endif  // INKLINE_HOST_NATIVE_TEXT_H
