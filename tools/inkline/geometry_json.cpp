#include "geometry_json.h"

#include <cmath>
#include <string>

using nlohmann::json;

namespace {

using Ring = std::vector<std::array<double, 2>>;

std::array<double, 2> Position(const json& c, const Where& at) {
  if (!c.is_array() || c.size() < 2 || !c[0].is_number() || !c[1].is_number())
    at.Fail("\"geometry\"", "expected coordinates [x, y]");
  const double x = c[0].get<double>(), y = c[1].get<double>();
  if (!(std::fabs(x) <= 1e15) || !(std::fabs(y) <= 1e15))
    at.Fail("\"geometry\"", "expected coordinates of at most 1e15");
  return {x, y};
}

// A line string, or with closed a polygon ring (its repeated last point dropped).
Ring Positions(const json& c, bool closed, const Where& at) {
  const size_t least = closed ? 4 : 2;
  if (!c.is_array() || c.size() < least)
    at.Fail("\"geometry\"", "expected an array of at least " + std::to_string(least) + " positions");
  Ring r;
  for (const json& p : c) r.push_back(Position(p, at));
  if (closed && r.front() == r.back()) r.pop_back();
  return r;
}

std::vector<Ring> Rings(const json& polygon, const Where& at) {
  if (!polygon.is_array() || polygon.empty())
    at.Fail("\"geometry\"", "expected the rings of a polygon");
  std::vector<Ring> rings;
  for (const json& ring : polygon) rings.push_back(Positions(ring, true, at));
  return rings;
}

double RingArea(const Ring& r) {
  double twice = 0;
  for (size_t i = 0, j = r.size() - 1; i < r.size(); j = i++)
    twice += r[j][0] * r[i][1] - r[i][0] * r[j][1];
  return std::fabs(twice) / 2;
}

// The parts of a Multi geometry, each read by `read`.
template <typename Read>
void EachPart(const json& c, const char* what, const Where& at, Read read) {
  if (!c.is_array() || c.empty()) at.Fail("\"geometry\"", std::string("expected ") + what);
  for (const json& part : c) read(part);
}

FeatureShape Shape(const std::string& type, const json& c, const Where& at) {
  FeatureShape shape;
  if (type == "Point") {
    shape.parts = {{Position(c, at)}};
  } else if (type == "LineString") {
    shape.kind = FeatureShape::kLine;
    shape.parts = {Positions(c, false, at)};
  } else if (type == "MultiLineString") {
    shape.kind = FeatureShape::kLine;
    EachPart(c, "line strings", at, [&](const json& l) { shape.parts.push_back(Positions(l, false, at)); });
  } else if (type == "Polygon") {
    shape.kind = FeatureShape::kArea;
    shape.parts = Rings(c, at);
  } else if (type == "MultiPolygon") {
    shape.kind = FeatureShape::kArea;
    EachPart(c, "polygons", at, [&](const json& polygon) {
      std::vector<Ring> rings = Rings(polygon, at);
      if (shape.parts.empty() || RingArea(rings[0]) > RingArea(shape.parts[0]))
        shape.parts = std::move(rings);
    });
  } else {
    at.Fail("\"geometry\"",
            "a \"text\" annotation needs a Point, LineString or Polygon geometry (other geometries: "
            "add --gdal)");
  }
  return shape;
}

}  // namespace

Anchor JsonAnchor(const json* geometry, const Where& at) {
  if (!geometry || !geometry->is_object())
    at.Fail("\"geometry\"", "a \"text\" annotation needs a Point, LineString or Polygon geometry");
  const auto c = geometry->find("coordinates");
  if (c == geometry->end()) at.Fail("\"geometry\"", "expected \"coordinates\"");
  Anchor a;
  a.shape = Shape(geometry->value("type", ""), *c, at);
  const Ring& first = a.shape.parts[0];
  if (a.shape.kind == FeatureShape::kArea) {
    for (const auto& p : first) a.x += p[0], a.y += p[1];
    a.x /= static_cast<double>(first.size());
    a.y /= static_cast<double>(first.size());
  } else {
    a.x = first[first.size() / 2][0];
    a.y = first[first.size() / 2][1];
  }
  return a;
}
