// What the portable GDI's font mapper did: which file a font description
// maps to, and how often font files were opened. For tests and diagnostics;
// only the portable implementation has these.
#ifndef INKLINE_WIN32_FONTS_H
#define INKLINE_WIN32_FONTS_H

#include <inkline/win32.h>

#if !defined(_WIN32)

extern "C" {
// Copies the path of the font file that text in font lf is drawn from into
// path (at most size bytes, terminated). Returns the path's length, or 0 when
// no installed font could be found (path is then "").
INKLINE_WIN32_API int InklineFontFileFor(const LOGFONTA* lf, char* path, int size);

// Where TextOutA takes one character's glyph from in a font.
struct InklineTextGlyph {
  int face;        // the face's number (inkline::FaceIdOf in inkline/label_codes.h)
  unsigned index;  // the glyph's index in it; 0 is the face's missing glyph
};

// The glyph TextOutA draws character codePoint with in font lf: from the
// font's own face, else from the first fallback face that has it, else the
// font's missing glyph (codePoint 0 gives the font's own face). 0, with *out
// untouched, when no installed font could be found; 1 otherwise.
INKLINE_WIN32_API int InklineGlyphFor(const LOGFONTA* lf, unsigned codePoint, InklineTextGlyph* out);

// How many times a font file has been opened since the process started. A
// file is opened once and kept, whatever sizes and fonts are made from it.
INKLINE_WIN32_API long InklineFontFileLoads(void);
}

#endif  // !_WIN32

#endif  // INKLINE_WIN32_FONTS_H
