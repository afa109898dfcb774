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

// How many times a font file has been opened since the process started. A
// file is opened once and kept, whatever sizes and fonts are made from it.
INKLINE_WIN32_API long InklineFontFileLoads(void);
}

#endif  // !_WIN32

#endif  // INKLINE_WIN32_FONTS_H
