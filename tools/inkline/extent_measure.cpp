#include "extent_measure.h"

#include <algorithm>
#include <vector>

#include <inkline/constants.h>

#include "gbk.h"
#include "render.h"

namespace {

// Far from the clip area and positive, so truncated coordinates all round
// the same way.
constexpr double kOrigin = 100000.0;

// The font the label asks for; a face the library lacks is font 0. Render
// warns about missing fonts, so measuring stays silent.
short FontNumber(const PlainLabel& p, MapFontLib* fonts) {
  if (p.fontFace.empty()) return p.fontNo;
  std::string face = Utf8ToGbk(p.fontFace);
  const short fontNo = fonts->GetFontNoByName(face.data());
  return fontNo < 0 ? 0 : fontNo;
}

}  // namespace

class ExtentMeasurer::Device final : public DeviceDriver {
 public:
  Device() { WinRect = D_RECT{-4.0, -4.0, -2.0, -2.0}; }
  short GetDeviceType() override { return inkline::kDeviceClippedWindow; }
  void SetPen(PEN* pen) override {
    if (pen) CurPen = *pen;
  }
  void SetBrush(BRUSH* brush) override {
    if (brush) CurBrush = *brush;
  }
  void DrawLine(double x1, double y1, double x2, double y2) override {
    points.push_back({x1, y1});
    points.push_back({x2, y2});
  }
  void DrawPolylines(D_POINT* p, int* counts, short runs) override { Keep(p, counts, runs); }
  void FillPolygon(D_POINT* p, int* counts, int runs) override { Keep(p, counts, runs); }
  void FillPolygons(D_POINT*, int*, short) override {}  // glyphs: clipped away
  short GetRationalDispMode() override { return 0; }    // outlines only, no device context

  std::vector<placement::Vec2> points;

 private:
  void Keep(const D_POINT* p, const int* counts, int runs) {
    for (int r = 0; r < runs; ++r)
      for (int i = 0; i < counts[r]; ++i, ++p) points.push_back({p->x, p->y});
  }
};

ExtentMeasurer::ExtentMeasurer(const View& view, const PlaceFonts& fonts)
    : view_(view),
      fonts_(fonts),
      device_(std::make_unique<Device>()),
      text_(std::make_unique<CMapString>(device_.get())) {
  SetViewScales(*text_, view_);
  text_->SetClipFlag(1.0);
}

ExtentMeasurer::~ExtentMeasurer() = default;

const LabelText& ExtentMeasurer::TextOf(const Label& label, MapFontLib* fonts) {
  const PlainLabel& p = *label.plain;
  if (labelOf_ == &label && p.text == textOf_) return labelText_;
  LabelTextOptions options;
  options.fontGiven = p.fontGiven || fonts_.unnamedFont < 0 || fonts == fonts_.stroke;
  options.fontNo = options.fontGiven ? FontNumber(p, fonts) : fonts_.unnamedFont;
  options.vertical = p.arrangement != 0;
  if (fonts_.shaper) {
    labelText_ = fonts_.shaper->Convert(p.text, options);
  } else {
    labelText_ = LabelText{};
    labelText_.bytes = Utf8ToGbk(p.text);
    labelText_.fontNo = options.fontNo;
  }
  labelOf_ = &label;
  textOf_ = p.text;
  return labelText_;
}

placement::Polygon ExtentMeasurer::Measure(const Label& label, double angle) {
  if (label.rich) {
    const RichLabel& r = *label.rich;
    const double w = (r.xmax - r.xmin) * view_.scale, h = (r.ymax - r.ymin) * view_.scale;
    return {{0, -h}, {w, -h}, {w, 0}, {0, 0}};
  }
  if (!label.plain) return {};
  const PlainLabel& p = *label.plain;
  MapFontLib* fonts = p.strokeFont && fonts_.stroke ? fonts_.stroke : fonts_.vector;
  const LabelText& text = TextOf(label, fonts);
  if (text.shaped) fonts = fonts_.vector;  // as drawn: shaped text takes the outlines
  std::string bytes = text.bytes;
  const inkline::ScopedLabelCodes codes(&text.codes);
  placement::Polygon extent = MeasureRuns(p, bytes, text.fontNo, angle, fonts);
  // A font number the library lacks is drawn in font 0.
  if (extent.size() < 3 && text.fontNo != 0) extent = MeasureRuns(p, bytes, 0, angle, fonts);
  // The outline is stroked on the glyphs' edges, half of it outside them.
  if ((p.style & inkline::kStyleOutlined) && p.extra > 0 && extent.size() >= 3)
    extent = placement::Grown(extent, p.extra / 2);
  return extent;
}

placement::Polygon ExtentMeasurer::MeasureRuns(const PlainLabel& p, std::string& bytes,
                                               short fontNo, double angle, MapFontLib* fonts) {
  // Every run gets a box at least its own size, larger where the label's own
  // box is larger; an outline takes the box's colour and factor for itself,
  // so an outlined label is measured with a box of its size.
  const bool ownBox = !(p.style & inkline::kStyleOutlined) && p.color > 0;
  const double boxScale = ownBox ? std::max(1.0, p.extra) : 1.0;
  device_->points.clear();
  const auto style = static_cast<short>(p.style & ~inkline::kStyleOutlined);
  text_->StringOut(bytes.data(), kOrigin, kOrigin, p.height, p.width, fontNo, style, angle,
                   p.space, p.arrangement, /*color*/ 1, boxScale, fonts);
  for (placement::Vec2& v : device_->points) v = v - placement::Vec2{kOrigin, kOrigin};
  return placement::ConvexHull(device_->points);
}
