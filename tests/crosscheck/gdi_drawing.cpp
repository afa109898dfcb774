#include "gdi_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <istream>
#include <ostream>
#include <sstream>

void InkBox::Add(double x, double y) {
  if (empty) {
    left = right = x;
    top = bottom = y;
    empty = false;
    return;
  }
  left = std::min(left, x), right = std::max(right, x);
  top = std::min(top, y), bottom = std::max(bottom, y);
}

namespace {

std::string Num(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  return buf;
}

std::string BoxText(const InkBox& b) {
  if (b.empty) return "none";
  return Num(b.left) + " " + Num(b.top) + " " + Num(b.right) + " " + Num(b.bottom);
}

bool Near(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance; }

// The points a path passes through: every move and line point and the last
// of each Bézier's three.
std::vector<StrokePoint> PassedThrough(const std::vector<StrokePoint>& path) {
  std::vector<StrokePoint> out;
  int curvePoints = 0;
  for (const StrokePoint& p : path) {
    curvePoints = p.type == 'C' ? curvePoints + 1 : 0;
    if (p.type != 'C' || curvePoints % 3 == 0) out.push_back(p);
  }
  return out;
}

bool BoxesNear(const InkBox& a, const InkBox& b, double tolerance) {
  return a.empty == b.empty && Near(a.left, b.left, tolerance) && Near(a.top, b.top, tolerance) &&
         Near(a.right, b.right, tolerance) && Near(a.bottom, b.bottom, tolerance);
}

long Figures(const std::vector<StrokePoint>& path) {
  return std::count_if(path.begin(), path.end(),
                       [](const StrokePoint& p) { return p.type == 'M'; });
}

// The first point of got's path that lies farther than tolerance from
// want's, or is of another type; -1 when none does.
long FirstStray(const std::vector<StrokePoint>& want, const std::vector<StrokePoint>& got,
                double tolerance) {
  for (size_t i = 0; i < want.size(); ++i)
    if (want[i].type != got[i].type || !Near(want[i].x, got[i].x, tolerance) ||
        !Near(want[i].y, got[i].y, tolerance))
      return static_cast<long>(i);
  return -1;
}

std::string PointText(const StrokePoint& p) { return p.type + Num(p.x) + "," + Num(p.y); }

void CompareStrokes(const GdiDrawing& want, const GdiDrawing& got, double tolerance,
                    std::vector<std::string>* out) {
  const std::string at = want.name + ": ";
  if (want.strokes.size() != got.strokes.size()) {
    out->push_back(at + std::to_string(got.strokes.size()) + " strokes, want " +
                   std::to_string(want.strokes.size()));
    return;
  }
  for (size_t s = 0; s < want.strokes.size(); ++s) {
    const auto w = PassedThrough(want.strokes[s]), g = PassedThrough(got.strokes[s]);
    const std::string stroke = at + "stroke " + std::to_string(s) + " ";
    if (Figures(w) != Figures(g) || w.size() != g.size()) {
      out->push_back(stroke + "has " + std::to_string(Figures(g)) + " figures through " +
                     std::to_string(g.size()) + " points, want " + std::to_string(Figures(w)) +
                     " through " + std::to_string(w.size()));
      continue;
    }
    const long stray = FirstStray(w, g, tolerance);
    if (stray >= 0)
      out->push_back(stroke + "point " + std::to_string(stray) + " is " +
                     PointText(g[static_cast<size_t>(stray)]) + ", want " +
                     PointText(w[static_cast<size_t>(stray)]));
  }
}

}  // namespace

void WriteDrawings(std::ostream& out, const std::vector<GdiDrawing>& drawings) {
  for (const GdiDrawing& d : drawings) {
    out << "# " << d.name << "\ntext " << BoxText(d.text) << "\n";
    for (const auto& stroke : d.strokes) {
      out << "stroke";
      for (const StrokePoint& p : stroke) out << " " << p.type << Num(p.x) << "," << Num(p.y);
      out << "\n";
    }
  }
}

std::vector<GdiDrawing> ReadDrawings(std::istream& in) {
  std::vector<GdiDrawing> out;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("# ", 0) == 0) {
      out.push_back(GdiDrawing{line.substr(2), 1.0, {}, {}});
      continue;
    }
    if (out.empty()) continue;
    std::istringstream words(line);
    std::string kind;
    words >> kind;
    if (kind == "text") {
      InkBox& b = out.back().text;
      b.empty = !(words >> b.left >> b.top >> b.right >> b.bottom);
    } else if (kind == "stroke") {
      std::vector<StrokePoint> stroke;
      StrokePoint p{};
      char comma = 0;
      while (words >> p.type >> p.x >> comma >> p.y) stroke.push_back(p);
      out.back().strokes.push_back(std::move(stroke));
    }
  }
  return out;
}

std::vector<std::string> Differences(const std::vector<GdiDrawing>& want,
                                     const std::vector<GdiDrawing>& got, double strokeTolerance) {
  std::vector<std::string> out;
  if (want.size() != got.size())
    out.push_back(std::to_string(got.size()) + " drawings, want " + std::to_string(want.size()));
  for (size_t i = 0; i < want.size() && i < got.size(); ++i) {
    const GdiDrawing &w = want[i], &g = got[i];
    if (w.name != g.name) {
      out.push_back("drawing " + std::to_string(i) + " is '" + g.name + "', want '" + w.name + "'");
      continue;
    }
    if (!BoxesNear(w.text, g.text, g.textTolerance))
      out.push_back(w.name + ": text ink " + BoxText(g.text) + ", want " + BoxText(w.text));
    CompareStrokes(w, g, strokeTolerance, &out);
  }
  return out;
}
