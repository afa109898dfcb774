#include "view.h"

#include <algorithm>
#include <cmath>

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

// Plain labels are anchored at a point; count a rough box of their text so
// that a label at the edge stays in the picture.
Extent LabelsExtent(const Layer& layer) {
  Extent e;
  for (const Label& l : layer.labels) {
    if (l.plain) {
      const PlainLabel& p = *l.plain;
      const double length = p.width * std::max<size_t>(1, p.text.size()) * 0.6;
      e.Add(p.x, p.y);
      e.Add(p.x + length, p.y + p.height);
      e.Add(p.x - p.height, p.y - length);
      for (const auto& part : l.shape.parts)
        for (const auto& v : part) e.Add(v[0], v[1]);
    }
    if (l.rich) {
      e.Add(l.rich->xmin, l.rich->ymin);
      e.Add(l.rich->xmax, l.rich->ymax);
    }
  }
  return e;
}

}  // namespace

View MakeView(const Layer& layer) {
  View v;
  double minx, miny, maxx, maxy;
  if (layer.view.hasBbox) {
    minx = layer.view.bbox[0];
    miny = layer.view.bbox[1];
    maxx = layer.view.bbox[2];
    maxy = layer.view.bbox[3];
  } else {
    Extent e = LabelsExtent(layer);
    if (e.Empty()) e = Extent{0, 0, 1, 1};
    const double margin = 0.05 * std::max(e.maxx - e.minx, e.maxy - e.miny) + 1e-9;
    minx = e.minx - margin;
    miny = e.miny - margin;
    maxx = e.maxx + margin;
    maxy = e.maxy + margin;
  }
  const double w = std::max(maxx - minx, 1e-9), h = std::max(maxy - miny, 1e-9);
  if (layer.view.hasSize) {
    v.width = layer.view.size[0];
    v.height = layer.view.size[1];
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
