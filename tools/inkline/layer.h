// A layer of annotations: a GeoJSON FeatureCollection read by the command
// itself, or any vector layer GDAL reads.
#ifndef INKLINE_TOOLS_LAYER_H
#define INKLINE_TOOLS_LAYER_H

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

// The unit of a length: map units, or a size on the picture (pixels, points
// or millimetres) that the view turns into map units.
enum class Unit { Map, Px, Pt, Mm };

// A plain annotation: a Point feature with "text". Sizes are in their units
// until ResolveUnits makes them map units.
struct PlainLabel {
  std::string text;        // UTF-8, as in the file
  double x = 0, y = 0;     // the reference point (start of the baseline)
  double height = 0;
  double width = 0;        // defaults to height
  double angle = 0;        // degrees, counter-clockwise
  double space = 0;        // extra spacing after every character
  Unit heightUnit = Unit::Map, widthUnit = Unit::Map, spaceUnit = Unit::Map;
  short fontNo = 0;
  std::string fontFace;    // UTF-8 face name; when set it picks the font number
  bool fontGiven = false;  // the label names its font (by number or face)
  int style = 0;           // the style word of StringOut
  char arrangement = 0;    // 0 horizontal, 1 vertical
  short color = 0;         // background box colour, or with outline the outline colour
  double extra = 0;        // background box factor, or with outline the width in pixels
  int textColor = 1;       // colour number of the text
  bool strokeFont = false; // draw from the stroke-font file
};

// A rich-text annotation: a feature with "html" drawn into its box.
struct RichLabel {
  std::string html;        // UTF-8 markup
  double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
  int textColor = 1;
};

// The feature's geometry in map units, for placement: one point (or none,
// the label's anchor being the point), the line strings of a line, or the
// rings of a polygon (outer ring first). Text of a line or polygon that is
// not placed is drawn at a point of it.
struct FeatureShape {
  enum Kind { kPoint, kLine, kArea } kind = kPoint;
  std::vector<std::vector<std::array<double, 2>>> parts;
};

struct Label {
  long long featureIndex = 0;  // the feature's index in the file, or its GDAL feature id
  std::optional<PlainLabel> plain;
  std::optional<RichLabel> rich;
  FeatureShape shape;              // plain labels only
  std::optional<double> priority;  // "priority": placed before labels of lower priority
};

struct ViewRequest {
  bool hasBbox = false;
  double bbox[4] = {0, 0, 0, 0};  // minx, miny, maxx, maxy
  bool hasSize = false;
  int size[2] = {1024, 1024};     // width, height in pixels
};

struct Layer {
  std::vector<Label> labels;
  ViewRequest view;
};

// A problem with the input: the message names the file, and where known the
// feature index and the property.
class LayerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// How the command finds a label's properties: which field holds each one,
// values for features that lack one, and for GDAL's readers the layer, filter
// and target coordinate system.
struct LayerOptions {
  std::map<std::string, std::string> fieldFor;    // property -> field name
  std::map<std::string, std::string> defaults;    // property -> value as given on the command line
  std::string layerName;                          // -l; empty: the first layer
  std::string where;                              // --where, an attribute filter
  std::string targetSrs;                          // --t-srs; empty: the layer's own
  bool forceGdal = false;                         // read through GDAL whatever the file is
};

// Reads a layer ("-" is standard input); throws LayerError on anything it
// cannot use. A GeoJSON file read without GDAL-only options is streamed by
// the command's own reader, any other input goes through GDAL.
Layer ReadLayer(const std::string& path, const LayerOptions& options = {});
Layer ParseLayer(const std::string& json, const std::string& name,
                 const LayerOptions& options = {});

// Takes the labels of a layer one at a time, in file order.
using LabelSink = std::function<void(Label&&)>;

// True when ReadLayerEach can read the layer: a file the command's own
// reader takes, which can be read more than once.
bool CanReadEach(const std::string& path, const LayerOptions& options);

// Reads the layer like ReadLayer, but hands each label to sink as it is
// read instead of keeping it: a layer of any size costs one label's memory.
// The returned layer has the view and no labels.
Layer ReadLayerEach(const std::string& path, const LayerOptions& options, const LabelSink& sink);

// Which features a skim reads after all: asked at each feature in turn
// whether it takes it, whose label then goes to sink.
struct FeatureSample {
  std::function<bool()> takes;
  LabelSink sink;
};

// The layer's view and the number of its features, its features only
// stepped over (see SkimGeoJson) but those a sample takes; for layers
// ReadLayerEach can read. Throws LayerError.
Layer SkimLayer(const std::string& path, const LayerOptions& options, size_t* features,
                const FeatureSample* sample = nullptr);

// Turns the labels' pixel, point and millimetre sizes into map units at
// scale device units per map unit.
void ResolveUnits(Layer& layer, double scale, double dpi);
void ResolveUnits(Label& label, double scale, double dpi);

#endif  // INKLINE_TOOLS_LAYER_H
