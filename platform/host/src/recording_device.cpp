#include <inkline/host/recording_device.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include <inkline/afx.h>
#include <inkline/win32_sink.h>

#if defined(_WIN32)
#include "emf_recorder.h"
#endif

#include "trace_text.h"

#if !defined(_WIN32)

// Records what the device context draws, as trace lines of the device.
class RecordingGdiSink final : public GdiSink {
 public:
  explicit RecordingGdiSink(RecordingDevice* device) : device_(device) {}

  void Text(const GdiTextOutput& t) override {
    RecordingDevice::Call c;
    c.name = "GdiText";
    c.nums = {static_cast<double>(t.x), static_cast<double>(t.y), static_cast<double>(t.color),
              t.advance, static_cast<double>(t.glyphs.count)};
    c.text.assign(t.text, static_cast<size_t>(t.length));
    c.runs.push_back(trace_text::Points(t.glyphs.points, t.glyphs.count));
    char face[LF_FACESIZE + 1] = {};
    std::memcpy(face, t.font->lfFaceName, LF_FACESIZE);
    const char* file = std::strrchr(t.fontFile, '/');
    c.line = "GdiText at " + RecordingDevice::Num(t.x) + "," + RecordingDevice::Num(t.y) +
             " color=" + trace_text::Colour(t.color) +
             " bk=" + (t.opaque ? trace_text::Colour(t.background) : std::string("transparent")) +
             " text=" + trace_text::Hex(t.text, t.length) + " face=" + face +
             " h=" + RecordingDevice::Num(t.font->lfHeight) +
             " esc=" + RecordingDevice::Num(t.font->lfEscapement) +
             " weight=" + RecordingDevice::Num(t.font->lfWeight) +
             " italic=" + RecordingDevice::Num(t.font->lfItalic) +
             " file=" + (file ? file + 1 : t.fontFile) + " em=" + RecordingDevice::Num(t.emHeight) +
             " advance=" + RecordingDevice::Num(t.advance) +
             " points=" + std::to_string(t.glyphs.count);
    device_->calls.push_back(std::move(c));
  }

  void Stroke(const GdiStroke& s) override {
    device_->calls.push_back(
        trace_text::PolyDrawCall(s.penWidth, s.color, s.path.points, s.path.types, s.path.count));
  }

 private:
  RecordingDevice* device_;
};

#else
// On Windows the device context is an enhanced metafile, read back into
// trace lines when the trace is read.
class RecordingGdiSink : public EmfRecorder {
 public:
  using EmfRecorder::EmfRecorder;
};
#endif  // !_WIN32

RecordingDevice::RecordingDevice() : RecordingDevice(Settings{}) {}

RecordingDevice::RecordingDevice(const Settings& s) : settings(s) {
  DispFlags = s.dispFlags;
  WinHeight = s.winHeight;
  WinRect = s.winRect;
#if !defined(_WIN32)
  dc_ = CreateCompatibleDC(nullptr);
  gdiSink_ = std::make_unique<RecordingGdiSink>(this);
  InklineSetDCSink(dc_, gdiSink_.get());
  pWinDC = CDC::FromHandle(dc_);
#else
  gdiSink_ = std::make_unique<RecordingGdiSink>(0);
  dc_ = gdiSink_->dc();
  pWinDC = gdiSink_->frameworkDC();
#endif
  hTextDC = dc_;
  hDevDC = dc_;
  hPageDC = dc_;
  PageYMin = s.winRect.ymin;
  PageYMax = s.winRect.ymax;
  SheetYMin = s.winRect.ymin;
  SheetYMax = s.winRect.ymax;
}

RecordingDevice::~RecordingDevice() {
#if !defined(_WIN32)
  DeleteDC(dc_);
#endif
}

void RecordingDevice::Append(Call call) {
#if defined(_WIN32)
  gdiSink_->Mark(calls.size());
#endif
  calls.push_back(std::move(call));
}

void RecordingDevice::JoinGdiCalls() const {
#if defined(_WIN32)
  std::vector<EmfRecorder::Placed> gdi = gdiSink_->Take(calls.size());
  // The trace is read through const access; reading ends the metafile and
  // renews the handles the library reads.
  auto* self = const_cast<RecordingDevice*>(this);
  self->dc_ = self->hTextDC = self->hDevDC = self->hPageDC = gdiSink_->dc();
  if (gdi.empty()) return;
  std::vector<Call> joined;
  joined.reserve(calls.size() + gdi.size());
  size_t next = 0;
  for (size_t i = 0; i <= calls.size(); ++i) {
    for (; next < gdi.size() && gdi[next].first <= i; ++next)
      joined.push_back(std::move(gdi[next].second));
    if (i < calls.size()) joined.push_back(std::move(calls[i]));
  }
  calls = std::move(joined);
#endif
}

void RecordingDevice::Clear() {
#if defined(_WIN32)
  gdiSink_->Take(0);  // drops what was drawn so far
  dc_ = hTextDC = hDevDC = hPageDC = gdiSink_->dc();
#endif
  calls.clear();
}

