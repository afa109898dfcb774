// A string object on a recording device with a synthetic font library, and
// small readers of what it recorded, shared by the layout tests.
#ifndef INKLINE_TESTS_LAYOUT_LAYOUT_SUPPORT_H
#define INKLINE_TESTS_LAYOUT_LAYOUT_SUPPORT_H

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <inkline/host/hostlib.h>
#include <inkline/host/recording_device.h>
#include <inkline/host/synthetic_font_lib.h>
#include <inkline/map_string.h>

namespace layout_test {

inline RecordingDevice::Settings DeviceOfKind(short kind, short rationalDispMode = 0) {
  RecordingDevice::Settings s;
  s.kind = kind;
  s.rationalDispMode = rationalDispMode;
  return s;
}

// One device, one font library installed process-wide, one string object.
struct Bench {
  explicit Bench(RecordingDevice::Settings settings = DeviceOfKind(0))
      : installed(&fonts), device(settings), s(&device) {}
  SyntheticFontLib fonts;
  ScopedMapFontLib installed;
  RecordingDevice device;
  CMapString s;
};

struct Pt {
  long x, y;
  bool operator==(const Pt& o) const { return x == o.x && y == o.y; }
};
inline std::ostream& operator<<(std::ostream& os, const Pt& p) {
  return os << "(" << p.x << ", " << p.y << ")";
}

// RangePoly as a list of points.
inline std::vector<Pt> Poly(const CMapString& s) {
  std::vector<Pt> out;
  for (const POINT& p : s.RangePoly) out.push_back(Pt{p.x, p.y});
  return out;
}

// The points of every filled polygon (background boxes), in order.
inline std::vector<std::vector<Pt>> Boxes(const RecordingDevice& device) {
  std::vector<std::vector<Pt>> out;
  for (const auto& call : device.CallsNamed("FillPolygon")) {
    std::vector<Pt> box;
    for (const D_POINT& p : call.runs.at(0))
      box.push_back(Pt{static_cast<long>(p.x), static_cast<long>(p.y)});
    out.push_back(box);
  }
  return out;
}

// A glyph drawn by the vector path with the synthetic default outline, the
// square 0..20 x 0..40 of the design grid: its first point is the
// character's origin (with no y offset), and the opposite corner gives the
// run's width and height.
struct Glyph {
  double x, y, width, height;
};

inline std::vector<Glyph> Glyphs(const RecordingDevice& device) {
  std::vector<Glyph> out;
  for (const auto& call : device.CallsNamed("FillPolygons")) {
    const std::vector<D_POINT>& square = call.runs.at(0);
    out.push_back(Glyph{square[0].x, square[0].y, 2 * (square[2].x - square[0].x),
                        square[2].y - square[0].y});
  }
  return out;
}

// A text in a heap block of exactly its size, so that a read past its NUL is
// caught by the address sanitizer.
inline std::unique_ptr<char[]> ExactText(const std::string& bytes) {
  std::unique_ptr<char[]> text(new char[bytes.size() + 1]);
  std::copy(bytes.begin(), bytes.end(), text.get());
  text[bytes.size()] = '\0';
  return text;
}

}  // namespace layout_test

#endif  // INKLINE_TESTS_LAYOUT_LAYOUT_SUPPORT_H
