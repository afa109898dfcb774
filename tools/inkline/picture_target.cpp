#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include <inkline/host/cairo_device.h>

#include "target.h"

namespace {

// Draws into a temporary file beside the picture and renames it over the
// picture only when everything was written.
class PictureTarget : public RenderTarget {
 public:
  PictureTarget(std::string path, std::string temp, std::unique_ptr<CairoDevice> device)
      : path_(std::move(path)), temp_(std::move(temp)), device_(std::move(device)) {}
  ~PictureTarget() override {
    device_.reset();
    if (!done_) std::remove(temp_.c_str());
  }
  DeviceDriver& Device() override { return *device_; }
  bool Finish(std::string* error) override {
    if (!device_->Finish(error)) return false;
    device_.reset();
    if (std::rename(temp_.c_str(), path_.c_str()) != 0) {
      *error = path_ + ": could not be written";
      return false;
    }
    done_ = true;
    return true;
  }

 private:
  std::string path_;
  std::string temp_;
  std::unique_ptr<CairoDevice> device_;
  bool done_ = false;
};

}  // namespace

std::unique_ptr<RenderTarget> MakePictureTarget(const std::string& path, const View& view,
                                                DeviceChoice choice, std::string* error) {
  CairoDevice::Options options;
  if (!PictureFormatFor(path, &options.format)) {
    *error = path + ": the output must end in .png, .svg or .pdf";
    return nullptr;
  }
  options.width = view.width;
  options.height = view.height;
  options.kind = choice.kind;
  options.rationalDispMode = choice.trueType ? 1 : 0;

  // The temporary file sits in the picture's folder so the rename stays on
  // one file system; creating it also proves the folder is writable.
  std::string temp = path + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) {
    *error = path + ": cannot create a file there";
    return nullptr;
  }
  // mkstemp makes the file private; a picture gets the usual permissions.
  const mode_t mask = umask(0);
  umask(mask);
  fchmod(fd, 0666 & ~mask);
  close(fd);
  std::unique_ptr<CairoDevice> device = CairoDevice::Create(temp, options, error);
  if (!device) {
    std::remove(temp.c_str());
    return nullptr;
  }
  return std::make_unique<PictureTarget>(path, temp, std::move(device));
}
