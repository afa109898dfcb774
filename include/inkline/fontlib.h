// The host's vector font library as the library calls it.
//
// Outline coordinates, advances and offsets are design units of a square grid
// of G units per character height: 255 when GetLibType() is 1, else 40.
//
// Both tables hold exactly the listed slots in order, including the slots the
// library never calls, and no destructor: a host and the library built
// separately agree on them under either C++ ABI. The font library owns its
// fonts; nobody destroys them through these interfaces.
#ifndef INKLINE_FONTLIB_H
#define INKLINE_FONTLIB_H

#include <inkline/export.h>

class MapFont {
 public:
  // Slot 0: not called by the library.
  virtual short Reserved0() { return 0; }
  // Sets *points to x, y pairs (design units, y up, x 0 at the reference
  // point, y 0 to G spanning the glyph box), *partSizes to the point count of
  // each contour and *partCount to the number of contours. The font owns the
  // arrays until its next call. height: character height in output units.
  virtual short GetCharOutline(char* ch, double** points, int** partSizes, short* partCount,
                               double height) = 0;
  // Advance of the character at ch (two bytes when the first has its high bit
  // set), in design units.
  virtual double CharLength(char* ch) = 0;
  // Slots 3 to 5: not called by the library.
  virtual short Reserved3() { return 0; }
  virtual short Reserved4() { return 0; }
  virtual short Reserved5() { return 0; }
  // Offset of the glyph box bottom (outline y 0) from the reference point,
  // in design units, upwards positive.
  virtual short GetYOffset() = 0;

 protected:
  MapFont() {}
  ~MapFont() {}
};

class MapFontLib {
 public:
  // Slot 0: not called by the library.
  virtual short Reserved0() { return 0; }
  // Writes the named font, or null, into *font.
  virtual short GetFontByName(char* faceName, MapFont** font) = 0;
  // Writes font fontNo, or null, into *font.
  virtual short GetFontByNo(short fontNo, MapFont** font) = 0;
  // The font number of a face name.
  virtual short GetFontNoByName(char* faceName) = 0;
  // Copies the face name of fontNo into the caller's 64-byte buffer *name.
  virtual short GetFontName(short fontNo, char** name) = 0;
  // 1: a grid of 255, and font number 0 drawn from the character-library file.
  virtual short GetLibType() = 0;

  // Handle of the open character-library file, for _llseek and _lread.
  int ClibFile;

 protected:
  // No character-library file.
  MapFontLib() : ClibFile(-1) {}
  ~MapFontLib() {}
};

// The process-wide font library object, or null.
INKLINE_HOSTLIB_API MapFontLib* INKLINE_CALL GetMapFontLib();

// Length of str in font fontNo in units of the character width (the sum of
// advances over the grid). lib null means the process-wide library.
INKLINE_HOSTLIB_API double INKLINE_CALL StringLength(char* str, short fontNo, char arrangement,
                                        MapFontLib* lib);

#endif  // INKLINE_FONTLIB_H
