// Where a render goes: the recording device's trace, or a picture file.
#ifndef INKLINE_TOOLS_TARGET_H
#define INKLINE_TOOLS_TARGET_H

#include <cstdio>
#include <memory>
#include <string>

#include <inkline/device.h>
#include <inkline/host/cairo_device.h>

#include "output_file.h"
#include "view.h"

struct DeviceChoice {
  short kind = 0;         // device kind 0 to 9 (7, 8, 9 draw text natively)
  bool trueType = true;   // the device allows TrueType fonts (rational display mode 1)
};

class RenderTarget {
 public:
  virtual ~RenderTarget() = default;
  virtual DeviceDriver& Device() = 0;
  // Completes the output; false, with a message in *error, when it could not.
  virtual bool Finish(std::string* error) = 0;
};

// Prints every device call, one a line, to out when finished; while it
// lives, the library's decisions on the calling thread go to stderr.
std::unique_ptr<RenderTarget> MakeTraceTarget(const View& view, DeviceChoice choice, FILE* out);

struct PictureChoice {
  PictureFormat format = PictureFormat::Png;
  long background = 8;  // colour number filling the picture first; 0 leaves it transparent
};

// The Cairo device settings of a picture.
CairoDevice::Options PictureOptions(const View& view, DeviceChoice choice, PictureChoice picture);

// A PNG, SVG or PDF picture drawn into out's temporary file, which Finish
// moves into place; a failed run never leaves a half-written picture. out
// must outlive the target. Null, with *error, when the picture cannot be started.
std::unique_ptr<RenderTarget> MakePictureTarget(OutputFile& out, const View& view,
                                                DeviceChoice choice, PictureChoice picture,
                                                std::string* error);

#endif  // INKLINE_TOOLS_TARGET_H
