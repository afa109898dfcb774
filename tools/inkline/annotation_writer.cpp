#include "annotation_writer.h"

#include <nlohmann/json.hpp>

#include <inkline/constants.h>

using nlohmann::json;

namespace {

json PointGeometry(double x, double y) { return {{"type", "Point"}, {"coordinates", {x, y}}}; }

json PlainProperties(const PlainLabel& p) {
  json props = {{"text", p.text},
                {"height", p.height},
                {"width", p.width},
                {"angle", p.angle},
                {"space", p.space},
                {"style", p.style},
                {"arrangement", p.arrangement == inkline::kArrangementVertical ? "vertical" : "horizontal"},
                {"color", p.color},
                {"extra", p.extra},
                {"textColor", p.textColor},
                {"fontlib", p.strokeFont ? "stroke" : "vector"}};
  // A label that named no font keeps naming none: it is drawn in the
  // font of such labels wherever it goes.
  if (p.fontGiven) {
    if (p.fontFace.empty())
      props["font"] = p.fontNo;
    else
      props["font"] = p.fontFace;
  }
  return props;
}

json RichProperties(const RichLabel& r) {
  return {{"html", r.html}, {"box", {r.xmin, r.ymin, r.xmax, r.ymax}}, {"textColor", r.textColor}};
}

// A FeatureCollection with one feature a line, so that layers diff well.
std::string Collection(const json& features, const json* view) {
  std::string out = "{\"type\":\"FeatureCollection\",";
  if (view) out += "\"view\":" + view->dump() + ",";
  out += "\"features\":[";
  for (std::size_t i = 0; i < features.size(); ++i) out += (i ? ",\n" : "\n") + features[i].dump();
  return out + "\n]}\n";
}

}  // namespace

std::string PlacedGeoJson(const Layer& source, const View& view, const placement::Result& result) {
  std::vector<const placement::PlacedLabel*> bySource(source.labels.size(), nullptr);
  for (const placement::PlacedLabel& p : result.placed) bySource[p.source] = &p;
  json features = json::array();
  for (std::size_t i = 0; i < source.labels.size(); ++i) {
    const placement::PlacedLabel* p = bySource[i];
    if (!p) continue;
    const Label& label = source.labels[i];
    json props;
    if (label.plain) {
      PlainLabel moved = *label.plain;
      moved.angle = p->angle;
      props = PlainProperties(moved);
    } else if (label.rich) {
      props = RichProperties(*label.rich);
    }
    if (label.priority) props["priority"] = *label.priority;
    props["source"] = label.featureIndex;
    props["candidate"] = p->candidate;
    features.push_back({{"type", "Feature"},
                        {"geometry", PointGeometry(p->mapAnchor.x, p->mapAnchor.y)},
                        {"properties", std::move(props)}});
  }
  const json picture = {{"bbox",
                         {view.minx, view.miny, view.minx + view.width / view.scale,
                          view.miny + view.height / view.scale}},
                        {"size", {view.width, view.height}}};
  return Collection(features, &picture);
}

std::string DroppedGeoJson(const Layer& source, const placement::Result& result) {
  json features = json::array();
  for (const placement::DroppedLabel& d : result.dropped) {
    const Label& label = source.labels[d.source];
    json props = {{"source", label.featureIndex}, {"reason", placement::DropReasonName(d.reason)}};
    json geometry;
    if (label.plain) {
      props["text"] = label.plain->text;
      geometry = PointGeometry(label.plain->x, label.plain->y);
    } else if (label.rich) {
      props["html"] = label.rich->html;
      geometry = PointGeometry(label.rich->xmin, label.rich->ymax);
    }
    features.push_back(
        {{"type", "Feature"}, {"geometry", geometry}, {"properties", std::move(props)}});
  }
  return Collection(features, nullptr);
}
