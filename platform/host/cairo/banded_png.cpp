#include <inkline/host/banded_png.h>

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include <cairo.h>

#include <inkline/afx.h>
#include <inkline/host/palette.h>

#include "cairo_gdi_sink.h"
#include "png_writer.h"

// The page's pixels: address space for all of them, memory only for the
// rows being drawn (untouched rows cost none, written rows are given back).
struct BandedPng::Page {
  void* base = MAP_FAILED;
  size_t bytes = 0;
  int stride = 0;
  bool opaque = true;
  uint32_t background = 0;  // an opaque page's background pixel
  cairo_surface_t* surface = nullptr;
  ~Page() {
    if (surface) cairo_surface_destroy(surface);
    if (base != MAP_FAILED) munmap(base, bytes);
  }
  unsigned char* Row(int y) const {
    return static_cast<unsigned char*>(base) + static_cast<size_t>(y) * static_cast<size_t>(stride);
  }
  // Gives back the memory of rows [top, bottom), whole memory pages only.
  void Release(int top, int bottom) const {
    const uintptr_t size = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t from = (reinterpret_cast<uintptr_t>(Row(top)) + size - 1) / size * size;
    const uintptr_t to = reinterpret_cast<uintptr_t>(Row(bottom)) / size * size;
    if (from < to) madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
  }
};

namespace {

// Paints rows [top, bottom) of the surface as a device drawing the whole
// page paints its background.
bool PaintBackground(cairo_surface_t* surface, COLORREF background, int top, int bottom) {
  cairo_t* cr = cairo_create(surface);
  cairo_rectangle(cr, 0, top, cairo_image_surface_get_width(surface), bottom - top);
  cairo_clip(cr);
  SetSourceRgb(cr, background);
  cairo_paint(cr);
  const bool ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  return ok;
}

// The pixel the background paints.
uint32_t BackgroundPixel(COLORREF background) {
  uint32_t pixel = 0;
  cairo_surface_t* one = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(&pixel), CAIRO_FORMAT_RGB24, 1, 1, 4);
  PaintBackground(one, background, 0, 1);
  cairo_surface_destroy(one);
  return pixel;
}

}  // namespace

BandedPng::BandedPng(std::unique_ptr<Page> page, std::string path, const CairoDevice::Options& options)
    : page_(std::move(page)), path_(std::move(path)), options_(options) {}

BandedPng::~BandedPng() {
  bands_.clear();  // the devices draw into the page's pixels
}

int BandedPng::NextRow() const { return writer_->RowsWritten(); }

