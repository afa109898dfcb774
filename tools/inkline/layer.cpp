#include "layer.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {

// Where in the file a value came from, for messages.
struct Where {
  const std::string& file;
  int feature;
  [[noreturn]] void Fail(const std::string& property, const std::string& what) const {
    std::string msg = file;
    if (feature >= 0) msg += ": feature " + std::to_string(feature);
    if (!property.empty()) msg += ": property \"" + property + "\"";
    throw LayerError(msg + ": " + what);
  }
};

double Number(const json& props, const char* key, double fallback, const Where& at,
              bool positive = false) {
  const auto it = props.find(key);
  if (it == props.end() || it->is_null()) return fallback;
  if (!it->is_number()) at.Fail(key, "expected a number, got " + it->dump());
  const double v = it->get<double>();
  if (!std::isfinite(v)) at.Fail(key, "expected a finite number");
  if (positive && !(v > 0)) at.Fail(key, "expected a number greater than 0, got " + it->dump());
  return v;
}

long Integer(const json& props, const char* key, long fallback, long lo, long hi,
             const Where& at) {
  const auto it = props.find(key);
  if (it == props.end() || it->is_null()) return fallback;
  if (!it->is_number_integer())
    at.Fail(key, "expected a whole number, got " + it->dump());
  const long long v = it->get<long long>();
  if (v < lo || v > hi)
    at.Fail(key, "expected a whole number from " + std::to_string(lo) + " to " +
                     std::to_string(hi) + ", got " + std::to_string(v));
  return static_cast<long>(v);
}

// "style": the 16-bit style word as a number, or an object of named parts.
int Style(const json& props, const Where& at) {
  const auto it = props.find("style");
  if (it == props.end() || it->is_null()) return 0;
  if (it->is_number_integer()) return static_cast<int>(Integer(props, "style", 0, 0, 0xFFFF, at));
  if (!it->is_object())
    at.Fail("style", "expected a style word or an object such as {\"bold\": true}");
  int style = 0;
  for (const auto& [name, value] : it->items()) {
    if (name == "slant") {
      if (!value.is_number_integer() || value.get<int>() < 0 || value.get<int>() > 4)
        at.Fail("style.slant", "expected 0 (upright) to 4");
      style += value.get<int>();
      continue;
    }
    static const struct {
      const char* name;
      int bits;
    } flags[] = {{"shadow", 5},         {"outline", 0x0400},   {"hollow", 0x0800},
                 {"bold", 0x1000},      {"underline", 0x2000}, {"strike", 0x4000}};
    bool known = false;
    for (const auto& f : flags) {
      if (name != f.name) continue;
      known = true;
      if (!value.is_boolean()) at.Fail("style." + name, "expected true or false");
      if (value.get<bool>()) style += f.bits;
    }
    if (!known)
      at.Fail("style." + name,
              "unknown style part (use slant, shadow, outline, hollow, bold, underline, strike)");
  }
  return style;
}

char Arrangement(const json& props, const Where& at) {
  const auto it = props.find("arrangement");
  if (it == props.end() || it->is_null()) return 0;
  if (it->is_string()) {
    if (*it == "horizontal") return 0;
    if (*it == "vertical") return 1;
  } else if (it->is_number_integer() && (*it == 0 || *it == 1)) {
    return static_cast<char>(it->get<int>());
  }
  at.Fail("arrangement", "expected \"horizontal\", \"vertical\", 0 or 1");
}

using Ring = std::vector<std::array<double, 2>>;

std::array<double, 2> Position(const json& c, const Where& at) {
  if (!c.is_array() || c.size() < 2 || !c[0].is_number() || !c[1].is_number())
    at.Fail("geometry", "expected coordinates [x, y]");
  return {c[0].get<double>(), c[1].get<double>()};
}

// A line string, or with closed a polygon ring (its repeated last point dropped).
Ring Positions(const json& c, bool closed, const Where& at) {
  const size_t least = closed ? 4 : 2;
  if (!c.is_array() || c.size() < least)
    at.Fail("geometry", "expected an array of at least " + std::to_string(least) + " positions");
  Ring r;
  for (const json& p : c) r.push_back(Position(p, at));
  if (closed && r.front() == r.back()) r.pop_back();
  return r;
}

