#include <inkline/host/gdi_dib_device.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include <inkline/host/palette.h>
#include <inkline/shared/numeric.h>

namespace {

COLORREF RgbOf(long colorNo) {
  COLORREF rgb = 0;
  GetCOLORREFByColorNo(colorNo, rgb, nullptr);
  return rgb;
}

// 0x00RRGGBB, the order of a DIB's pixels, from a COLORREF.
uint32_t DibPixel(COLORREF c) {
  return static_cast<uint32_t>(GetRValue(c)) << 16 | static_cast<uint32_t>(GetGValue(c)) << 8 |
         GetBValue(c);
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

void PutLE(std::vector<unsigned char>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

}  // namespace

GdiDibDevice::GdiDibDevice(const Options& options) : options_(options) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = options.width;
  info.bmiHeader.biHeight = -options.height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  dc_ = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dc_ || !bitmap_) return;
  bits_ = static_cast<uint32_t*>(bits);
  oldBitmap_ = SelectObject(dc_, bitmap_);

  background_ = DibPixel(RgbOf(options.backgroundColor));
  for (long i = 0, n = static_cast<long>(options.width) * options.height; i < n; ++i)
    bits_[i] = background_;
  GdiFlush();
  SetTextColor(dc_, RGB(0, 0, 0));
  SetBkMode(dc_, TRANSPARENT);
  oldPen_ = SelectObject(dc_, GetStockObject(NULL_PEN));
  oldBrush_ = SelectObject(dc_, GetStockObject(NULL_BRUSH));

  frameworkDC_.m_hDC = dc_;
  frameworkDC_.m_hAttribDC = dc_;
  WinHeight = options.height;
  WinRect = D_RECT{0.0, 0.0, static_cast<double>(options.width),
                   static_cast<double>(options.height)};
  pWinDC = &frameworkDC_;
  hTextDC = dc_;
  hDevDC = dc_;
  hPageDC = dc_;
  PageYMin = SheetYMin = 0.0;
  PageYMax = SheetYMax = options.height;
}

GdiDibDevice::~GdiDibDevice() {
  if (dc_) {
    if (oldPen_) SelectObject(dc_, oldPen_);
    if (oldBrush_) SelectObject(dc_, oldBrush_);
    if (oldBitmap_) SelectObject(dc_, oldBitmap_);
  }
  if (pen_) DeleteObject(pen_);
  if (bitmap_) DeleteObject(bitmap_);
  if (dc_) DeleteDC(dc_);
}

POINT GdiDibDevice::Row(double x, double y) const {
  return POINT{static_cast<LONG>(std::lround(x)),
               static_cast<LONG>(std::lround(options_.height - y))};
}

void GdiDibDevice::SetPen(PEN* pen) {
  CurPen = *pen;
  if (!ok()) return;
  const bool visible = pen->color != 0;
  const int width = pen->width > 1 ? shared::RoundHalfUp(pen->width) : 1;
  HPEN next = CreatePen(visible ? PS_SOLID : PS_NULL, width, RgbOf(pen->color));
  SelectObject(dc_, next);
  if (pen_) DeleteObject(pen_);
  pen_ = next;
}

// The brush colour is also the colour of the library's GDI text.
void GdiDibDevice::SetBrush(BRUSH* brush) {
  CurBrush = *brush;
  if (ok() && brush->color != 0) SetTextColor(dc_, RgbOf(brush->color));
}

void GdiDibDevice::DrawLine(double x1, double y1, double x2, double y2) {
  if (!ok()) return;
  const POINT a = Row(x1, y1), b = Row(x2, y2);
  MoveToEx(dc_, a.x, a.y, nullptr);
  LineTo(dc_, b.x, b.y);
}

