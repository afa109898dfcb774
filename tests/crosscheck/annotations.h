// The annotations drawn on both platforms' GDI: TrueType text plain,
// rotated, bold, italic and underlined, outlined text (GetPath and PolyDraw)
// and a Chinese line, on a 480 by 360 pixel device.
//
// All in a GB2312 face, Latin text too: the library asks every font with the
// GB2312 character set, and Windows then maps a face that lacks it (DejaVu
// Sans, Arial) to a Chinese face, while the portable layer draws the named
// face. That difference is known; here both sides draw from one font file.
//
// Outlined text avoids glyphs with a contour whose first point is off the
// curve ("O", "Q", "o", "0" and dots in this font): Wine starts such a
// contour at that control point, as if it were on the curve, where the
// glyph's own contour runs through the midpoint of its last and first
// control points. Its path then has one piece fewer and a corner there.
#ifndef INKLINE_TESTS_CROSSCHECK_ANNOTATIONS_H
#define INKLINE_TESTS_CROSSCHECK_ANNOTATIONS_H

constexpr int kDeviceWidth = 480;
constexpr int kDeviceHeight = 360;
constexpr short kFont = 0;
constexpr const char* kFace = "AR PL UMing CN";

struct Annotation {
  const char* name;
  const char* text;  // GBK
  double x, y, height;
  short font, style;
  double angle;
  short color, extra;  // with the outline bit: outline colour and width
  // How far, in pixels, the text's ink may lie from the other platform's.
  double textTolerance;
};

constexpr short kBold = 0x1000, kUnderline = 0x2000, kOutline = 0x0400, kItalic = 2;

constexpr Annotation kAnnotations[] = {
    {"plain", "Hxgp", 40, 300, 32, kFont, 0, 0, 0, 0, 1},
    {"small", "Ag", 300, 300, 13, kFont, 0, 0, 0, 0, 1},
    {"rotated", "Turn", 120, 120, 28, kFont, 0, 30, 0, 0, 1},
    {"bold", "Bold", 40, 220, 28, kFont, kBold, 0, 0, 0, 1},
    {"italic", "Italic", 220, 220, 28, kFont, kItalic, 0, 0, 0, 1},
    {"underlined", "Under", 300, 140, 24, kFont, kUnderline, 0, 0, 0, 1},
    {"outlined", "Sg", 40, 60, 40, kFont, kOutline, 0, 2, 1, 1},
    {"outlined turned", "R", 360, 40, 40, kFont, kOutline, 45, 2, 1, 1},
    {"chinese", "\xD6\xD0\xCE\xC4\xB5\xD8\xCD\xBC", 200, 30, 30, kFont, 0, 0, 0, 0, 1},
    {"chinese outlined", "\xB5\xD8", 40, 150, 30, kFont, kOutline, 0, 2, 1, 1},
    {"bold outlined", "Bd", 160, 100, 28, kFont, kBold | kOutline, 0, 2, 1, 1},
};

#endif  // INKLINE_TESTS_CROSSCHECK_ANNOTATIONS_H
