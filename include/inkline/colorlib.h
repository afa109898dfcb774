// The host product's colour library as the library calls it: the colour
// number of an RGB value.
#ifndef INKLINE_COLORLIB_H
#define INKLINE_COLORLIB_H

#include <inkline/export.h>
#include <inkline/win32.h>

// Writes the colour number nearest to rgb into colorNo. palette is the colour
// library's own palette object, or null for its default palette. Returns 1
// when a number was found, 0 otherwise (colorNo is then 0).
INKLINE_HOSTLIB_API int INKLINE_CALL GetColorNoByCOLORREF(COLORREF rgb, long& colorNo, void* palette);

#endif  // INKLINE_COLORLIB_H
