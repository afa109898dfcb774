// A PNG page drawn a stretch of rows at a time, each stretch split into
// horizontal bands, one device a band, so that bands can be drawn on threads
// of their own. A stretch is compressed and written as soon as it is drawn
// and its memory given back, so a page far larger than memory can be drawn.
#ifndef INKLINE_HOST_BANDED_PNG_H
#define INKLINE_HOST_BANDED_PNG_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <inkline/host/cairo_device.h>

class PngRowWriter;

class BandedPng {
 public:
  // The page of options' size, writing to path. About pixelBytes of pixels
  // are kept at once (rounded up to whole chunks of the file's rows). Null, with
  // *error, when the page cannot be made.
  static std::unique_ptr<BandedPng> Create(const std::string& path,
                                           const CairoDevice::Options& options, size_t pixelBytes,
                                           std::string* error);
  ~BandedPng();
  BandedPng(const BandedPng&) = delete;
  BandedPng& operator=(const BandedPng&) = delete;

  // Rows drawn at once: stretches start at multiples of this.
  int StretchRows() const { return stretchRows_; }
  // The first row not written yet.
  int NextRow() const;

  // Makes a device for each band of rows [NextRow(), bottom), split at the
  // rows of tops (rising, tops[0] == NextRow()). bottom is NextRow() +
  // StretchRows() or the page's height. The background is painted only
  // where PaintRows asks: rows never painted are written as bare background.
  bool StartStretch(const std::vector<int>& tops, int bottom, std::string* error);
  int Bands() const { return static_cast<int>(bands_.size()); }
  CairoDevice& Band(int i) { return *bands_[i]; }
  // Paints the background of the band's rows from top to bottom (page rows,
  // either may lie past the band), a block of rows at a time, unless painted
  // already. Call before drawing there, from the band's thread.
  void PaintRows(int band, double top, double bottom);
  // Completes the bands, then writes their rows, compressed on up to
  // `threads` threads, and frees them.
  bool FinishStretch(int threads, std::string* error);
  // Writes rows [NextRow(), bottom) as bare background, drawing nothing.
  bool SkipStretch(int bottom, int threads, std::string* error);

  // Writes the end of the file once every row is written.
  bool Finish(std::string* error);

 private:
  struct Page;
  struct BandRows {
    int from, to;
    std::vector<char> painted;  // per block of kPaintRows page rows
  };
  static constexpr int kPaintRows = 32;
  BandedPng(std::unique_ptr<Page> page, std::string path, const CairoDevice::Options& options);
  const unsigned char* RowAt(int y) const;
  std::unique_ptr<Page> page_;
  std::unique_ptr<PngRowWriter> writer_;
  std::string path_;
  CairoDevice::Options options_;
  int stretchRows_ = 1;
  int top_ = 0, bottom_ = 0;  // the stretch being drawn
  std::vector<std::unique_ptr<CairoDevice>> bands_;
  std::vector<BandRows> bandRows_;
  std::vector<uint32_t> backgroundRow_;
};

#endif  // INKLINE_HOST_BANDED_PNG_H
