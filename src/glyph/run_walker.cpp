#include <cmath>

#include "glyph/glyph_runs.h"
#include "layout/decisions.h"

namespace glyph {

RunWalker RunWalker::For(const Run& run, double theta, double grid, Vec start) {
  RunWalker w;
  w.dir = Vec{std::cos(theta), std::sin(theta)};
  w.down = Vec{std::sin(theta), -std::cos(theta)};
  w.vertical = run.arrangement != 0;
  w.cell = run.height + run.space;
  w.spacing = run.space;
  w.scale = run.width / grid;
  w.cursor = start;
  if (w.vertical) w.cursor = Vec{start.x + run.height * w.down.x, start.y + run.height * w.down.y};
  w.end = run.origin;
  return w;
}

void ReportSkipped(Vec at) {
  layout::Decide([&] {
    return "character at (" + layout::Number(at.x) + ", " + layout::Number(at.y) +
           "): skipped, outside the clip area";
  });
}

Vec RunWalker::Step(double advance) const {
  if (vertical) return Vec{cell * down.x, cell * down.y};
  const double along = advance * scale;
  return Vec{along * dir.x + spacing * dir.x, along * dir.y + spacing * dir.y};
}

bool RunWalker::Heading(Vec* heading) const {
  if (vertical) {
    *heading = cell * down;
    return true;
  }
  if (scale >= 0.0 && spacing >= 0.0) {
    *heading = dir;
    return true;
  }
  if (scale <= 0.0 && spacing <= 0.0) {
    *heading = -1.0 * dir;
    return true;
  }
  return false;
}

}  // namespace glyph
