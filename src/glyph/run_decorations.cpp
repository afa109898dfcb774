#include "glyph/run_decorations.h"

#include <cmath>

namespace glyph {

namespace {
constexpr double kStrikeOutRaise = 0.4;  // strike-out height, in character heights
}  // namespace

PEN MakePen(double width, int color) {
  PEN pen{};
  pen.width = width;
  pen.color = color;
  return pen;
}

void DrawDecorations(DeviceDriver& device, const Decorations& lines, const PEN& saved,
                     Vec start, Vec end, double theta, double height) {
  const Vec raise{-std::sin(theta) * kStrikeOutRaise * height,
                  std::cos(theta) * kStrikeOutRaise * height};
  auto drawLines = [&]() {
    if (lines.underline) device.DrawLine(start.x, start.y, end.x, end.y);
    if (lines.strikeOut)
      device.DrawLine(start.x + raise.x, start.y + raise.y, end.x + raise.x, end.y + raise.y);
  };
  if (lines.outlined) {
    PEN outline = MakePen(lines.lineWidth + lines.outlineWidth, lines.outlineColor);
    device.SetPen(&outline);
    drawLines();
  }
  PEN line = MakePen(lines.lineWidth, saved.color);
  device.SetPen(&line);
  drawLines();
  PEN restore = saved;
  device.SetPen(&restore);
}

void DrawRunDecorations(CMapString& s, short underline, short strikeOut, Vec start, Vec end,
                        double theta, double height) {
  PEN saved{};
  BRUSH savedBrush{};
  s.GetOldPenOrBrush(&saved, &savedBrush);
  if (!s.Driver) return;
  DrawDecorations(*s.Driver,
                  {underline == 1, strikeOut == 1, s.OutlineMode == 1, s.LineWidth,
                   s.OutlineWidth, s.OutlineColor},
                  saved, start, end, theta, height);
}

}  // namespace glyph
