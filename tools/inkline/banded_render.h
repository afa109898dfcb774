// Draws a PNG on several threads, a stretch of rows at a time: each stretch
// split into horizontal bands, a thread and a device a band, each drawing
// in file order the labels that reach its rows. The labels stream through
// in blocks, read once per stretch that any label reaches; neither the
// layer nor the page is ever held whole. The picture is byte for byte the
// one thread's.
#ifndef INKLINE_TOOLS_BANDED_RENDER_H
#define INKLINE_TOOLS_BANDED_RENDER_H

#include <functional>
#include <string>
#include <vector>

#include <inkline/host/cairo_device.h>

#include "diagnostics.h"
#include "layer.h"
#include "render.h"

// Hands every label of the layer, in file order, to the sink, as ready to
// draw as the layer makes them (units resolved). May be called again for
// another reading; throws LayerError when the layer cannot be read.
using LabelSource = std::function<void(const LabelSink&)>;

// A bounded, evenly thinned sample of the labels' anchors, gathered while
// the layer is read, to split the page into bands of about as many labels.
class AnchorSample {
 public:
  void Add(const Label& label);
  // Whether the next label offered would be sampled; one that would not is
  // counted as offered, so a reading may step over it unread.
  bool TakesNext();
  // The sampled anchors' rows on the view's page, from the top, rising.
  std::vector<double> Rows(const View& view) const;

 private:
  std::vector<double> ys_;
  size_t every_ = 1, seen_ = 0;
};

// Whether a page of this view drawn on this many threads is split into
// bands, which an AnchorSample then balances.
bool DrawsInBands(const View& view, int threads);

struct PngRun {
  LabelSource labels;
  size_t total = 0;          // labels in the layer, for progress
  std::vector<double> anchorRows;  // from AnchorSample::Rows
  int threads = 1;
  size_t pixelBytes = size_t{64} << 20;  // pixels kept at once
};

// Draws the layer into a PNG at path with options (setup.device is not
// used). False, with *error, when the picture could not be made or written.
bool RenderPngInBands(const PngRun& run, const RenderSetup& setup, const std::string& path,
                      const CairoDevice::Options& options, Diagnostics& diagnostics,
                      std::string* error);

#endif  // INKLINE_TOOLS_BANDED_RENDER_H
