// Draws a layer through the library, as a host's map-drawing code does.
#ifndef INKLINE_TOOLS_RENDER_H
#define INKLINE_TOOLS_RENDER_H

#include <functional>
#include <string>

#include <inkline/host/label_text.h>
#include <inkline/inkline.h>
#include <inkline/label_codes.h>

#include "diagnostics.h"
#include "label_checks.h"
#include "layer.h"
#include "view.h"

struct RenderSetup {
  DeviceDriver* device = nullptr;
  MapFontLib* vectorFonts = nullptr;  // the process-wide font library
  MapFontLib* strokeFonts = nullptr;  // for "fontlib": "stroke"; may be null
  // True when the font table has the number (unknown numbers fall back to 0).
  std::function<bool(short fontNo)> hasFont;
  // Makes labels' text ready for the library (shapes what must be shaped);
  // used by one thread, the one preparing labels. Null: characters only.
  LabelShaper* shaper = nullptr;
  // The font of labels that name none (their Chinese, Japanese and Korean
  // in font 0's face); -1: font 0 for all of it.
  short unnamedFont = -1;
  // Told what the shaping of each label did, when the user asked (--trace).
  std::function<void(const std::string& note)> explain;
  View view;
  // Called now and then with the number of labels drawn so far.
  std::function<void(size_t done, size_t total)> progress;
};

// Draws every label of the layer. Problems that do not stop the drawing (an
// unknown font, characters the code page lacks, labels too small to see) are
// warned about once each, with counts, when the drawing is done.
void RenderLayer(const Layer& layer, const RenderSetup& setup, Diagnostics& diagnostics);

// One part of a label (its plain text or its markup) checked and made ready
// to draw: the text in the library's code page with the label's own codes,
// the font settled.
struct ReadyPart {
  bool drawable = false;
  bool stroke = false;  // plain text drawn from the stroke-font library
  short fontNo = 0;
  std::string bytes;
  inkline::LabelCodes codes;  // installed while the bytes are drawn
};
struct ReadyLabel {
  ReadyPart plain, rich;
};

// Checks a label, counting and saying its problems. Not for several threads
// at once: the checks and the code page's user-defined characters are shared.
ReadyLabel PrepareLabel(const Label& label, const RenderSetup& setup, LabelChecks& checks,
                        Diagnostics& diagnostics);

// One thread's string objects, drawing prepared labels on one device.
class LabelDrawer {
 public:
  LabelDrawer(DeviceDriver& device, const RenderSetup& setup);
  ~LabelDrawer();
  LabelDrawer(const LabelDrawer&) = delete;
  LabelDrawer& operator=(const LabelDrawer&) = delete;
  bool Ready() const { return text_ && stroke_; }
  void Draw(const Label& label, const ReadyLabel& ready);

 private:
  DeviceDriver& device_;
  const RenderSetup& setup_;
  // A string object keeps the font library of its last plain annotation and
  // uses it for rich text, so stroke-font labels get an object of their own.
  MapString* text_ = nullptr;
  MapString* stroke_ = nullptr;
  std::string scratch_;
};

// Draws labels one at a time as they come, in the order given; Finish
// reports the problems once all are drawn. Not for several threads.
class LayerDrawing {
 public:
  LayerDrawing(const RenderSetup& setup, Diagnostics& diagnostics, size_t total);
  void Draw(const Label& label);
  void Finish();

 private:
  const RenderSetup& setup_;
  Diagnostics& diagnostics_;
  LabelDrawer drawer_;
  LabelChecks checks_;
  size_t drawn_ = 0, total_;
};

// The scales a host sets so that heights in map units come out in device
// units and widths given in screen pixels stay pixels.
void SetViewScales(MapString& text, const View& view);

#endif  // INKLINE_TOOLS_RENDER_H
