// The drawing engine behind the string object. CMapString's operations build
// the values of layout/run.h and call these; the engine calls these again
// instead of the object's operations, so each step takes values and returns
// results.
//
// A plain string goes LayoutString (notations, pieces) -> WriteRun (device
// state, background box) -> DrawRunGlyphs (renderer choice) -> the vector or
// TrueType run loop of glyph/glyph_runs.h, one character at a time.
#ifndef INKLINE_SRC_LAYOUT_ENGINE_H
#define INKLINE_SRC_LAYOUT_ENGINE_H

#include <cstddef>

#include <inkline/map_string.h>

#include "layout/run.h"

namespace layout {

// DispString: draws nothing without a device, text or font library or below
// height 1; otherwise resets the per-string state and lays the string out.
void DisplayString(const DrawContext& c, const Run& run, const RunStyle& style);

// The layout engine: recognises a stacked fraction and the raise and lower
// codes, cuts the text into pieces and writes each at its place and size.
void LayoutString(const DrawContext& c, const Run& run, const RunStyle& style);

// Checks what DispString checks and sets what it sets for a string of this
// height and colour: size class, library type and grid, and plain, filled
// glyphs in the outline colour. False when DispString would draw nothing.
bool EnterDispString(CMapString& s, double height, short color);

// The run writer: device state for the kind, background box, renderer.
void WriteRun(const DrawContext& c, const Run& run, const RunStyle& style);
// The renderer choice: TrueType when the library, the device, the style and
// the rounded sizes allow it, otherwise outlines.
void DrawRunGlyphs(const DrawContext& c, const Run& run, const RunStyle& style, bool native);
// The device context, height and rectangle of the device's kind, and the
// clip rectangle made from that rectangle.
void TakeDeviceState(const DrawContext& c);

// The extent of a run: a closed polygon of five integer points.
struct Extent {
  bool measured = false;  // false for a null text or a font number with no font
  bool placed = false;    // false when the arrangement has no turned box
  POINT poly[5] = {};
};
// Measures text at the run's origin and size: an estimate for a negative
// font number, else from the font's advances; enlarged by boxScale and
// turned by the run's angle.
Extent MeasureRun(CMapString& s, const Run& run, double boxScale, short fontNo, short style);
// The estimate alone, from the text's byte and character counts.
Extent EstimateExtent(const Run& run, std::size_t bytes, long chars);

// A request to make a font current (the virtual SetFont).
struct FontRequest {
  short fontNo;
  short style;
  short bold;
  double height;
  double width;
  double angle;
  bool native;
};
bool SelectFont(CMapString& s, const FontRequest& request);
void RestoreFont(CMapString& s, bool native);

// Makes a font current for one scope and undoes its Windows font at the end:
// always, or only when the selection created one.
class FontSelection {
 public:
  enum class Undo { Always, IfCreated };
  FontSelection(CMapString& s, const FontRequest& request, Undo undo)
      : s_(s), native_(request.native), undo_(undo), before_(s.hFont) {
    SelectFont(s, request);
  }
  ~FontSelection() {
    if (undo_ == Undo::Always || s_.hFont != before_) RestoreFont(s_, native_);
  }
  FontSelection(const FontSelection&) = delete;
  FontSelection& operator=(const FontSelection&) = delete;

 private:
  CMapString& s_;
  bool native_;
  Undo undo_;
  HFONT before_;
};

}  // namespace layout

#endif  // INKLINE_SRC_LAYOUT_ENGINE_H
