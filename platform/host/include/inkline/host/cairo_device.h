// Output devices that draw into a picture through Cairo: PNG (anti-aliased
// raster), SVG and PDF. Device units are pixels (points for SVG and PDF) with
// y growing upwards from the bottom-left corner.
//
// The device's device context draws into the same picture, so text written
// through GDI lands beside the device's own lines and polygons, and the
// context's text colour follows the device's current brush. Devices of kinds
// 7, 8 and 9 draw native text: real text in SVG and PDF.
#ifndef INKLINE_HOST_CAIRO_DEVICE_H
#define INKLINE_HOST_CAIRO_DEVICE_H

#include <memory>
#include <string>

#include <inkline/device.h>

enum class PictureFormat { Png, Svg, Pdf };

// The format named by a file's extension (.png, .svg, .pdf, any case);
// false for any other.
bool PictureFormatFor(const std::string& path, PictureFormat* format);

class CairoDevice final : public DeviceDriver {
 public:
  struct Options {
    PictureFormat format = PictureFormat::Png;
    int width = 1024;            // picture size in device units
    int height = 1024;
    short kind = 0;              // device kind 0 to 9
    short rationalDispMode = 1;  // 1 allows TrueType fonts
    long backgroundColor = 8;    // colour number filling the picture first; 0 leaves it clear
    const void* palette = nullptr;  // a ColorPalette*, or null for the default palette
  };

  // A device writing to path: SVG and PDF stream there as they draw, PNG is
  // written by Finish. Null, with *error, when the picture cannot be started.
  static std::unique_ptr<CairoDevice> Create(const std::string& path, const Options& options,
                                             std::string* error);
  // Rows [top, top + rows) of a PNG page whose pixels another owner keeps,
  // in Cairo's RGB24 (opaque) or ARGB32 layout.
  struct PageBand {
    unsigned char* pixels = nullptr;  // the page's first row
    int stride = 0;                   // bytes from one row to the next
    int top = 0, rows = 0;            // counted from the top of the page
    bool opaque = true;
  };
  // A device drawing the page of options' size but touching only band's
  // rows, so devices on other bands may draw on other threads at once; the
  // pixels come out as a device drawing the whole page would leave them.
  // Nothing is painted first, and Finish completes the drawing but writes
  // no file. Null, with *error, when the band cannot be drawn into.
  static std::unique_ptr<CairoDevice> CreateForBand(const Options& options, const PageBand& band,
                                                    std::string* error);
  ~CairoDevice();
  CairoDevice(const CairoDevice&) = delete;
  CairoDevice& operator=(const CairoDevice&) = delete;

  // Completes the picture; false, with *error, when it could not be written.
  bool Finish(std::string* error);

  short GetDeviceType() override;
  void SetPen(PEN* pen) override;
  void SetBrush(BRUSH* brush) override;
  void DrawLine(double x1, double y1, double x2, double y2) override;
  void DrawPolylines(D_POINT* points, int* counts, short runs) override;
  void FillPolygon(D_POINT* points, int* counts, int runs) override;
  void FillPolygons(D_POINT* points, int* counts, short runs) override;
  short GetRationalDispMode() override;
  double DrawTextLogFont(LOGFONTA* font, double x, double y, char* text) override;
  void SetTextAngle(float degrees) override;
  void SetTextOutline(short mode) override;

  struct State;  // Cairo objects and drawing state, in the source

 private:
  explicit CairoDevice(std::unique_ptr<State> state);
  static bool StartDrawing(State& state, std::string* error);
  std::unique_ptr<State> state_;
};

#endif  // INKLINE_HOST_CAIRO_DEVICE_H
