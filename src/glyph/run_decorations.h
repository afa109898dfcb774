// What the vector and the TrueType run loops share: pens made from a width
// and a colour, and the underline and strike-out drawn after a run.
#ifndef INKLINE_GLYPH_RUN_DECORATIONS_H
#define INKLINE_GLYPH_RUN_DECORATIONS_H

#include <inkline/device.h>

#include "layout/run.h"

namespace glyph {

// A pen of this width and colour; its remaining word is 0.
PEN MakePen(double width, int color);

// The lines after a run, from its start to its end point: the underline on
// the baseline and the strike-out 0.4 character heights up the run's normal.
// When outlining, both are first drawn with the outline pen (line width plus
// outline width); then with the line pen in the saved pen's colour; the
// saved pen is selected again at the end.
struct Decorations {
  bool underline;
  bool strikeOut;
  bool outlined;
  double lineWidth;
  double outlineWidth;
  int outlineColor;
};
void DrawDecorations(DeviceDriver& device, const Decorations& lines, const PEN& saved,
                     layout::Vec start, layout::Vec end, double theta, double height);

// The end of a run: saves the device pen, then draws the run's underline and
// strike-out with the string object's line and outline settings.
void DrawRunDecorations(const layout::DrawContext& c, const layout::RunStyle& style,
                        layout::Vec start, layout::Vec end, double theta, double height);

}  // namespace glyph

#endif  // INKLINE_GLYPH_RUN_DECORATIONS_H
