// Draws a layer through the library, as a host's map-drawing code does.
#ifndef INKLINE_TOOLS_RENDER_H
#define INKLINE_TOOLS_RENDER_H

#include <functional>

#include <inkline/inkline.h>

#include "diagnostics.h"
#include "layer.h"
#include "view.h"

struct RenderSetup {
  DeviceDriver* device = nullptr;
  MapFontLib* vectorFonts = nullptr;  // the process-wide font library
  MapFontLib* strokeFonts = nullptr;  // for "fontlib": "stroke"; may be null
  // True when the font table has the number (unknown numbers fall back to 0).
  std::function<bool(short fontNo)> hasFont;
  View view;
  // Called now and then with the number of labels drawn so far.
  std::function<void(size_t done, size_t total)> progress;
};

// Draws every label of the layer. Problems that do not stop the drawing (an
// unknown font, characters the code page lacks, labels too small to see) are
// warned about once each, with counts, when the drawing is done.
void RenderLayer(const Layer& layer, const RenderSetup& setup, Diagnostics& diagnostics);

// The scales a host sets so that heights in map units come out in device
// units and widths given in screen pixels stay pixels.
void SetViewScales(MapString& text, const View& view);

#endif  // INKLINE_TOOLS_RENDER_H
