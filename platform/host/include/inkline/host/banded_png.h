// A PNG page drawn in horizontal bands, one device a band, so that each band
// can be drawn on a thread of its own.
#ifndef INKLINE_HOST_BANDED_PNG_H
#define INKLINE_HOST_BANDED_PNG_H

#include <memory>
#include <string>
#include <vector>

#include <inkline/host/cairo_device.h>

class BandedPng {
 public:
  // The page of options' size (its background painted) split at the given
  // rows, counted from the top: {0, 300} makes bands [0, 300) and [300, height).
  // tops must start at 0 and rise. Null, with *error, when the page cannot be made.
  static std::unique_ptr<BandedPng> Create(const std::string& path,
                                           const CairoDevice::Options& options,
                                           const std::vector<int>& tops, std::string* error);
  ~BandedPng();
  BandedPng(const BandedPng&) = delete;
  BandedPng& operator=(const BandedPng&) = delete;

  int Bands() const { return static_cast<int>(bands_.size()); }
  CairoDevice& Band(int i) { return *bands_[i]; }

  // Completes every band and writes the PNG; false, with *error, when it could not.
  bool Finish(std::string* error);

 private:
  struct Page;
  BandedPng(std::unique_ptr<Page> page, std::string path);
  std::unique_ptr<Page> page_;
  std::string path_;
  std::vector<std::unique_ptr<CairoDevice>> bands_;
};

#endif  // INKLINE_HOST_BANDED_PNG_H
