// Native text of devices of kinds 7, 8 and 9: a Windows font description
// turned into Cairo fonts, placed the way the library positions native text.
//
// The library hands each character with its reference point at the top of
// the character cell: for plain text moved along the baseline by a quarter
// (one-byte character) or half (two-byte) of the font height, the middle of
// a cell as wide as half or all of the height; for outlined text at the
// cell's left edge.
//
// A character is drawn with the glyph the portable GDI would draw it with
// (InklineGlyphFor): from the font's own face, or from the fallback face that
// has it, so native text shows what a picture of the same label shows. A
// shaped cluster of the current label's codes (inkline/label_codes.h) is
// drawn as its glyphs, in its own face, where the shaper put them. Every
// glyph is sized by the em of the font asked for.
//
// Everything a character needs that does not depend on its size or angle
// (its face, glyph and UTF-8 text) is worked out once per font and character
// and kept: a label of a dozen characters then costs a dozen lookups, not a
// dozen font selections.
#ifndef INKLINE_HOST_NATIVE_TEXT_H
#define INKLINE_HOST_NATIVE_TEXT_H

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <cairo.h>

#include <inkline/label_codes.h>
#include <inkline/win32.h>

// A glyph of a placed character, in ems from its origin: x along the
// baseline, y up.
struct NativeGlyph {
  unsigned long index = 0;
  double x = 0, y = 0;
};

struct NativeTextPlacement {
  std::string utf8;     // the text, in reading order
  const std::string* family = nullptr;  // the font family it is drawn in
  cairo_font_face_t* face = nullptr;  // owned by NativeTextFonts
  double emSize = 0;    // font size in device units
  double originX = 0;   // start of the baseline, Cairo coordinates (y down)
  double originY = 0;
  double angle = 0;     // degrees counter-clockwise
  std::vector<NativeGlyph> glyphs;  // empty: Cairo lays the text out itself
  // How the text maps to the glyphs (see inkline::ShapedCluster); empty: as
  // a whole.
  std::vector<inkline::TextPiece> pieces;
  double advance = 0;   // ems along the baseline
  bool bold = false, italic = false;  // as the font description asks
  bool slanted = false;  // italic the face lacks, made up by leaning the glyphs
  // A shaped cluster's run: which label drew it (0 for a character), which
  // of its runs, and whether that run reads right to left.
  unsigned long long label = 0;
  int run = -1;
  bool rightToLeft = false;     // the cluster's own glyphs read right to left
  bool runRightToLeft = false;  // the run as a whole reads right to left
  int logical = 0;              // where the cluster's text starts in the run's reading order
};

// The font matrix of a placement's glyphs turned by angle degrees
// counter-clockwise: their size, and the lean of made-up italic.
void FontMatrix(const NativeTextPlacement& placement, double angle, cairo_matrix_t* out);

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
  // A face of a font file, with the bold or slant it must make up.
  struct Face {
    cairo_font_face_t* face = nullptr;
    bool slant = false;  // lean its glyphs: italic asked of an upright face
    std::string family;
    double ascent = 0, descent = 0;  // at size 1
  };
  // What the font asked for draws a character with.
  struct Character {
    Face* face = nullptr;
    unsigned long glyph = 0;
    std::string utf8;
  };
  // A font description: its own face's measures, and its characters by
  // their code page bytes.
  struct Font {
    Face* face = nullptr;
    std::unordered_map<std::string, Character> characters;
  };
  Font* FontFor(const LOGFONTA& font);
  Face* Open(int faceId, bool embolden, bool slant);
  const Character* CharacterOf(const LOGFONTA& lf, Font& font, const std::string& bytes);

  // What a face is in itself: its family, and whether it is bold or italic.
  struct Style {
    std::string family;
    bool bold = false, italic = false;
  };
  const Style& StyleOf(int faceId);

  cairo_font_options_t* options_;
  std::map<std::pair<int, int>, std::unique_ptr<Face>> faces_;  // by face number and made-up style
  std::unordered_map<int, Style> styles_;                       // by face number
  std::unordered_map<std::string, std::unique_ptr<Font>> fonts_;  // by what of a font picks its faces
};

#endif  // INKLINE_HOST_NATIVE_TEXT_H
