// A recording device that checks what the library sends it: every
// coordinate, size and width finite, no negative point count, and every
// point a count promises readable (AddressSanitizer sees a short buffer).
// A broken rule aborts, so the fuzzer keeps the input.
#ifndef INKLINE_FUZZ_CHECKING_DEVICE_H
#define INKLINE_FUZZ_CHECKING_DEVICE_H

#include <cmath>
#include <vector>

#include <inkline/host/recording_device.h>
#include <inkline/inkline.h>

#include "fuzz_input.h"

class CheckingDevice : public RecordingDevice {
 public:
  explicit CheckingDevice(const Settings& settings) : RecordingDevice(settings) {}

  void SetPen(PEN* pen) override {
    FuzzCheck(pen && std::isfinite(pen->width));
    RecordingDevice::SetPen(pen);
  }
  void DrawLine(double x1, double y1, double x2, double y2) override {
    for (double v : {x1, y1, x2, y2}) FuzzCheck(std::isfinite(v));
    RecordingDevice::DrawLine(x1, y1, x2, y2);
  }
  void DrawPolylines(D_POINT* points, int* counts, short runs) override {
    CheckRuns(points, counts, runs);
    RecordingDevice::DrawPolylines(points, counts, runs);
  }
  void FillPolygon(D_POINT* points, int* counts, int runs) override {
    CheckRuns(points, counts, runs);
    RecordingDevice::FillPolygon(points, counts, runs);
  }
  void FillPolygons(D_POINT* points, int* counts, short runs) override {
    CheckRuns(points, counts, runs);
    RecordingDevice::FillPolygons(points, counts, runs);
  }
  double DrawTextLogFont(LOGFONTA* font, double x, double y, char* text) override {
    FuzzCheck(font && text && std::isfinite(x) && std::isfinite(y));
    return RecordingDevice::DrawTextLogFont(font, x, y, text);
  }

  // Checks the calls recorded so far, GDI output included, and forgets them,
  // so that a long input does not pile them up.
  void CheckAndForget() {
    for (const Call& c : calls) {
      for (double v : c.nums) FuzzCheck(std::isfinite(v));
      for (const std::vector<D_POINT>& run : c.runs)
        for (const D_POINT& p : run) FuzzCheck(std::isfinite(p.x) && std::isfinite(p.y));
    }
    Clear();
  }

 private:
  static void CheckRuns(const D_POINT* points, const int* counts, long runs) {
    FuzzCheck(runs >= 0);
    if (runs == 0) return;
    FuzzCheck(points != nullptr && counts != nullptr);
    long long total = 0;
    for (long r = 0; r < runs; ++r) {
      FuzzCheck(counts[r] >= 0);
      total += counts[r];
    }
    for (long long k = 0; k < total; ++k)
      FuzzCheck(std::isfinite(points[k].x) && std::isfinite(points[k].y));
  }
};

// One device per kind and settings for the whole run: making a device (and
// its GDI context) for every input would leave allocations behind that make
// the leak check run after each input.
inline CheckingDevice& DeviceFor(const RecordingDevice::Settings& settings) {
  static CheckingDevice* devices[10][2][2] = {};
  const int kind = settings.kind >= 0 && settings.kind < 10 ? settings.kind : 0;
  CheckingDevice*& device =
      devices[kind][settings.rationalDispMode == 1 ? 1 : 0][settings.dispFlags != 0 ? 1 : 0];
  if (!device) device = new CheckingDevice(settings);
  device->Clear();
  return *device;
}

// A string object drawing on the device, at scale 1; a failure to make one
// is a finding.
inline MapString* NewString(DeviceDriver& device) {
  MapString* s = nullptr;
  CreateMapString(&device, &s);
  FuzzCheck(s != nullptr);
  s->SetScale(1, 1, 1);
  return s;
}

// The pen a string leaves on the device is the pen it found there, on the
// kinds that keep a pen of their own: kind 2 and the native-text kinds 7 to 9
// are left the library's zero pen by design.
inline bool KeepsItsPen(short kind) { return kind != 2 && kind != 7 && kind != 8 && kind != 9; }
inline bool SamePen(const PEN& a, const PEN& b) {
  return a.width == b.width && a.color == b.color && a.style == b.style;
}

#endif  // INKLINE_FUZZ_CHECKING_DEVICE_H
