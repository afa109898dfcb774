#include "geometry_json.h"

#include <cmath>
#include <string>

namespace {

using Ring = std::vector<std::array<double, 2>>;

std::array<double, 2> Position(const JsonValue& c, const Where& at) {
  if (!c.IsArray() || c.Size() < 2 || !c[0].IsNumber() || !c[1].IsNumber())
    at.Fail("\"geometry\"", "expected coordinates [x, y]");
  const double x = c[0].Number(), y = c[1].Number();
  if (!(std::fabs(x) <= 1e15) || !(std::fabs(y) <= 1e15))
    at.Fail("\"geometry\"", "expected coordinates of at most 1e15");
  return {x, y};
}

// Calls read for each element of an array.
template <typename Read>
void EachElement(const JsonValue& array, Read read) {
  const JsonValue* e = array.First();
  for (std::size_t i = 0; i < array.Size(); ++i, e = e->Next()) read(*e);
}

// A line string, or with closed a polygon ring (its repeated last point dropped).
Ring Positions(const JsonValue& c, bool closed, const Where& at) {
  const size_t least = closed ? 4 : 2;
  if (!c.IsArray() || c.Size() < least)
    at.Fail("\"geometry\"", "expected an array of at least " + std::to_string(least) + " positions");
  Ring r;
  r.reserve(c.Size());
  EachElement(c, [&](const JsonValue& p) { r.push_back(Position(p, at)); });
  if (closed && r.front() == r.back()) r.pop_back();
  return r;
}

std::vector<Ring> Rings(const JsonValue& polygon, const Where& at) {
  if (!polygon.IsArray() || polygon.Size() == 0)
    at.Fail("\"geometry\"", "expected the rings of a polygon");
  std::vector<Ring> rings;
  EachElement(polygon, [&](const JsonValue& ring) { rings.push_back(Positions(ring, true, at)); });
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
void EachPart(const JsonValue& c, const char* what, const Where& at, Read read) {
  if (!c.IsArray() || c.Size() == 0) at.Fail("\"geometry\"", std::string("expected ") + what);
  EachElement(c, read);
}

FeatureShape Shape(std::string_view type, const JsonValue& c, const Where& at) {
  FeatureShape shape;
  if (type == "LineString") {
    shape.kind = FeatureShape::kLine;
    shape.parts.push_back(Positions(c, false, at));
  } else if (type == "MultiLineString") {
    shape.kind = FeatureShape::kLine;
    EachPart(c, "line strings", at, [&](const JsonValue& l) { shape.parts.push_back(Positions(l, false, at)); });
  } else if (type == "Polygon") {
    shape.kind = FeatureShape::kArea;
    shape.parts = Rings(c, at);
  } else if (type == "MultiPolygon") {
    shape.kind = FeatureShape::kArea;
    EachPart(c, "polygons", at, [&](const JsonValue& polygon) {
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

const char* KindName(const JsonValue& v) {
  if (v.IsNull()) return "null";
  if (v.IsBool()) return "boolean";
  if (v.IsNumber()) return "number";
  if (v.IsArray()) return "array";
  return v.IsObject() ? "object" : "string";
}

// The geometry's "type": absent counts as none, anything but a string is refused.
std::string_view TypeOf(const JsonValue& geometry, const Where& at) {
  const JsonValue* type = geometry.Find("type");
  if (!type) return {};
  if (!type->IsString())
    throw LayerError(at.file + ": type must be string, but is " + KindName(*type));
  return type->String();
}

}  // namespace

Anchor JsonAnchor(const JsonValue* geometry, const Where& at) {
  if (!geometry || !geometry->IsObject())
    at.Fail("\"geometry\"", "a \"text\" annotation needs a Point, LineString or Polygon geometry");
  const JsonValue* c = geometry->Find("coordinates");
  if (!c) at.Fail("\"geometry\"", "expected \"coordinates\"");
  Anchor a;
  const std::string_view type = TypeOf(*geometry, at);
  if (type == "Point") {  // the anchor is the whole shape: no ring is built
    const std::array<double, 2> p = Position(*c, at);
    a.x = p[0];
    a.y = p[1];
    return a;
  }
  a.shape = Shape(type, *c, at);
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
