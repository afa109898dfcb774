// Conversion between an annotation's plain parameters and its markup document.
//
// Both functions return a pointer into a result buffer kept by the library for
// the calling thread: copy the result before that thread calls either function
// again. Never free it.
#ifndef INKLINE_CONVERT_H
#define INKLINE_CONVERT_H

#include <inkline/export.h>

extern "C" {

// Builds the markup document of a text and its drawing parameters. style is a
// style number 1 (italic), 2 (bold), 3 (underline), 4 (strike-out), other
// values none. Returns null for a null text.
INKLINE_API char* INKLINE_CALL CvtStrToHTML(char* text, short face, short style, double size, int color,
                               float space, char hvpl, int bgcolor, float angle);

// Takes a markup document apart into its plain text (the return value) and the
// eight parameters. Returns null, writing nothing, for a null document or one
// without a <body ...> start tag.
INKLINE_API char* INKLINE_CALL CvtHTMLToStr(char* document, short* face, short* style, double* size,
                               int* color, float* space, char* hvpl, int* bgcolor,
                               float* angle);

}  // extern "C"

#endif  // INKLINE_CONVERT_H
