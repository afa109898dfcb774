// Reading .jhf fonts and fitting their polylines onto the 16 by 16 grid.
#include <inkline/host/hershey.h>

#include <algorithm>
#include <cmath>
#include <fstream>

namespace clib {

namespace {

struct FloatPoint {
  double x;
  double y;
};

bool ParseField(const std::string& text, int* value) {
  int v = 0;
  bool digits = false;
  for (char c : text) {
    if (c == ' ') {
      if (digits) return false;  // a space inside the number
      continue;
    }
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
    digits = true;
    if (v > 99999) return false;
  }
  *value = v;
  return digits;
}

int Coordinate(char c) { return static_cast<int>(static_cast<unsigned char>(c)) - 'R'; }

bool ValidCoordinate(char c) { return c > ' ' && c <= '~'; }

// One record from `body` (the coordinate characters, bearings first).
bool ParseBody(const std::string& body, HersheyGlyph* glyph, std::string* why) {
  if (!ValidCoordinate(body[0]) || !ValidCoordinate(body[1])) {
    *why = "bad bearings";
    return false;
  }
  glyph->left = Coordinate(body[0]);
  glyph->right = Coordinate(body[1]);
  std::vector<HersheyPoint> current;
  for (size_t i = 2; i + 1 < body.size(); i += 2) {
    if (body[i] == ' ' && body[i + 1] == 'R') {
      if (!current.empty()) glyph->strokes.push_back(std::move(current));
      current.clear();
      continue;
    }
    if (!ValidCoordinate(body[i]) || !ValidCoordinate(body[i + 1])) {
      *why = "bad coordinate pair";
      return false;
    }
    current.push_back({Coordinate(body[i]), Coordinate(body[i + 1])});
  }
  if (!current.empty()) glyph->strokes.push_back(std::move(current));
  return true;
}

void InkBounds(const HersheyGlyph& g, double* x0, double* x1, double* y0, double* y1) {
  *x0 = *y0 = 1e9;
  *x1 = *y1 = -1e9;
  for (const auto& s : g.strokes)
    for (const HersheyPoint& p : s) {
      *x0 = std::min<double>(*x0, p.x);
      *x1 = std::max<double>(*x1, p.x);
      *y0 = std::min<double>(*y0, p.y);
      *y1 = std::max<double>(*y1, p.y);
    }
}

double DistanceToSegment(FloatPoint p, FloatPoint a, FloatPoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

// Douglas-Peucker: keeps the points that stand more than eps off the chord.
void Simplify(const std::vector<FloatPoint>& in, size_t first, size_t last, double eps,
              std::vector<bool>* keep) {
  if (last <= first + 1) return;
  double worst = -1.0;
  size_t at = first;
  for (size_t i = first + 1; i < last; ++i) {
    const double d = DistanceToSegment(in[i], in[first], in[last]);
    if (d > worst) {
      worst = d;
      at = i;
    }
  }
  if (worst <= eps) return;
  (*keep)[at] = true;
  Simplify(in, first, at, eps, keep);
  Simplify(in, at, last, eps, keep);
}

GridPoint Snap(FloatPoint p) {
  const int x = std::clamp(static_cast<int>(std::lround(p.x)), 0, 15);
  const int fromTop = std::clamp(static_cast<int>(std::lround(p.y)), 0, 15);
  return {x, 16 - fromTop};
}

bool Straight(GridPoint a, GridPoint b, GridPoint c) {
  const int ux = b.x - a.x, uy = b.y - a.y, vx = c.x - b.x, vy = c.y - b.y;
  return ux * vy - uy * vx == 0 && ux * vx + uy * vy > 0;
}

void AddSegment(Strokes* out, GridPoint a, GridPoint b) {
  if (a == b) return;
  for (const Segment& s : *out)
    if ((s.from == a && s.to == b) || (s.from == b && s.to == a)) return;
  out->push_back({a, b});
}

// A polyline that shrinks to one grid point (a dot) stays visible as the
// shortest dash.
void AddDot(Strokes* out, GridPoint p) {
  const GridPoint q = p.x < 15 ? GridPoint{p.x + 1, p.y} : GridPoint{p.x - 1, p.y};
  AddSegment(out, p, q);
}

Strokes BuildStrokes(const std::vector<std::vector<FloatPoint>>& polylines, double eps) {
  Strokes out;
  for (const auto& line : polylines) {
    std::vector<bool> keep(line.size(), eps <= 0.0);
    keep.front() = keep.back() = true;
    if (eps > 0.0) Simplify(line, 0, line.size() - 1, eps, &keep);
    std::vector<GridPoint> points;
    for (size_t i = 0; i < line.size(); ++i) {
      if (!keep[i]) continue;
      const GridPoint p = Snap(line[i]);
      if (points.empty() || points.back() != p) points.push_back(p);
    }
    if (points.size() == 1) {
      AddDot(&out, points.front());
      continue;
    }
    std::vector<GridPoint> merged;
    for (const GridPoint& p : points) {
      if (merged.size() >= 2 && Straight(merged[merged.size() - 2], merged.back(), p))
        merged.back() = p;
      else
        merged.push_back(p);
    }
    for (size_t i = 1; i < merged.size(); ++i) AddSegment(&out, merged[i - 1], merged[i]);
  }
  return out;
}

}  // namespace

bool ParseHersheyFont(std::istream& in, std::vector<HersheyGlyph>* glyphs, std::string* error) {
  glyphs->clear();
  std::string line;
  int lineNo = 0;
  auto fail = [&](int at, const std::string& why) {
    if (error) *error = "line " + std::to_string(at) + ": " + why;
    return false;
  };
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(' ') == std::string::npos) continue;
    const int start = lineNo;
    HersheyGlyph glyph;
    int pairs = 0;
    if (line.size() < 10 || !ParseField(line.substr(0, 5), &glyph.number) ||
        !ParseField(line.substr(5, 3), &pairs) || pairs < 1)
      return fail(start, "not a glyph record");
    std::string body = line.substr(8);
    const size_t wanted = 2 * static_cast<size_t>(pairs);
    while (body.size() < wanted) {
      if (!std::getline(in, line)) return fail(start, "record ends early");
      ++lineNo;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      body += line;
    }
    body.resize(wanted);
    std::string why;
    if (!ParseBody(body, &glyph, &why)) return fail(start, why);
    glyphs->push_back(std::move(glyph));
  }
  return true;
}

