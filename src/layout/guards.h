// Paired calls as scoped objects, so that no path can leave one half out:
// the device's pen and brush put back after drawing, and a Windows font
// deselected and deleted after a run.
#ifndef INKLINE_SRC_LAYOUT_GUARDS_H
#define INKLINE_SRC_LAYOUT_GUARDS_H

#include <inkline/device.h>
#include <inkline/win32.h>

namespace layout {

// Selects `saved` on the device again when the scope ends.
class PenRestorer {
 public:
  PenRestorer(DeviceDriver* device, const PEN& saved) : device_(device), saved_(saved) {}
  ~PenRestorer() {
    if (device_) device_->SetPen(&saved_);
  }
  PenRestorer(const PenRestorer&) = delete;
  PenRestorer& operator=(const PenRestorer&) = delete;
  const PEN& saved() const { return saved_; }

 private:
  DeviceDriver* device_;
  PEN saved_;
};

// Selects `saved` on the device again when the scope ends.
class BrushRestorer {
 public:
  BrushRestorer(DeviceDriver* device, const BRUSH& saved) : device_(device), saved_(saved) {}
  ~BrushRestorer() {
    if (device_) device_->SetBrush(&saved_);
  }
  BrushRestorer(const BrushRestorer&) = delete;
  BrushRestorer& operator=(const BrushRestorer&) = delete;

 private:
  DeviceDriver* device_;
  BRUSH saved_;
};

// A font created from a description and selected into a device context for
// one scope; the previous object is selected again and the font deleted at
// its end. A font that cannot be created leaves the context as it was.
class ScopedGdiFont {
 public:
  ScopedGdiFont(HDC dc, const LOGFONTA& face)
      : dc_(dc), font_(CreateFontIndirectA(&face)),
        previous_(font_ ? SelectObject(dc, reinterpret_cast<HGDIOBJ>(font_)) : nullptr) {}
  ~ScopedGdiFont() {
    if (previous_) SelectObject(dc_, previous_);
    DeleteObject(reinterpret_cast<HGDIOBJ>(font_));
  }
  ScopedGdiFont(const ScopedGdiFont&) = delete;
  ScopedGdiFont& operator=(const ScopedGdiFont&) = delete;

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ previous_;
};

}  // namespace layout

#endif  // INKLINE_SRC_LAYOUT_GUARDS_H
