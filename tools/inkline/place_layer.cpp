#include "place_layer.h"

#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "extent_measure.h"

namespace {

placement::Shape ShapeOf(const Label& label) {
  placement::Shape shape;
  if (label.rich) {  // fixed at its box's top-left corner
    shape.parts = {{{label.rich->xmin, label.rich->ymax}}};
    return shape;
  }
  const FeatureShape& s = label.shape;
  shape.kind = s.kind == FeatureShape::kLine   ? placement::ShapeKind::kLine
               : s.kind == FeatureShape::kArea ? placement::ShapeKind::kArea
                                               : placement::ShapeKind::kPoint;
  for (const auto& part : s.parts) {
    std::vector<placement::Vec2> points;
    for (const auto& v : part) points.push_back({v[0], v[1]});
    shape.parts.push_back(std::move(points));
  }
  // A label read without a shape (built in code) stands at its point.
  if (shape.parts.empty() && label.plain) shape.parts = {{{label.plain->x, label.plain->y}}};
  return shape;
}

std::vector<placement::Vec2> Positions(const nlohmann::json& positions) {
  std::vector<placement::Vec2> out;
  if (!positions.is_array()) return out;
  for (const auto& p : positions)
    if (p.is_array() && p.size() >= 2 && p[0].is_number() && p[1].is_number())
      out.push_back({p[0].get<double>(), p[1].get<double>()});
  return out;
}

// Polygons' outer rings and lines of one geometry, into the options.
void AddObstacle(const nlohmann::json& geometry, placement::Options& options) {
  const std::string type = geometry.value("type", "");
  const auto c = geometry.find("coordinates");
  if (c == geometry.end() || !c->is_array()) return;
  const auto addRing = [&](const nlohmann::json& rings) {
    if (!rings.is_array() || rings.empty()) return;
    placement::Polygon ring = Positions(rings[0]);
    if (ring.size() >= 3) options.obstacles.push_back(std::move(ring));
  };
  const auto addLine = [&](const nlohmann::json& positions) {
    std::vector<placement::Vec2> line = Positions(positions);
    if (line.size() >= 2) options.obstacleLines.push_back(std::move(line));
  };
  if (type == "Polygon") addRing(*c);
  if (type == "LineString") addLine(*c);
  for (const auto& part : *c) {
    if (type == "MultiPolygon") addRing(part);
    if (type == "MultiLineString") addLine(part);
  }
}

}  // namespace

std::vector<placement::Feature> PlacementFeatures(const Layer& layer) {
  std::vector<placement::Feature> features;
  features.reserve(layer.labels.size());
  for (std::size_t i = 0; i < layer.labels.size(); ++i) {
    const Label& label = layer.labels[i];
    placement::Feature f;
    f.source = i;
    f.shape = ShapeOf(label);
    if (label.plain) {
      f.text = label.plain->text;
      f.arrangement = label.plain->arrangement;
      f.angle = label.plain->angle;
      f.priority = label.plain->height;
    } else if (label.rich) {
      f.fixed = true;
      f.text = label.rich->html;
      f.priority = label.rich->ymax - label.rich->ymin;
    }
    if (label.priority) f.priority = *label.priority;
    features.push_back(std::move(f));
  }
  return features;
}

placement::ViewTransform PlacementView(const View& view) {
  return placement::ViewTransform{view.minx, view.miny, view.scale, view.width, view.height};
}

placement::Result PlaceLayer(const Layer& layer, const View& view,
                             const placement::Options& options, const PlaceFonts& fonts) {
  ExtentMeasurer measurer(view, fonts);
  const auto measure = [&](const placement::Feature& f, double angle) {
    return measurer.Measure(layer.labels[f.source], angle);
  };
  return placement::Place(PlacementFeatures(layer), PlacementView(view), options, measure);
}

Layer PlacedLayer(const Layer& layer, const placement::Result& result) {
  std::vector<const placement::PlacedLabel*> bySource(layer.labels.size(), nullptr);
  for (const placement::PlacedLabel& p : result.placed) bySource[p.source] = &p;
  Layer out;
  out.view = layer.view;
  for (std::size_t i = 0; i < layer.labels.size(); ++i) {
    const placement::PlacedLabel* p = bySource[i];
    if (!p) continue;
    Label label = layer.labels[i];
    if (label.plain) {
      label.plain->x = p->mapAnchor.x;
      label.plain->y = p->mapAnchor.y;
      label.plain->angle = p->angle;
      label.shape = FeatureShape{FeatureShape::kPoint, {{{p->mapAnchor.x, p->mapAnchor.y}}}};
    }
    out.labels.push_back(std::move(label));
  }
  return out;
}

void ReadObstacles(const std::string& path, placement::Options* options) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw LayerError(path + ": cannot be read");
  std::ostringstream content;
  content << in.rdbuf();
  nlohmann::json doc;
  try {
    doc = nlohmann::json::parse(content.str());
  } catch (const nlohmann::json::parse_error& e) {
    throw LayerError(path + ": not valid JSON: " + e.what());
  }
  const auto features = doc.find("features");
  if (features == doc.end() || !features->is_array())
    throw LayerError(path + ": expected a GeoJSON FeatureCollection");
  for (const auto& f : *features)
    if (f.is_object() && f.contains("geometry") && f["geometry"].is_object())
      AddObstacle(f["geometry"], *options);
}

std::string PlacementReport(const placement::Result& result, std::size_t total) {
  std::ostringstream out;
  out << "placed " << result.placed.size() << " of " << total << " labels";
  const char* separator = "; dropped ";
  for (std::size_t r = 0; r < placement::kDropReasons; ++r) {
    if (result.droppedBy[r] == 0) continue;
    out << separator << result.droppedBy[r] << ' '
        << placement::DropReasonName(static_cast<placement::DropReason>(r));
    separator = ", ";
  }
  out.setf(std::ios::fixed);
  out.precision(3);
  out << "; " << result.seconds << " s";
  return out.str();
}

void DrawMarkers(DeviceDriver& device, const std::vector<placement::Polygon>& markers) {
  PEN pen{1.0, 1, 0};
  BRUSH brush{1, 0, 0, 0};
  device.SetPen(&pen);
  device.SetBrush(&brush);
  for (const placement::Polygon& m : markers) {
    std::vector<D_POINT> points;
    for (const placement::Vec2& v : m) points.push_back(D_POINT{v.x, v.y});
    points.push_back(points.front());
    int counts[1] = {static_cast<int>(points.size())};
    device.FillPolygon(points.data(), counts, 1);
  }
}
