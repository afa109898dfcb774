// A FreeType outline as a GDI path: every contour one closed figure, its
// quadratic (conic) arcs raised to the cubic Béziers GDI paths hold.
#ifndef INKLINE_PLATFORM_WIN32_GLYPH_SHAPE_H
#define INKLINE_PLATFORM_WIN32_GLYPH_SHAPE_H

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include "shape_path.h"

namespace gdi {

// The figures of outline, in the outline's own units and orientation (y up).
// Each figure is a PT_MOVETO followed by PT_LINETO and PT_BEZIERTO points, its
// last point or-ed with PT_CLOSEFIGURE; the closing line back to the start is
// left to PT_CLOSEFIGURE rather than repeated as a point.
ShapePath OutlineFigures(const FT_Outline& outline);

}  // namespace gdi

#endif  // INKLINE_PLATFORM_WIN32_GLYPH_SHAPE_H
