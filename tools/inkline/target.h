// Where a render goes: the recording device's trace, or a picture file.
#ifndef INKLINE_TOOLS_TARGET_H
#define INKLINE_TOOLS_TARGET_H

#include <cstdio>
#include <memory>
#include <string>

#include <inkline/device.h>

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

// Prints every device call, one a line, to out when finished.
std::unique_ptr<RenderTarget> MakeTraceTarget(const View& view, DeviceChoice choice, FILE* out);

// A PNG, SVG or PDF file, chosen by the extension of path. The picture is
// written to a temporary file beside path and renamed over it by Finish, so a
// failed run never leaves a half-written picture. Null, with *error, when the
// extension is unknown or the file cannot be started.
std::unique_ptr<RenderTarget> MakePictureTarget(const std::string& path, const View& view,
                                                DeviceChoice choice, std::string* error);

#endif  // INKLINE_TOOLS_TARGET_H
