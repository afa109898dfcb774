#include <inkline/host/banded_png.h>

#include <cairo.h>

#include <inkline/afx.h>
#include <inkline/host/palette.h>

#include "cairo_gdi_sink.h"
#include "png_writer.h"

struct BandedPng::Page {
  cairo_surface_t* surface = nullptr;
  ~Page() {
    if (surface) cairo_surface_destroy(surface);
  }
};

BandedPng::BandedPng(std::unique_ptr<Page> page, std::string path)
    : page_(std::move(page)), path_(std::move(path)) {}

BandedPng::~BandedPng() {
  bands_.clear();  // the devices draw into the page's pixels
}

namespace {

// The page's background, as a device drawing the whole page paints it.
bool PaintBackground(cairo_surface_t* surface, bool opaque, COLORREF background) {
  if (!opaque) return true;
  cairo_t* cr = cairo_create(surface);
  SetSourceRgb(cr, background);
  cairo_paint(cr);
  const bool ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  return ok;
}

}  // namespace

std::unique_ptr<BandedPng> BandedPng::Create(const std::string& path,
                                             const CairoDevice::Options& options,
                                             const std::vector<int>& tops, std::string* error) {
  if (options.width < 1 || options.height < 1 || tops.empty() || tops[0] != 0) {
    *error = "the picture needs a size of at least 1 x 1";
    return nullptr;
  }
  COLORREF background = 0;
  const bool opaque = options.backgroundColor > 0 &&
                      GetCOLORREFByColorNo(options.backgroundColor, background,
                                           const_cast<void*>(options.palette)) != 0;
  auto page = std::make_unique<Page>();
  page->surface = cairo_image_surface_create(opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32,
                                             options.width, options.height);
  if (cairo_surface_status(page->surface) != CAIRO_STATUS_SUCCESS ||
      !PaintBackground(page->surface, opaque, background)) {
    *error = path + ": " + cairo_status_to_string(cairo_surface_status(page->surface));
    return nullptr;
  }
  CairoDevice::PageBand band;
  band.pixels = cairo_image_surface_get_data(page->surface);
  band.stride = cairo_image_surface_get_stride(page->surface);
  band.opaque = opaque;
  std::unique_ptr<BandedPng> png(new BandedPng(std::move(page), path));
  for (size_t i = 0; i < tops.size(); ++i) {
    band.top = tops[i];
    band.rows = (i + 1 < tops.size() ? tops[i + 1] : options.height) - band.top;
    std::unique_ptr<CairoDevice> device = CairoDevice::CreateForBand(options, band, error);
    if (!device) return nullptr;
    png->bands_.push_back(std::move(device));
  }
  return png;
}

bool BandedPng::Finish(std::string* error) {
  for (std::unique_ptr<CairoDevice>& band : bands_)
    if (!band->Finish(error)) return false;
  bands_.clear();
  cairo_surface_mark_dirty(page_->surface);  // drawn through the bands' surfaces
  return WritePng(page_->surface, path_, error);
}
