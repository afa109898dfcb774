#include <inkline/host/recording_device.h>
#include <inkline/trace.h>

#include "gbk.h"
#include "target.h"

namespace {

// The library's decisions on this thread, as they are made, one a line to
// stderr; the previous sink is back when it goes.
class DecisionPrinter : public DecisionTrace {
 public:
  DecisionPrinter() : before_(SetDecisionTrace(this)) {}
  ~DecisionPrinter() { SetDecisionTrace(before_); }
  DecisionPrinter(const DecisionPrinter&) = delete;
  DecisionPrinter& operator=(const DecisionPrinter&) = delete;

  void Decided(const char* decision) override {
    // Run texts in a decision are code page bytes, like the device's.
    std::fprintf(stderr, "inkline: decision: %s\n", GbkToUtf8(decision ? decision : "").c_str());
  }

 private:
  DecisionTrace* before_;
};

class TraceTarget : public RenderTarget {
 public:
  TraceTarget(const View& view, DeviceChoice choice, FILE* out) : out_(out) {
    RecordingDevice::Settings s;
    s.kind = choice.kind;
    s.rationalDispMode = choice.trueType ? 1 : 0;
    s.winHeight = view.height;
    s.winRect = D_RECT{0.0, 0.0, static_cast<double>(view.width), static_cast<double>(view.height)};
    device_ = std::make_unique<RecordingDevice>(s);
  }
  DeviceDriver& Device() override { return *device_; }
  bool Finish(std::string* error) override {
    // Texts and face names are code page bytes on the device; a reader's
    // terminal wants UTF-8.
    const std::string trace = GbkToUtf8(device_->Trace());
    if (std::fwrite(trace.data(), 1, trace.size(), out_) != trace.size() || std::fflush(out_)) {
      *error = "could not write the trace";
      return false;
    }
    return true;
  }

 private:
  std::unique_ptr<RecordingDevice> device_;
  FILE* out_;
  DecisionPrinter decisions_;  // while the target draws
};

}  // namespace

std::unique_ptr<RenderTarget> MakeTraceTarget(const View& view, DeviceChoice choice, FILE* out) {
  return std::make_unique<TraceTarget>(view, choice, out);
}
