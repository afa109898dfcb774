// Native text of devices of kinds 7, 8 and 9: a Windows font description
// turned into a Cairo font, placed the way the library positions native text.
//
// The library hands each character with its reference point at the top of
// the character cell: for plain text moved along the baseline by a quarter
// (one-byte character) or half (two-byte) of the font height, the middle of
// a cell as wide as half or all of the height; for outlined text at the
// cell's left edge.
//
// Everything a character needs that does not depend on its size or angle
// (its font file, the font's unit metrics, its UTF-8 text and glyph) is
// worked out once per font and character and kept: a label of a dozen
// characters then costs a dozen lookups, not a dozen font selections.
#ifndef INKLINE_HOST_NATIVE_TEXT_H
#define INKLINE_HOST_NATIVE_TEXT_H

#include <map>
#include <memory>
#include <string>
#include <unordered_map>

#include <cairo.h>

#include <inkline/win32.h>

struct NativeTextPlacement {
  std::string utf8;     // the text
  const std::string* family = nullptr;  // the font family it is drawn in
  cairo_font_face_t* face = nullptr;  // owned by NativeTextFonts
  double emSize = 0;    // font size in device units
  double originX = 0;   // start of the baseline, Cairo coordinates (y down)
  double originY = 0;
  double angle = 0;     // degrees counter-clockwise
  bool hasGlyph = false;    // the text is the one glyph below
  unsigned long glyph = 0;  // its index in the font
};

class NativeTextFonts {
 public:
  NativeTextFonts();
  ~NativeTextFonts();
  NativeTextFonts(const NativeTextFonts&) = delete;
  NativeTextFonts& operator=(const NativeTextFonts&) = delete;

  // Computes where one character (code page bytes) starts: x, y is the
  // reference point in Cairo coordinates, moved as plain text is when
  // `shifted`. False when the text is empty or the font cannot be had.
  bool Place(const LOGFONTA& font, double x, double y, double angle, bool shifted,
             const std::string& bytes, NativeTextPlacement* placement);

  // Selects the placement's font, at its size and unturned, into cr.
  void Select(cairo_t* cr, const NativeTextPlacement& placement) const;

  // Font options for native text: unhinted metrics, as hinting rounds them
  // to whole device units (at unit size the cell would be 2 instead of ~1).
  const cairo_font_options_t* Options() const { return options_; }

 private:
  struct Character {
    std::string utf8;
    bool single = false;  // one glyph
    unsigned long glyph = 0;
  };
  struct Face {
    cairo_font_face_t* face = nullptr;
    cairo_scaled_font_t* unit = nullptr;  // at size 1, for metrics and glyph lookups
    std::string family;
    double ascent = 0, descent = 0;  // at size 1
    std::unordered_map<std::string, Character> characters;  // by code page bytes
  };
  Face* FaceFor(const LOGFONTA& font);
  Face* Open(const std::string& file);
  const Character& CharacterOf(Face& face, const std::string& bytes);

  cairo_font_options_t* options_;
  std::map<std::string, std::unique_ptr<Face>> faces_;  // by font file
  std::unordered_map<std::string, Face*> byFont_;       // by what of a font picks its file
};

#endif  // INKLINE_HOST_NATIVE_TEXT_H