std::vector<Ring> Rings(const json& polygon, const Where& at) {
  if (!polygon.is_array() || polygon.empty())
    at.Fail("geometry", "expected the rings of a polygon");
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

// Point, LineString, MultiLineString, Polygon, or MultiPolygon (its largest
// polygon, the one a label goes in).
FeatureShape ReadShape(const json& geometry, const Where& at) {
  if (!geometry.is_object()) at.Fail("geometry", "a \"text\" annotation needs a geometry");
  const std::string type = geometry.value("type", "");
  const auto c = geometry.find("coordinates");
  if (c == geometry.end()) at.Fail("geometry", "expected \"coordinates\"");
  FeatureShape shape;
  if (type == "Point") {
    shape.parts = {{Position(*c, at)}};
  } else if (type == "LineString" || type == "MultiLineString") {
    shape.kind = FeatureShape::kLine;
    if (type == "LineString") {
      shape.parts = {Positions(*c, false, at)};
    } else {
      if (!c->is_array() || c->empty()) at.Fail("geometry", "expected line strings");
      for (const json& line : *c) shape.parts.push_back(Positions(line, false, at));
    }
  } else if (type == "Polygon" || type == "MultiPolygon") {
    shape.kind = FeatureShape::kArea;
    if (type == "Polygon") {
      shape.parts = Rings(*c, at);
    } else {
      if (!c->is_array() || c->empty()) at.Fail("geometry", "expected polygons");
      for (const json& polygon : *c) {
        std::vector<Ring> rings = Rings(polygon, at);
        if (shape.parts.empty() || RingArea(rings[0]) > RingArea(shape.parts[0]))
          shape.parts = std::move(rings);
      }
    }
  } else {
    at.Fail("geometry", "expected a Point, LineString, Polygon or one of their Multi forms");
  }
  return shape;
}

// Where unplaced text of a line or polygon is drawn: the middle vertex of a
// line, the mean of a polygon's outer ring.
std::array<double, 2> DrawingPoint(const FeatureShape& shape) {
  const Ring& first = shape.parts[0];
  if (shape.kind == FeatureShape::kLine) return first[first.size() / 2];
  std::array<double, 2> sum{0, 0};
  for (const auto& p : first) sum = {sum[0] + p[0], sum[1] + p[1]};
  const double n = static_cast<double>(first.size());
  return {sum[0] / n, sum[1] / n};
}

PlainLabel ReadPlain(const json& props, const FeatureShape& shape, const Where& at) {
  PlainLabel l;
  if (!props["text"].is_string()) at.Fail("text", "expected a string");
  l.text = props["text"].get<std::string>();
  const std::array<double, 2> point = DrawingPoint(shape);
  l.x = point[0];
  l.y = point[1];
  l.height = Number(props, "height", 0, at, true);
  if (!props.contains("height")) at.Fail("height", "missing; every text annotation needs one");
  l.width = Number(props, "width", l.height, at, true);
  l.angle = Number(props, "angle", 0, at);
  l.space = Number(props, "space", 0, at);
  const auto font = props.find("font");
  if (font != props.end() && font->is_string())
    l.fontFace = font->get<std::string>();
  else
    l.fontNo = static_cast<short>(Integer(props, "font", 0, 0, 32767, at));
  l.style = Style(props, at);
  l.arrangement = Arrangement(props, at);
  l.color = static_cast<short>(Integer(props, "color", 0, -32768, 32767, at));
  l.extra = Number(props, "extra", 0, at);
  l.textColor = static_cast<int>(Integer(props, "textColor", 1, 0, 32767, at));
  const auto lib = props.find("fontlib");
  if (lib != props.end()) {
    if (*lib == "stroke")
      l.strokeFont = true;
    else if (*lib != "vector")
      at.Fail("fontlib", "expected \"vector\" or \"stroke\"");
  }
  return l;
}

RichLabel ReadRich(const json& props, const Where& at) {
  RichLabel r;
  if (!props["html"].is_string()) at.Fail("html", "expected a string");
  r.html = props["html"].get<std::string>();
  const auto box = props.find("box");
  if (box == props.end() || !box->is_array() || box->size() != 4)
    at.Fail("box", "expected [xmin, ymin, xmax, ymax] in map units");
  for (const auto& v : *box)
    if (!v.is_number()) at.Fail("box", "expected four numbers");
  r.xmin = (*box)[0].get<double>();
  r.ymin = (*box)[1].get<double>();
  r.xmax = (*box)[2].get<double>();
  r.ymax = (*box)[3].get<double>();
  if (!(r.xmax > r.xmin) || !(r.ymax > r.ymin))
    at.Fail("box", "expected xmin < xmax and ymin < ymax");
  r.textColor = static_cast<int>(Integer(props, "textColor", 1, 0, 32767, at));
  return r;
}

ViewSpec ReadView(const json& doc, const std::string& file) {
  ViewSpec v;
  const auto view = doc.find("view");
  if (view == doc.end()) return v;
  const Where at{file, -1};
  if (!view->is_object()) at.Fail("view", "expected an object with \"bbox\" and \"size\"");
  if (view->contains("bbox")) {
    const json& b = (*view)["bbox"];
    if (!b.is_array() || b.size() != 4) at.Fail("view.bbox", "expected [minx, miny, maxx, maxy]");
    for (int i = 0; i < 4; ++i) {
      if (!b[i].is_number()) at.Fail("view.bbox", "expected four numbers");
      v.bbox[i] = b[i].get<double>();
    }
    if (!(v.bbox[2] > v.bbox[0]) || !(v.bbox[3] > v.bbox[1]))
      at.Fail("view.bbox", "expected minx < maxx and miny < maxy");
    v.hasBbox = true;
  }
  if (view->contains("size")) {
    const json& s = (*view)["size"];
    if (!s.is_array() || s.size() != 2 || !s[0].is_number_integer() || !s[1].is_number_integer())
      at.Fail("view.size", "expected [width, height] in pixels");
    v.size[0] = s[0].get<int>();
    v.size[1] = s[1].get<int>();
    if (v.size[0] < 1 || v.size[1] < 1 || v.size[0] > 20000 || v.size[1] > 20000)
      at.Fail("view.size", "expected 1 to 20000 pixels each way");
    v.hasSize = true;
  }
  return v;
}

}  // namespace

