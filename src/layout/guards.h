// Paired calls as scoped objects, so that no path can leave one half out:
// the device's pen and brush put back after drawing, and a Windows font
// deselected and deleted after a run.
#ifndef INKLINE_SRC_LAYOUT_GUARDS_H
#define INKLINE_SRC_LAYOUT_GUARDS_H

#include <inkline/device.h>
#include <inkline/win32.h>

#include "layout/dc_pair.h"

namespace layout {

// Selects `saved` on the device again when the scope ends, through Select
// (the device's SetPen or SetBrush).
template <typename Record, void (DeviceDriver::*Select)(Record*)>
class DeviceRecordRestorer {
 public:
  DeviceRecordRestorer(DeviceDriver* device, const Record& saved)
      : device_(device), saved_(saved) {}
  ~DeviceRecordRestorer() {
    if (device_) (device_->*Select)(&saved_);
  }
  DeviceRecordRestorer(const DeviceRecordRestorer&) = delete;
  DeviceRecordRestorer& operator=(const DeviceRecordRestorer&) = delete;
  const Record& saved() const { return saved_; }

 private:
  DeviceDriver* device_;
  Record saved_;
};

using PenRestorer = DeviceRecordRestorer<PEN, &DeviceDriver::SetPen>;
using BrushRestorer = DeviceRecordRestorer<BRUSH, &DeviceDriver::SetBrush>;

// A font created from a description and selected into a host's device
// contexts for one scope; the previous object is selected again and the font
// deleted at its end. A font that cannot be created leaves the contexts as
// they were.
class ScopedGdiFont {
 public:
  ScopedGdiFont(const DcPair& dc, const LOGFONTA& face)
      : dc_(dc), font_(CreateFontIndirectA(&face)),
        previous_(font_ ? dc.Select(reinterpret_cast<HGDIOBJ>(font_)) : nullptr) {}
  ~ScopedGdiFont() {
    if (previous_) dc_.Select(previous_);
    DeleteObject(reinterpret_cast<HGDIOBJ>(font_));
  }
  ScopedGdiFont(const ScopedGdiFont&) = delete;
  ScopedGdiFont& operator=(const ScopedGdiFont&) = delete;

 private:
  DcPair dc_;
  HFONT font_;
  HGDIOBJ previous_;
};

}  // namespace layout

#endif  // INKLINE_SRC_LAYOUT_GUARDS_H
