// FreeType outlines as polygons: curves replaced by straight pieces that stay
// within a tolerance of the curve.
#ifndef INKLINE_HOST_FONTS_OUTLINE_FLATTENER_H
#define INKLINE_HOST_FONTS_OUTLINE_FLATTENER_H

#include <vector>

#include <ft2build.h>
#include FT_OUTLINE_H

// Contours as x, y pairs one after another, each closed (its last point
// repeats its first), and the point count of each.
struct FlatOutline {
  std::vector<double> points;
  std::vector<int> sizes;
};

// Maps font units to design units: x' = x * scale, y' = y * scale + shiftY.
struct DesignTransform {
  double scale = 1.0;
  double shiftY = 0.0;
};

// Flattens `outline` (font units) into *out (design units); tolerance is the
// largest distance, in design units, between a curve and its pieces.
void FlattenOutline(const FT_Outline& outline, const DesignTransform& transform,
                    double tolerance, FlatOutline* out);

#endif  // INKLINE_HOST_FONTS_OUTLINE_FLATTENER_H