std::string RecordingDevice::Num(double v) {
  if (std::isnan(v)) return "nan";
  if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
  const double r = std::round(v);
  if (std::fabs(v - r) < 5e-7) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", r == 0.0 ? 0.0 : r);
    return buf;
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.6f", v);
  std::string s = buf;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

void RecordingDevice::Record(Call call) {
  if (call.line.empty()) {
    call.line = call.name;
    for (double v : call.nums) call.line += " " + Num(v);
  }
  Append(std::move(call));
}

void RecordingDevice::Note(const std::string& name, const std::string& line) {
  Call c;
  c.name = name;
  c.line = line;
  Append(std::move(c));
}

void RecordingDevice::Decided(const char* decision) {
  Note("Decision", std::string("Decision ") + decision);
}

short RecordingDevice::GetDeviceType() { return settings.kind; }

short RecordingDevice::GetRationalDispMode() { return settings.rationalDispMode; }

void RecordingDevice::SetPen(PEN* pen) {
  Call c{"SetPen", {pen->width, static_cast<double>(pen->color)}, {}, {}, {}};
  CurPen = *pen;
  Record(std::move(c));
}

void RecordingDevice::SetBrush(BRUSH* brush) {
  Call c{"SetBrush", {static_cast<double>(brush->color)}, {}, {}, {}};
  CurBrush = *brush;
  Record(std::move(c));
}

void RecordingDevice::DrawLine(double x1, double y1, double x2, double y2) {
  Record(Call{"DrawLine", {x1, y1, x2, y2}, {}, {}, {}});
}

void RecordingDevice::RecordRuns(const char* name, D_POINT* points, int* counts, long runs) {
  Call c;
  c.name = name;
  c.line = std::string(name) + " runs=" + std::to_string(runs);
  long at = 0;
  for (long r = 0; r < runs; ++r) {
    const int n = counts ? counts[r] : 0;
    std::vector<D_POINT> run;
    c.line += " [";
    for (int i = 0; i < n; ++i) {
      const D_POINT p = points[at + i];
      run.push_back(p);
      c.line += (i ? " " : "") + Num(p.x) + "," + Num(p.y);
    }
    c.line += "]";
    at += n > 0 ? n : 0;
    c.runs.push_back(std::move(run));
  }
  c.nums.push_back(static_cast<double>(runs));
  Append(std::move(c));
}

void RecordingDevice::DrawPolylines(D_POINT* points, int* counts, short runs) {
  RecordRuns("DrawPolylines", points, counts, runs);
}

void RecordingDevice::FillPolygon(D_POINT* points, int* counts, int runs) {
  RecordRuns("FillPolygon", points, counts, runs);
}

void RecordingDevice::FillPolygons(D_POINT* points, int* counts, short runs) {
  RecordRuns("FillPolygons", points, counts, runs);
}

// Records the font's height, escapement, weight, italic and face name, then
// the position and the text bytes as hexadecimal (they are code page bytes).
double RecordingDevice::DrawTextLogFont(LOGFONTA* font, double x, double y, char* text) {
  Call c;
  c.name = "DrawTextLogFont";
  c.nums = {static_cast<double>(font->lfHeight), static_cast<double>(font->lfEscapement),
            static_cast<double>(font->lfWeight), static_cast<double>(font->lfItalic), x, y};
  c.text = text ? text : "";
  std::string hex;
  for (unsigned char ch : c.text) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", ch);
    hex += buf;
  }
  char face[LF_FACESIZE + 1] = {};
  std::memcpy(face, font->lfFaceName, LF_FACESIZE);
  c.line = "DrawTextLogFont h=" + Num(font->lfHeight) + " esc=" + Num(font->lfEscapement) +
           " weight=" + Num(font->lfWeight) + " italic=" + Num(font->lfItalic) + " face=" + face +
           " at " + Num(x) + "," + Num(y) + " text=" + hex;
  Record(std::move(c));
  return 0.0;
}

void RecordingDevice::SetTextAngle(float degrees) {
  Record(Call{"SetTextAngle", {static_cast<double>(degrees)}, {}, {}, {}});
}

void RecordingDevice::SetTextOutline(short mode) {
  Record(Call{"SetTextOutline", {static_cast<double>(mode)}, {}, {}, {}});
}

std::string RecordingDevice::Trace() const {
  JoinGdiCalls();
  std::string out;
  for (const Call& c : calls) out += c.line + "\n";
  return out;
}

const std::vector<RecordingDevice::Call>& RecordingDevice::Calls() const {
  JoinGdiCalls();
  return calls;
}

std::vector<RecordingDevice::Call> RecordingDevice::CallsNamed(const std::string& name) const {
  JoinGdiCalls();
  std::vector<Call> out;
  for (const Call& c : calls)
    if (c.name == name) out.push_back(c);
  return out;
}
