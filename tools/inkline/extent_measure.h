// The extent of a label as the library measures it, for placement.
#ifndef INKLINE_TOOLS_EXTENT_MEASURE_H
#define INKLINE_TOOLS_EXTENT_MEASURE_H

#include <memory>
#include <string>

#include <inkline/inkline.h>

#include "layer.h"
#include "place_layer.h"
#include "placement/geometry.h"
#include "view.h"

// Draws each label on a device that keeps only the background boxes the run
// writer fills from GetStringRange (one per run: fractions, raised and
// lowered segments included) and the lines it draws (fraction bars,
// underlines); every glyph falls outside the device's clip area and is
// skipped. The extent is the convex hull of what was kept. Text is made
// ready as it is for drawing (shaped where its script needs it), so the
// extent follows the shaped advances.
class ExtentMeasurer {
 public:
  ExtentMeasurer(const View& view, const PlaceFonts& fonts);
  ~ExtentMeasurer();
  ExtentMeasurer(const ExtentMeasurer&) = delete;
  ExtentMeasurer& operator=(const ExtentMeasurer&) = delete;

  // The extent with the label's reference point at pixel (0, 0), turned by
  // angle degrees; a rich label's box hangs from its top-left corner. Empty
  // when nothing of the label could be measured.
  placement::Polygon Measure(const Label& label, double angle);

 private:
  class Device;
  // Draws the label's runs (text in the library's code page) and returns
  // the hull of what the device kept.
  placement::Polygon MeasureRuns(const PlainLabel& p, std::string& bytes, short fontNo,
                                 double angle, MapFontLib* fonts);
  // The label's text ready to draw; kept for the label's other angles.
  const LabelText& TextOf(const Label& label, MapFontLib* fonts);

  View view_;
  PlaceFonts fonts_;
  std::unique_ptr<Device> device_;
  std::unique_ptr<CMapString> text_;
  const Label* labelOf_ = nullptr;  // the label labelText_ was made for, and its text
  std::string textOf_;
  LabelText labelText_;
};

#endif  // INKLINE_TOOLS_EXTENT_MEASURE_H