Layer ParseLayer(const std::string& text, const std::string& file) {
  json doc;
  try {
    doc = json::parse(text);
  } catch (const json::parse_error& e) {
    throw LayerError(file + ": not valid JSON: " + e.what());
  }
  if (!doc.is_object() || doc.value("type", "") != "FeatureCollection")
    throw LayerError(file + ": expected a GeoJSON FeatureCollection");
  const auto features = doc.find("features");
  if (features == doc.end() || !features->is_array())
    throw LayerError(file + ": property \"features\": expected an array");

  Layer layer;
  layer.view = ReadView(doc, file);
  int index = 0;
  for (const json& f : *features) {
    const Where at{file, index};
    if (!f.is_object()) at.Fail("", "expected a Feature object");
    const json props = f.value("properties", json::object());
    if (!props.is_object()) at.Fail("properties", "expected an object");
    Label label;
    label.featureIndex = index;
    if (props.contains("text")) {
      label.shape = ReadShape(f.value("geometry", json()), at);
      label.plain = ReadPlain(props, label.shape, at);
    } else if (props.contains("html")) {
      label.rich = ReadRich(props, at);
    } else {
      at.Fail("", "has neither \"text\" nor \"html\"");
    }
    if (props.contains("priority")) label.priority = Number(props, "priority", 0, at);
    layer.labels.push_back(std::move(label));
    ++index;
  }
  return layer;
}

Layer ReadLayer(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw LayerError(path + ": cannot be read");
  std::ostringstream content;
  content << in.rdbuf();
  if (in.bad()) throw LayerError(path + ": read failed");
  return ParseLayer(content.str(), path);
}
