// A path as GDI keeps one, in unrounded pixels: points with PT_ types.
#ifndef INKLINE_PLATFORM_WIN32_SHAPE_PATH_H
#define INKLINE_PLATFORM_WIN32_SHAPE_PATH_H

#include <vector>

#include <inkline/win32_sink.h>

namespace gdi {

struct ShapePath {
  std::vector<GdiPoint> points;
  std::vector<BYTE> types;

  void Add(double x, double y, BYTE type) {
    points.push_back(GdiPoint{x, y});
    types.push_back(type);
  }
  int size() const { return static_cast<int>(points.size()); }
  GdiPath view() const {
    return GdiPath{points.data(), types.data(), static_cast<int>(points.size())};
  }
};

}  // namespace gdi

#endif  // INKLINE_PLATFORM_WIN32_SHAPE_PATH_H
