#include "layer_gdal.h"

#include <array>
#include <cmath>
#include <memory>

#include <gdal_priv.h>
#include <ogr_api.h>
#include <ogrsf_frmts.h>

#include "json_convert.h"
#include "label_reader.h"

using nlohmann::json;

namespace {

// The properties a label can take, as fields.
const char* const kProperties[] = {"text",  "html",        "height", "width",     "angle",
                                   "space", "font",        "style",  "arrangement", "color",
                                   "extra", "textColor",   "fontlib", "box",
                                   "priority"};

// GDAL's last error, or what failed when it said nothing.
std::string GdalError(const std::string& fallback) {
  const char* message = CPLGetLastErrorMsg();
  return message && *message ? message : fallback;
}

struct OpenLayer {
  GDALDatasetUniquePtr dataset;
  OGRLayer* layer = nullptr;
  std::string name;
};

std::string GdalPath(const std::string& path) {
  if (path == "-") return "/vsistdin/";
  const auto ends = [&](const char* s) {
    const std::string suffix = s;
    return path.size() > suffix.size() && path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
  };
  if (ends(".gz") && !ends(".shp.gz") && path.rfind("/vsi", 0) != 0) return "/vsigzip/" + path;
  return path;
}

// GDAL's messages are kept for ours instead of printed, while it lives.
struct QuietGdal {
  QuietGdal() { CPLPushErrorHandler(CPLQuietErrorHandler); }
  ~QuietGdal() { CPLPopErrorHandler(); }
  QuietGdal(const QuietGdal&) = delete;
  QuietGdal& operator=(const QuietGdal&) = delete;
};

OpenLayer Open(const std::string& path, const LayerOptions& options) {
  GDALAllRegister();
  CPLErrorReset();
  OpenLayer open;
  open.dataset.reset(GDALDataset::Open(GdalPath(path).c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
  if (!open.dataset)
    throw LayerError(path + ": not a layer GDAL can read (" +
                     GdalError("unknown format") + ")");
  if (open.dataset->GetLayerCount() == 0) throw LayerError(path + ": holds no layers");
  if (options.layerName.empty()) {
    open.layer = open.dataset->GetLayer(0);
  } else {
    open.layer = open.dataset->GetLayerByName(options.layerName.c_str());
  }
  if (!open.layer) {
    std::string names;
    for (OGRLayer* l : open.dataset->GetLayers()) names += (names.empty() ? "" : ", ") + std::string(l->GetName());
    throw LayerError(path + ": no layer \"" + options.layerName + "\" (it has " + names + ")");
  }
  open.name = open.layer->GetName();
  if (!options.where.empty() && open.layer->SetAttributeFilter(options.where.c_str()) != OGRERR_NONE)
    throw LayerError(path + ": layer \"" + open.name + "\": --where \"" + options.where +
                     "\": " + GdalError("not a valid filter"));
  return open;
}

// The transformation to --t-srs, or null when none is asked for.
std::unique_ptr<OGRCoordinateTransformation> Transformation(const OpenLayer& open,
                                                            const std::string& path,
                                                            const LayerOptions& options) {
  if (options.targetSrs.empty()) return nullptr;
  OGRSpatialReference target;
  target.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  if (target.SetFromUserInput(options.targetSrs.c_str()) != OGRERR_NONE)
    throw LayerError("--t-srs \"" + options.targetSrs + "\": not a coordinate system GDAL knows");
  const OGRSpatialReference* source = open.layer->GetSpatialRef();
  if (!source)
    throw LayerError(path + ": layer \"" + open.name +
                     "\": has no coordinate system to reproject from (--t-srs)");
  OGRSpatialReference from(*source);
  from.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  std::unique_ptr<OGRCoordinateTransformation> t(OGRCreateCoordinateTransformation(&from, &target));
  if (!t) throw LayerError(path + ": layer \"" + open.name + "\": " + GdalError("cannot reproject"));
  return t;
}

json FieldValue(const OGRFeature& f, int i) {
  const OGRFieldDefn* defn = f.GetFieldDefnRef(i);
  switch (defn->GetType()) {
    case OFTInteger:
    case OFTInteger64:
      return f.GetFieldAsInteger64(i);
    case OFTReal:
      return f.GetFieldAsDouble(i);
    default:
      return std::string(f.GetFieldAsString(i));
  }
}

// Only the fields the label reader can ask for, so unrelated columns cost nothing.
json Properties(const OGRFeature& f, const LayerOptions& options) {
  json props = json::object();
  for (const char* property : kProperties) {
    const auto mapped = options.fieldFor.find(property);
    const std::string& field = mapped == options.fieldFor.end() ? property : mapped->second;
    const int i = f.GetFieldIndex(field.c_str());
    if (i >= 0 && f.IsFieldSetAndNotNull(i)) props[field] = FieldValue(f, i);
  }
  return props;
}

std::vector<std::array<double, 2>> Points(const OGRSimpleCurve& curve, bool ring) {
  std::vector<std::array<double, 2>> out;
  for (int i = 0; i < curve.getNumPoints(); ++i) out.push_back({curve.getX(i), curve.getY(i)});
  if (ring && out.size() > 1 && out.front() == out.back()) out.pop_back();
  return out;
}

void AddRings(const OGRPolygon& polygon, FeatureShape& shape) {
  if (const OGRLinearRing* outer = polygon.getExteriorRing()) shape.parts.push_back(Points(*outer, true));
  for (int i = 0; i < polygon.getNumInteriorRings(); ++i)
    shape.parts.push_back(Points(*polygon.getInteriorRing(i), true));
}

// The geometry for placement: lines and the largest polygon of an area;
// anything else stands at the label's point.
FeatureShape ShapeOf(const OGRGeometry& g, double x, double y) {
  FeatureShape shape;
  const OGRwkbGeometryType type = wkbFlatten(g.getGeometryType());
  if (type == wkbLineString) {
    shape.kind = FeatureShape::kLine;
    shape.parts.push_back(Points(*g.toLineString(), false));
  } else if (type == wkbMultiLineString) {
    shape.kind = FeatureShape::kLine;
    for (const OGRLineString* line : *g.toMultiLineString()) shape.parts.push_back(Points(*line, false));
  } else if (type == wkbPolygon) {
    shape.kind = FeatureShape::kArea;
    AddRings(*g.toPolygon(), shape);
  } else if (type == wkbMultiPolygon) {
    shape.kind = FeatureShape::kArea;
    const OGRPolygon* largest = nullptr;
    for (const OGRPolygon* polygon : *g.toMultiPolygon())
      if (!largest || polygon->get_Area() > largest->get_Area()) largest = polygon;
    if (largest) AddRings(*largest, shape);
  }
  if (shape.parts.empty() || shape.parts[0].empty()) shape = FeatureShape{FeatureShape::kPoint, {{{x, y}}}};
  return shape;
}

// A plain label's point: the point itself, a point on the surface of an
// area, the middle of a line.
Anchor AnchorOf(const OGRGeometry* g, OGRCoordinateTransformation* t, const Where& at) {
  if (!g || g->IsEmpty()) at.Fail("", "has no geometry to place its label at");
  std::unique_ptr<OGRGeometry> copy(g->clone());
  if (t && copy->transform(t) != OGRERR_NONE) at.Fail("", "cannot be reprojected to --t-srs");
  Anchor a;
  OGREnvelope e;
  copy->getEnvelope(&e);
  a.hasEnvelope = e.MaxX > e.MinX && e.MaxY > e.MinY;
  a.envelope[0] = e.MinX, a.envelope[1] = e.MinY, a.envelope[2] = e.MaxX, a.envelope[3] = e.MaxY;
  OGRPoint p;
  const OGRwkbGeometryType type = wkbFlatten(copy->getGeometryType());
  if (type == wkbPoint) {
    p = *copy->toPoint();
  } else if (type == wkbLineString) {
    const OGRLineString* line = copy->toLineString();
    line->Value(line->get_Length() / 2, &p);
  } else if (type == wkbPolygon || type == wkbMultiPolygon) {
    std::unique_ptr<OGRGeometry> inside(OGRGeometry::FromHandle(
        OGR_G_PointOnSurface(OGRGeometry::ToHandle(copy.get()))));
    if (!inside || wkbFlatten(inside->getGeometryType()) != wkbPoint)
      at.Fail("", "has an area with no point on it");
    p = *inside->toPoint();
  } else {
    p.setX((e.MinX + e.MaxX) / 2);  // multi-points, multi-lines, collections: their middle
    p.setY((e.MinY + e.MaxY) / 2);
  }
  a.x = p.getX();
  a.y = p.getY();
  if (!(std::fabs(a.x) <= 1e15) || !(std::fabs(a.y) <= 1e15)) at.Fail("", "has coordinates beyond 1e15");
  a.shape = ShapeOf(*copy, a.x, a.y);
  return a;
}

}  // namespace

Layer ReadGdalLayerHere(const std::string& path, const LayerOptions& options) {
  const QuietGdal quiet;
  OpenLayer open = Open(path, options);
  const std::unique_ptr<OGRCoordinateTransformation> transform = Transformation(open, path, options);
  const JsonDoc defaults = DefaultValues(options);
  const LabelFields fields(options, defaults.Root());
  Layer layer;
  for (auto& f : *open.layer) {
    const Where at{path, f->GetFID(), &open.name};
    const JsonDoc props = ToJsonDoc(Properties(*f, options));
    const auto anchor = [&](bool required) {
      const OGRGeometry* g = f->GetGeometryRef();
      return required || (g && !g->IsEmpty()) ? AnchorOf(g, transform.get(), at) : Anchor{};
    };
    layer.labels.push_back(ReadLabel(FeatureProps(props.Root(), fields), anchor, at));
  }
  return layer;
}

// The reader's one entry point, looked up by name when the command loads it.
extern "C" __attribute__((visibility("default"))) void InklineReadGdalLayer(
    const std::string* path, const LayerOptions* options, Layer* layer) {
  *layer = ReadGdalLayerHere(*path, *options);
}
