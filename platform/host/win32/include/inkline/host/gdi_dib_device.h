// A Windows output device drawing with GDI into a 32-bit DIB section, for
// tests and example hosts on Windows: the library's GDI text lands on the
// same pixels as the device's lines and polygons. Device units are pixels,
// y growing upwards from the bottom row.
//
// The device hands the library its device-context object the way a
// framework-built host does (DeviceDriver::pWinDC), laid out as the
// framework lays out its CDC.
#ifndef INKLINE_HOST_GDI_DIB_DEVICE_H
#define INKLINE_HOST_GDI_DIB_DEVICE_H

#include <cstdint>
#include <string>

#include <inkline/afx.h>
#include <inkline/device.h>

class GdiDibDevice : public DeviceDriver {
 public:
  struct Options {
    int width = 256;
    int height = 256;
    short kind = 0;              // 0, 1, 3 or 6: the device contexts GDI text goes to
    short rationalDispMode = 1;  // 1 allows TrueType fonts
    long backgroundColor = 8;    // colour number filling the picture first (white)
  };

  explicit GdiDibDevice(const Options& options);
  ~GdiDibDevice();
  GdiDibDevice(const GdiDibDevice&) = delete;
  GdiDibDevice& operator=(const GdiDibDevice&) = delete;

  // False when the bitmap could not be made; the device then draws nothing.
  bool ok() const { return bits_ != nullptr; }
  HDC dc() const { return dc_; }
  int width() const { return options_.width; }
  int height() const { return options_.height; }

  // The pixel in column x, row y counted from the top, as 0x00RRGGBB.
  uint32_t Pixel(int x, int row) const;
  // Pixels that differ from the background colour.
  long InkedPixels() const;
  // Writes the picture as a 24-bit BMP file; false when it cannot.
  bool WriteBmp(const std::string& path) const;

  short GetDeviceType() override { return options_.kind; }
  void SetPen(PEN* pen) override;
  void SetBrush(BRUSH* brush) override;
  void DrawLine(double x1, double y1, double x2, double y2) override;
  void DrawPolylines(D_POINT* points, int* counts, short runs) override;
  void FillPolygon(D_POINT* points, int* counts, int runs) override;
  void FillPolygons(D_POINT* points, int* counts, short runs) override;
  short GetRationalDispMode() override { return options_.rationalDispMode; }

 private:
  void FillRuns(D_POINT* points, int* counts, long runs, int fillMode);
  POINT Row(double x, double y) const;

  Options options_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
  HGDIOBJ oldPen_ = nullptr;
  HGDIOBJ oldBrush_ = nullptr;
  HPEN pen_ = nullptr;
  uint32_t* bits_ = nullptr;
  uint32_t background_ = 0;
  CDC frameworkDC_;
};

#endif  // INKLINE_HOST_GDI_DIB_DEVICE_H
