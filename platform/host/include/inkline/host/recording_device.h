// A deterministic output device for tests and for `--trace`: it records every
// call the library makes, in order, with its arguments, as a text line and as
// a structured call.
#ifndef INKLINE_HOST_RECORDING_DEVICE_H
#define INKLINE_HOST_RECORDING_DEVICE_H

#include <memory>
#include <string>
#include <vector>

#include <inkline/device.h>
#include <inkline/trace.h>

class RecordingGdiSink;

// GDI output on the device's context is recorded too: TextOutA as a
// "GdiText" call (nums: x, y, text colour, advance, and in the portable
// layer the glyph point count; runs: the glyph points; text: the bytes) and
// PolyDraw as a "GdiPolyDraw" call (nums: pen width, pen colour, point
// count; runs: the points). On Windows the context is an enhanced metafile
// whose records join the calls when they are read (Trace, CallsNamed); the
// metafile then starts anew on a new handle, which dc(), pWinDC and the
// other DC members follow, so read the trace between drawings.
class RecordingDevice : public DeviceDriver, public DecisionTrace {
 public:
  // One recorded call: its name, its numbers in argument order, the points of
  // each run (polylines and polygons), and its text (native text).
  struct Call {
    std::string name;
    std::vector<double> nums;
    std::vector<std::vector<D_POINT>> runs;
    std::string text;
    std::string line;  // the call as one line of the trace
  };

  struct Settings {
    short kind = 0;             // device kind 0 to 9
    short dispFlags = 0;        // DispFlags word
    short rationalDispMode = 0; // GetRationalDispMode result; 1 allows TrueType
    int winHeight = 1000;
    D_RECT winRect{0.0, 0.0, 1000.0, 1000.0};
  };

  RecordingDevice();
  explicit RecordingDevice(const Settings& settings);
  virtual ~RecordingDevice();  // subclassed by checking devices, deleted through this class
  RecordingDevice(const RecordingDevice&) = delete;
  RecordingDevice& operator=(const RecordingDevice&) = delete;

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

  Settings settings;
  // Read through Trace or CallsNamed on Windows, which add the GDI calls.
  mutable std::vector<Call> calls;

  // The device context every DC member of the device refers to.
  HDC dc() const { return dc_; }

  // Installed with SetDecisionTrace, records each decision of the library as
  // a "Decision" line.
  void Decided(const char* decision) override;
  // Adds a line to the trace that is not a device call (GDI output, notes).
  void Note(const std::string& name, const std::string& line);

  // The whole trace, one call a line.
  std::string Trace() const;
  // Only the calls with this name.
  std::vector<Call> CallsNamed(const std::string& name) const;
  // All calls, the GDI output on Windows included.
  const std::vector<Call>& Calls() const;
  void Clear();

  // Formats a number the way the trace does: integers bare, others with up
  // to six decimals.
  static std::string Num(double v);

 private:
  void Record(Call call);
  void Append(Call call);
  // Windows: moves the GDI calls drawn so far into calls, in drawing order.
  void JoinGdiCalls() const;
  void RecordRuns(const char* name, D_POINT* points, int* counts, long runs);

  HDC dc_ = nullptr;
  std::unique_ptr<RecordingGdiSink> gdiSink_;
};

#endif  // INKLINE_HOST_RECORDING_DEVICE_H