void GdiDibDevice::DrawPolylines(D_POINT* points, int* counts, short runs) {
  if (!ok() || !points || !counts) return;
  long at = 0;
  for (short r = 0; r < runs; ++r) {
    std::vector<POINT> run;
    for (int i = 0; i < counts[r]; ++i) run.push_back(Row(points[at + i].x, points[at + i].y));
    at += counts[r] > 0 ? counts[r] : 0;
    if (run.size() >= 2) Polyline(dc_, run.data(), static_cast<int>(run.size()));
  }
}

// Fills with the current brush (the library may set CurBrush itself) and
// without an outline: the pen is left out for the call.
void GdiDibDevice::FillRuns(D_POINT* points, int* counts, long runs, int fillMode) {
  if (!ok() || !points || !counts || runs <= 0 || CurBrush.color == 0) return;
  std::vector<POINT> all;
  std::vector<INT> sizes;
  long at = 0;
  for (long r = 0; r < runs; ++r) {
    const int n = counts[r] > 0 ? counts[r] : 0;
    for (int i = 0; i < n; ++i) all.push_back(Row(points[at + i].x, points[at + i].y));
    at += n;
    if (n >= 3) {
      sizes.push_back(n);
    } else {
      all.resize(all.size() - static_cast<size_t>(n));
    }
  }
  if (sizes.empty()) return;
  SetPolyFillMode(dc_, fillMode);
  HBRUSH fill = CreateSolidBrush(RgbOf(CurBrush.color));
  HGDIOBJ brush = SelectObject(dc_, fill);
  HGDIOBJ pen = SelectObject(dc_, GetStockObject(NULL_PEN));
  PolyPolygon(dc_, all.data(), sizes.data(), static_cast<int>(sizes.size()));
  SelectObject(dc_, pen);
  SelectObject(dc_, brush);
  DeleteObject(fill);
}

void GdiDibDevice::FillPolygon(D_POINT* points, int* counts, int runs) {
  FillRuns(points, counts, runs, ALTERNATE);
}

// A glyph: outer contours and holes wind opposite ways, so the winding rule
// fills both right.
void GdiDibDevice::FillPolygons(D_POINT* points, int* counts, short runs) {
  FillRuns(points, counts, runs, WINDING);
}

uint32_t GdiDibDevice::Pixel(int x, int row) const {
  if (!ok() || x < 0 || row < 0 || x >= options_.width || row >= options_.height) return 0;
  GdiFlush();
  return bits_[static_cast<long>(row) * options_.width + x] & 0xFFFFFFu;
}

long GdiDibDevice::InkedPixels() const {
  if (!ok()) return 0;
  GdiFlush();
  long inked = 0;
  for (long i = 0, n = static_cast<long>(options_.width) * options_.height; i < n; ++i)
    if ((bits_[i] & 0xFFFFFFu) != background_) ++inked;
  return inked;
}

bool GdiDibDevice::WriteBmp(const std::string& path) const {
  if (!ok()) return false;
  GdiFlush();
  const int w = options_.width, h = options_.height;
  const uint32_t stride = static_cast<uint32_t>((w * 3 + 3) & ~3);
  const uint32_t imageBytes = stride * static_cast<uint32_t>(h);
  std::vector<unsigned char> out;
  out.push_back('B');
  out.push_back('M');
  PutLE(out, 54 + imageBytes, 4);
  PutLE(out, 0, 4);
  PutLE(out, 54, 4);
  PutLE(out, 40, 4);
  PutLE(out, static_cast<uint32_t>(w), 4);
  PutLE(out, static_cast<uint32_t>(h), 4);  // bottom-up rows
  PutLE(out, 1, 2);
  PutLE(out, 24, 2);
  for (int i = 0; i < 6; ++i) PutLE(out, 0, 4);
  for (int row = h - 1; row >= 0; --row) {
    for (int x = 0; x < w; ++x) PutLE(out, bits_[static_cast<long>(row) * w + x], 3);
    for (uint32_t pad = static_cast<uint32_t>(w) * 3; pad < stride; ++pad) out.push_back(0);
  }
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  return file && std::fwrite(out.data(), 1, out.size(), file.get()) == out.size();
}
