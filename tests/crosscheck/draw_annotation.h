// One annotation drawn through the library on this platform's GDI.
#ifndef INKLINE_TESTS_CROSSCHECK_DRAW_ANNOTATION_H
#define INKLINE_TESTS_CROSSCHECK_DRAW_ANNOTATION_H

#include "annotations.h"
#include "gdi_drawing.h"

GdiDrawing DrawAnnotation(const Annotation& a);

#endif  // INKLINE_TESTS_CROSSCHECK_DRAW_ANNOTATION_H
