// Native text drawn a run at a time: the library hands one character per
// call, and a picture that records every call (PDF) keeps one command per
// show; consecutive characters in the same font, size, angle, colour and
// direction are therefore gathered and shown with one call, as real text.
// Shaped clusters keep their text beside their glyphs, in reading order, so
// a PDF reader finds the words a reader of the script would type.
#ifndef INKLINE_HOST_GLYPH_RUN_H
#define INKLINE_HOST_GLYPH_RUN_H

#include <string>
#include <vector>

#include <cairo.h>

#include <inkline/win32.h>

#include "native_text.h"

class GlyphRun {
 public:
  // Adds a character placed by fonts, to be filled in `fill`. A character
  // that does not continue the run shows the run first.
  void Add(cairo_t* cr, const NativeTextFonts& fonts, const NativeTextPlacement& place,
           COLORREF fill);
  // Shows the gathered characters with one call; nothing when empty.
  void Show(cairo_t* cr);
  bool Empty() const { return glyphs_.empty(); }
  // What Show would draw: the glyphs in picture coordinates, and the text.
  const std::vector<cairo_glyph_t>& Glyphs() const { return glyphs_; }
  const std::string& Text() const { return utf8_; }

 private:
  bool Continues(const NativeTextPlacement& place, COLORREF fill) const;
  // Selects the run's font, turned by its angle, into cr.
  void SelectFont(cairo_t* cr) const;
  // A character that is not one glyph, laid out by Cairo in the run's font.
  bool AddLaidOut(cairo_t* cr, const NativeTextFonts& fonts, const NativeTextPlacement& place);

  cairo_font_face_t* face_ = nullptr;  // owned by NativeTextFonts
  const cairo_font_options_t* options_ = nullptr;
  double emSize_ = 0;
  double angle_ = 0;
  bool slanted_ = false;
  COLORREF fill_ = 0;
  bool rightToLeft_ = false;  // the text and clusters are gathered backwards
  bool needsText_ = false;    // some glyph cannot be mapped back to its text
  std::string utf8_;
  std::vector<cairo_glyph_t> glyphs_;
  std::vector<cairo_text_cluster_t> clusters_;
};

#endif  // INKLINE_HOST_GLYPH_RUN_H