bool LoadHersheyFont(const std::string& path, std::vector<HersheyGlyph>* glyphs,
                     std::string* error) {
  std::ifstream in(path);
  if (!in) {
    if (error) *error = "cannot open " + path;
    return false;
  }
  std::string why;
  if (!ParseHersheyFont(in, glyphs, &why)) {
    if (error) *error = path + ": " + why;
    return false;
  }
  return true;
}

GridFit FitFace(const std::vector<HersheyGlyph>& glyphs) {
  double top = 1e9, bottom = -1e9, widest = 0.0;
  for (const HersheyGlyph& g : glyphs) {
    if (g.strokes.empty()) continue;
    double x0, x1, y0, y1;
    InkBounds(g, &x0, &x1, &y0, &y1);
    top = std::min(top, y0);
    bottom = std::max(bottom, y1);
    widest = std::max(widest, x1 - x0);
  }
  GridFit fit;
  if (top > bottom) return fit;
  fit.scale = 15.0 / std::max({bottom - top, widest, 1.0});
  fit.centerY = (top + bottom) / 2.0;
  return fit;
}

Strokes ToGridStrokes(const HersheyGlyph& glyph, const GridFit& fit, int maxSegments) {
  if (glyph.strokes.empty() || maxSegments <= 0) return {};
  double x0, x1, y0, y1;
  InkBounds(glyph, &x0, &x1, &y0, &y1);
  const double centerX = (x0 + x1) / 2.0;
  std::vector<std::vector<FloatPoint>> polylines;
  for (const auto& s : glyph.strokes) {
    std::vector<FloatPoint> line;
    for (const HersheyPoint& p : s)
      line.push_back({7.5 + (p.x - centerX) * fit.scale, 7.5 + (p.y - fit.centerY) * fit.scale});
    polylines.push_back(std::move(line));
  }
  // Rounding alone usually suffices; coarser simplification only as needed.
  const double steps[] = {0.0, 0.35, 0.5, 0.75, 1.0, 1.5, 2.0, 3.0, 4.0, 6.0, 8.0, 16.0};
  Strokes strokes;
  for (double eps : steps) {
    strokes = BuildStrokes(polylines, eps);
    if (strokes.size() <= static_cast<size_t>(maxSegments)) return strokes;
  }
  strokes.resize(static_cast<size_t>(maxSegments));
  return strokes;
}

}  // namespace clib
