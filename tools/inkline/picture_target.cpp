#include "target.h"

namespace {

class PictureTarget : public RenderTarget {
 public:
  PictureTarget(OutputFile& out, std::unique_ptr<CairoDevice> device)
      : out_(out), device_(std::move(device)) {}
  DeviceDriver& Device() override { return *device_; }
  bool Finish(std::string* error) override {
    if (!device_->Finish(error)) return false;
    device_.reset();
    return out_.Commit(error);
  }

 private:
  OutputFile& out_;
  std::unique_ptr<CairoDevice> device_;
};

}  // namespace

CairoDevice::Options PictureOptions(const View& view, DeviceChoice choice, PictureChoice picture) {
  CairoDevice::Options options;
  options.format = picture.format;
  options.width = view.width;
  options.height = view.height;
  options.kind = choice.kind;
  options.rationalDispMode = choice.trueType ? 1 : 0;
  options.backgroundColor = picture.background;
  return options;
}

std::unique_ptr<RenderTarget> MakePictureTarget(OutputFile& out, const View& view,
                                                DeviceChoice choice, PictureChoice picture,
                                                std::string* error) {
  const CairoDevice::Options options = PictureOptions(view, choice, picture);
  std::unique_ptr<CairoDevice> device = CairoDevice::Create(out.temp(), options, error);
  if (!device) return nullptr;
  return std::make_unique<PictureTarget>(out, std::move(device));
}