std::unique_ptr<BandedPng> BandedPng::Create(const std::string& path,
                                             const CairoDevice::Options& options, size_t pixelBytes,
                                             std::string* error) {
  if (options.width < 1 || options.height < 1) {
    *error = "the picture needs a size of at least 1 x 1";
    return nullptr;
  }
  COLORREF background = 0;
  auto page = std::make_unique<Page>();
  page->opaque = options.backgroundColor > 0 &&
                 GetCOLORREFByColorNo(options.backgroundColor, background,
                                      const_cast<void*>(options.palette)) != 0;
  const cairo_format_t format = page->opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32;
  page->stride = cairo_format_stride_for_width(format, options.width);
  page->bytes = static_cast<size_t>(page->stride) * static_cast<size_t>(options.height);
  page->base = mmap(nullptr, page->bytes, PROT_READ | PROT_WRITE,
                    MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (page->stride <= 0 || page->base == MAP_FAILED) {
    *error = path + ": the picture is too large";
    return nullptr;
  }
  // Large pages take fewer faults; where the system has none, this is a no-op.
  madvise(page->base, page->bytes, MADV_HUGEPAGE);
  page->surface = cairo_image_surface_create_for_data(page->Row(0), format, options.width,
                                                      options.height, page->stride);
  if (cairo_surface_status(page->surface) != CAIRO_STATUS_SUCCESS) {
    *error = path + ": " + cairo_status_to_string(cairo_surface_status(page->surface));
    return nullptr;
  }
  if (page->opaque) page->background = BackgroundPixel(background);  // else clear: 0
  std::unique_ptr<BandedPng> png(new BandedPng(std::move(page), path, options));
  png->backgroundRow_.assign(static_cast<size_t>(options.width), png->page_->background);
  png->writer_ = PngRowWriter::Open(path, options.width, options.height, !png->page_->opaque, error);
  if (!png->writer_) return nullptr;
  const int chunk = png->writer_->ChunkRows();
  // Whole chunks, rounded up: a page of exactly pixelBytes is one stretch.
  const size_t rows = pixelBytes / static_cast<size_t>(png->page_->stride);
  png->stretchRows_ = static_cast<int>(
      std::min<size_t>(options.height, std::max<size_t>(1, (rows + chunk - 1) / chunk) * chunk));
  return png;
}

bool BandedPng::StartStretch(const std::vector<int>& tops, int bottom, std::string* error) {
  const int top = NextRow();
  if (tops.empty() || tops[0] != top || bottom <= top || bottom > options_.height ||
      (bottom != options_.height && bottom - top != stretchRows_)) {
    *error = "a stretch of rows out of turn";
    return false;
  }
  top_ = top;
  bottom_ = bottom;
  bandRows_.clear();
  CairoDevice::PageBand band;
  band.pixels = page_->Row(0);
  band.stride = page_->stride;
  band.opaque = page_->opaque;
  for (size_t i = 0; i < tops.size(); ++i) {
    band.top = tops[i];
    band.rows = (i + 1 < tops.size() ? tops[i + 1] : bottom) - band.top;
    std::unique_ptr<CairoDevice> device = CairoDevice::CreateForBand(options_, band, error);
    if (!device) return false;
    bands_.push_back(std::move(device));
    const int end = band.top + band.rows;
    bandRows_.push_back(BandRows{band.top, end, std::vector<char>(static_cast<size_t>(
                                     (end - 1) / kPaintRows - band.top / kPaintRows + 1))});
  }
  return true;
}

void BandedPng::PaintRows(int band, double top, double bottom) {
  BandRows& rows = bandRows_[static_cast<size_t>(band)];
  if (!(bottom >= rows.from && top < rows.to)) return;
  const int from = top <= rows.from ? rows.from : static_cast<int>(top);
  const int to = bottom >= rows.to - 1 ? rows.to - 1 : static_cast<int>(bottom);
  const int first = rows.from / kPaintRows;
  for (int block = from / kPaintRows; block <= to / kPaintRows; ++block) {
    char& painted = rows.painted[static_cast<size_t>(block - first)];
    if (painted) continue;
    painted = 1;
    if (!page_->opaque) continue;  // a clear page's memory is clear already
    const int y0 = std::max(block * kPaintRows, rows.from), y1 = std::min((block + 1) * kPaintRows, rows.to);
    for (int y = y0; y < y1; ++y) {
      auto* pixels = reinterpret_cast<uint32_t*>(page_->Row(y));
      std::fill(pixels, pixels + options_.width, page_->background);
    }
  }
}

// Row y of the stretch: its pixels where its band painted them, else the
// bare background (never touched, so it costs no memory).
const unsigned char* BandedPng::RowAt(int y) const {
  for (const BandRows& rows : bandRows_)
    if (y >= rows.from && y < rows.to)
      return rows.painted[static_cast<size_t>(y / kPaintRows - rows.from / kPaintRows)]
                 ? page_->Row(y)
                 : reinterpret_cast<const unsigned char*>(backgroundRow_.data());
  return page_->Row(y);
}

bool BandedPng::FinishStretch(int threads, std::string* error) {
  for (std::unique_ptr<CairoDevice>& band : bands_)
    if (!band->Finish(error)) return false;
  bands_.clear();
  cairo_surface_mark_dirty(page_->surface);  // drawn through the bands' surfaces
  if (!writer_->WriteRows([this](int y) { return RowAt(y); }, bottom_, threads, error)) return false;
  page_->Release(top_, bottom_);
  return true;
}

bool BandedPng::SkipStretch(int bottom, int threads, std::string* error) {
  return writer_->WriteFlatRows(page_->background, bottom, threads, error);
}

bool BandedPng::Finish(std::string* error) { return writer_->Close(error); }
