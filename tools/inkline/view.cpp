#include "view.h"

#include <algorithm>
#include <cmath>

#include <inkline/constants.h>
#include <inkline/shared/numeric.h>

namespace {

struct Extent {
  double minx = INFINITY, miny = INFINITY, maxx = -INFINITY, maxy = -INFINITY;
  void Add(double x, double y) {
    minx = std::min(minx, x);
    miny = std::min(miny, y);
    maxx = std::max(maxx, x);
    maxy = std::max(maxy, y);
  }
  bool Empty() const { return !(minx <= maxx); }
};

size_t CodePoints(const std::string& utf8) {
  size_t n = 0;
  for (const char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return std::max<size_t>(1, n);
}

// A rough box of a plain label's text, turned with its baseline: to the
// right and up for a row, down from the anchor for a column.
void AddPlain(const PlainLabel& p, Extent& e) {
  e.Add(p.x, p.y);
  if (p.heightUnit != Unit::Map || p.widthUnit != Unit::Map) return;  // sized on the picture
  const double length = p.width * static_cast<double>(CodePoints(p.text)) * 0.6;
  const double h = p.height;
  const double corners[2][4][2] = {{{0, 0}, {length, 0}, {length, h}, {0, h}},
                                   {{-h / 2, h}, {h, h}, {h, -length}, {-h / 2, -length}}};
  const double a = p.angle * shared::kPi / 180;
  const double c = p.angle == 0 ? 1.0 : std::cos(a), s = p.angle == 0 ? 0.0 : std::sin(a);
  for (const auto& k : corners[p.arrangement == inkline::kArrangementVertical ? 1 : 0])
    e.Add(p.x + k[0] * c - k[1] * s, p.y + k[0] * s + k[1] * c);
}

void AddLabel(const Label& l, Extent& e) {
  if (l.plain) AddPlain(*l.plain, e);
  for (const auto& part : l.shape.parts)
    for (const auto& v : part) e.Add(v[0], v[1]);
  if (l.rich) {
    e.Add(l.rich->xmin, l.rich->ymin);
    e.Add(l.rich->xmax, l.rich->ymax);
  }
}

}  // namespace

void LabelsExtent::Add(const Label& label) {
  Extent e{minx_, miny_, maxx_, maxy_};
  AddLabel(label, e);
  minx_ = e.minx;
  miny_ = e.miny;
  maxx_ = e.maxx;
  maxy_ = e.maxy;
}

std::string CheckBbox(const double b[4]) {
  if (!(b[2] > b[0]) || !(b[3] > b[1])) return "expected minx < maxx and miny < maxy";
  const double magnitude = std::max({std::fabs(b[0]), std::fabs(b[1]), std::fabs(b[2]), std::fabs(b[3]), 1.0});
  if (b[2] - b[0] < 1e-9 * magnitude || b[3] - b[1] < 1e-9 * magnitude)
    return "the map area is too small to draw (under a billionth of its coordinates)";
  if (!std::isfinite(b[2] - b[0]) || !std::isfinite(b[3] - b[1]) || magnitude > 1e15)
    return "expected coordinates of at most 1e15";
  return "";
}

View MakeView(const Layer& layer) {
  LabelsExtent extent;
  if (!layer.view.hasBbox)
    for (const Label& label : layer.labels) extent.Add(label);
  return MakeView(layer.view, extent);
}

View MakeView(const ViewRequest& request, const LabelsExtent& extent) {
  View v;
  double minx, miny, maxx, maxy;
  if (request.hasBbox) {
    minx = request.bbox[0];
    miny = request.bbox[1];
    maxx = request.bbox[2];
    maxy = request.bbox[3];
  } else {
    Extent e{extent.minx_, extent.miny_, extent.maxx_, extent.maxy_};
    if (e.Empty()) e = Extent{0, 0, 1, 1};
    const double span = std::max(e.maxx - e.minx, e.maxy - e.miny);
    // A single point (or labels sized in pixels only) still gets an area.
    const double margin = span > 0 ? 0.05 * span : std::max(1.0, 1e-6 * std::fabs(e.minx));
    minx = e.minx - margin;
    miny = e.miny - margin;
    maxx = e.maxx + margin;
    maxy = e.maxy + margin;
  }
  const double w = std::max(maxx - minx, 1e-9), h = std::max(maxy - miny, 1e-9);
  if (request.hasSize) {
    v.width = request.size[0];
    v.height = request.size[1];
  } else {
    const double longer = std::max(w, h);
    v.width = std::max(1, static_cast<int>(std::lround(1024 * w / longer)));
    v.height = std::max(1, static_cast<int>(std::lround(1024 * h / longer)));
  }
  // One scale both ways, centred: the bbox fits the picture whole.
  v.scale = std::min(v.width / w, v.height / h);
  v.minx = minx - (v.width / v.scale - w) / 2;
  v.miny = miny - (v.height / v.scale - h) / 2;
  return v;
}
