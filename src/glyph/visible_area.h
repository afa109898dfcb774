// Which glyphs of a run can show on the device. On kinds whose drawable area
// is known (the window rectangle), a glyph whose cell lies farther from that
// area than any glyph reaches draws nothing there: the run walks past it
// instead of drawing it. Once every later cell lies past the area, nothing
// more of the run can show, and only its underline still needs the walk.
#ifndef INKLINE_SRC_GLYPH_VISIBLE_AREA_H
#define INKLINE_SRC_GLYPH_VISIBLE_AREA_H

#include <inkline/map_string.h>

#include "glyph/glyph_runs.h"

namespace glyph {

class VisibleArea {
 public:
  // The area of the context's device kind, grown by how far a glyph of the
  // run may draw from its cell. Unknown (nothing is ever skipped) on kinds
  // that take no window rectangle and where that rectangle is empty or not
  // finite, as a host that never set it leaves it.
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

// Counts the characters a run walked past and tells the decision trace once.
class SkipTally {
 public:
  explicit SkipTally(const Run& run) : run_(run) {}
  ~SkipTally();
  SkipTally(const SkipTally&) = delete;
  SkipTally& operator=(const SkipTally&) = delete;
  void Skipped() { ++walked_; }
  void Stopped() { stopped_ = true; }

 private:
  const Run& run_;
  long long walked_ = 0;
  bool stopped_ = false;
};

}  // namespace glyph

#endif  // INKLINE_SRC_GLYPH_VISIBLE_AREA_H
