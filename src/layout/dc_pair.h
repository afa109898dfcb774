// A host's device-context object may carry two device contexts: the output
// context, where drawing goes, and the attribute context, which answers
// queries (they differ in print preview). The framework's own members set
// fonts and modes on both and draw on the output context alone; the library
// does the same for the calls it makes.
#ifndef INKLINE_SRC_LAYOUT_DC_PAIR_H
#define INKLINE_SRC_LAYOUT_DC_PAIR_H

#include <inkline/afx.h>
#include <inkline/win32.h>

namespace layout {

struct DcPair {
  HDC output;
  HDC attribute;

  // The handles of a framework device-context object (null for none).
  static DcPair Of(const CDC* dc) {
    return DcPair{CDC::OutputHandle(dc), CDC::AttributeHandle(dc)};
  }

  // Selects obj into the output context (when it is another context) and
  // into the attribute context; returns the object the attribute context
  // held, or the output context's without one.
  HGDIOBJ Select(HGDIOBJ obj) const;
  // Sets the background mode the same way; returns the previous mode,
  // taken likewise.
  int SetBackgroundMode(int mode) const;
};

}  // namespace layout

#endif  // INKLINE_SRC_LAYOUT_DC_PAIR_H
