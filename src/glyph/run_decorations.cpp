#include "glyph/run_decorations.h"

#include <cmath>

#include <inkline/map_string.h>

#include "layout/guards.h"

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
                     layout::Vec start, layout::Vec end, double theta, double height) {
  auto drawLines = [&]() {
    if (lines.underline) device.DrawLine(start.x, start.y, end.x, end.y);
    if (lines.strikeOut) {
      const layout::Vec raise{-std::sin(theta) * kStrikeOutRaise * height,
                              std::cos(theta) * kStrikeOutRaise * height};
      device.DrawLine(start.x + raise.x, start.y + raise.y, end.x + raise.x, end.y + raise.y);
    }
  };
  layout::PenRestorer restore(&device, saved);
  if (lines.outlined) {
    PEN outline = MakePen(lines.lineWidth + lines.outlineWidth, lines.outlineColor);
    device.SetPen(&outline);
    drawLines();
  }
  PEN line = MakePen(lines.lineWidth, saved.color);
  device.SetPen(&line);
  drawLines();
}

void DrawRunDecorations(const layout::DrawContext& c, const layout::RunStyle& style,
                        layout::Vec start, layout::Vec end, double theta, double height) {
  if (!c.device.driver) return;
  const CMapString& s = c.s;
  DrawDecorations(*c.device.driver,
                  {style.underline == 1, style.strikeOut == 1, s.OutlineMode == 1, s.LineWidth,
                   s.OutlineWidth, s.OutlineColor},
                  c.device.SavedPen(), start, end, theta, height);
}

}  // namespace glyph
