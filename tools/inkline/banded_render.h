// Draws a PNG on several threads: the page split into horizontal bands, a
// thread and a device a band, each drawing in file order the labels that
// reach its rows. The picture is byte for byte the one thread's.
#ifndef INKLINE_TOOLS_BANDED_RENDER_H
#define INKLINE_TOOLS_BANDED_RENDER_H

#include <string>

#include <inkline/host/cairo_device.h>

#include "diagnostics.h"
#include "layer.h"
#include "render.h"

// Draws the layer into a PNG at path with options (setup.device is not
// used) on up to `threads` threads. False, with *error, when the picture
// could not be made or written.
bool RenderPngInBands(const Layer& layer, const RenderSetup& setup, const std::string& path,
                      const CairoDevice::Options& options, int threads, Diagnostics& diagnostics,
                      std::string* error);

#endif  // INKLINE_TOOLS_BANDED_RENDER_H
