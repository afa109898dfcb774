// Which glyphs of a run can show on the device. When the host says that the
// window rectangle bounds all its device shows (clip flag
// inkline::kClipToWindow) on a kind that takes that rectangle, a glyph whose
// cell lies farther from it than any glyph reaches draws nothing there: the
// run walks past it instead of drawing it. Once every later cell lies past
// the area, nothing more of the run can show, and only its underline still
// needs the walk. Without that word from the host every glyph is drawn: a
// window rectangle need not be the drawing area (a sheet, a page, an export).
#ifndef INKLINE_SRC_GLYPH_VISIBLE_AREA_H
#define INKLINE_SRC_GLYPH_VISIBLE_AREA_H

#include <inkline/map_string.h>

#include "glyph/glyph_runs.h"

namespace glyph {

class VisibleArea {
 public:
  // The area of the context's device kind, grown by how far a glyph of the
  // run may draw from its cell. Unknown (nothing is ever skipped) unless the
  // host asked for it, on kinds that take no window rectangle, and where that
  // rectangle is empty or not finite, as a host that never set it leaves it.
  static VisibleArea Of(const DrawContext& c, const Run& run);

  // Whether a glyph at the cell draws nothing inside the area.
  bool Misses(Vec cell) const;
  // Whether no glyph from the cell on can show when every later move goes
  // along heading (a zero heading: the cursor stays).
  bool PassedFor(Vec cell, Vec heading) const;

 private:
  bool known_ = false;
  D_RECT grown_{};
};

// What a run loop does with the glyph at its cursor.
enum class Visibility { Draw, WalkPast, Stop };

// The visible area of one run, with the run's own rules: an underlined run
// is walked to its end, and one whose moves may turn back is never stopped.
// Tells the decision trace once, at the end, how many characters it walked
// past and whether it stopped.
class RunVisibility {
 public:
  RunVisibility(const DrawContext& c, const Run& run, const RunStyle& style, const RunWalker& w);
  ~RunVisibility();
  RunVisibility(const RunVisibility&) = delete;
  RunVisibility& operator=(const RunVisibility&) = delete;

  Visibility At(Vec cursor);

 private:
  const Run& run_;
  VisibleArea area_;
  bool decorated_;
  bool oneWay_ = false;
  Vec heading_{};
  long long walked_ = 0;
  bool stopped_ = false;
};

}  // namespace glyph

#endif  // INKLINE_SRC_GLYPH_VISIBLE_AREA_H
