// What each kind of output device can do, in one table, and the view of the
// device that one entry call draws through.
#ifndef INKLINE_SRC_LAYOUT_DEVICE_VIEW_H
#define INKLINE_SRC_LAYOUT_DEVICE_VIEW_H

#include <inkline/device.h>

namespace layout {

// Where a kind's device context for TrueType text comes from.
enum class DcSource : unsigned char { Keep, Window, Device, Page, Text };
// Where its height (GDI rows are this height minus y) comes from.
enum class HeightSource : unsigned char { Keep, Window, Page, Sheet };

struct KindRules {
  bool keepsPen;       // its current pen and brush are saved before drawing and put back after
  bool nativeText;     // draws text itself, from a font description
  bool clipsOutlines;  // outline glyphs outside the clip rectangle are skipped
  bool clipsTrueType;  // TrueType glyphs outside the clip rectangle are skipped
  DcSource dc;
  HeightSource height;
  bool windowRect;     // its drawing rectangle is the window rectangle
};

// The rules of kinds 0 to 9; any other kind gets those of a bare device
// context that keeps no pen.
const KindRules& RulesOfKind(short kind);

// The device of one entry call with the rules of its kind.
struct DeviceView {
  DeviceDriver* driver;
  short kind;
  const KindRules* rules;

  // The device's current pen, or a zero pen on kinds that keep none.
  PEN SavedPen() const { return rules->keepsPen && driver ? driver->CurPen : PEN{}; }
  BRUSH SavedBrush() const { return rules->keepsPen && driver ? driver->CurBrush : BRUSH{}; }
};

inline DeviceView ViewOf(DeviceDriver* driver, short kind) {
  return DeviceView{driver, kind, &RulesOfKind(kind)};
}

}  // namespace layout

#endif  // INKLINE_SRC_LAYOUT_DEVICE_VIEW_H
