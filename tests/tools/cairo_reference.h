// Cairo's own drawing of text from a font file, unhinted so advances are
// exact: the reference the library's outlines are compared with.
#ifndef INKLINE_TESTS_TOOLS_CAIRO_REFERENCE_H
#define INKLINE_TESTS_TOOLS_CAIRO_REFERENCE_H

#include <string>

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

// Draws utf8 in black with its baseline starting at (x, y) (Cairo's y, down).
inline void DrawReferenceText(cairo_t* cr, const std::string& file, int faceIndex, double em,
                              double x, double y, const std::string& utf8) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(file.c_str()));
  FcPatternAddInteger(pattern, FC_INDEX, faceIndex);
  cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(pattern);
  cairo_set_font_face(cr, face);
  cairo_set_font_size(cr, em);
  cairo_font_options_t* fo = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(fo, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(fo, CAIRO_HINT_STYLE_NONE);
  cairo_set_font_options(cr, fo);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_move_to(cr, x, y);
  cairo_show_text(cr, utf8.c_str());
  cairo_font_options_destroy(fo);
  cairo_font_face_destroy(face);
  FcPatternDestroy(pattern);
}

#endif  // INKLINE_TESTS_TOOLS_CAIRO_REFERENCE_H
