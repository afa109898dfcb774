// A layer of annotations read from a GeoJSON FeatureCollection.
#ifndef INKLINE_TOOLS_LAYER_H
#define INKLINE_TOOLS_LAYER_H

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A plain annotation: a feature with "text" (a Point, or for placement a
// line or polygon). Sizes are map units.
struct PlainLabel {
  std::string text;        // UTF-8, as in the file
  double x = 0, y = 0;     // the reference point (start of the baseline)
  double height = 0;
  double width = 0;        // defaults to height
  double angle = 0;        // degrees, counter-clockwise
  double space = 0;        // extra spacing after every character
  short fontNo = 0;
  std::string fontFace;    // UTF-8 face name; when set it picks the font number
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

// The feature's geometry in map units, for placement: one point, the line
// strings of a line, or the rings of a polygon (outer ring first). Text of a
// line or polygon that is not placed is drawn at a point of it.
struct FeatureShape {
  enum Kind { kPoint, kLine, kArea } kind = kPoint;
  std::vector<std::vector<std::array<double, 2>>> parts;
};

struct Label {
  int featureIndex = 0;
  std::optional<PlainLabel> plain;
  std::optional<RichLabel> rich;
  FeatureShape shape;              // plain labels only
  std::optional<double> priority;  // "priority": placed before labels of lower priority
};

struct ViewSpec {
  bool hasBbox = false;
  double bbox[4] = {0, 0, 0, 0};  // minx, miny, maxx, maxy
  bool hasSize = false;
  int size[2] = {1024, 1024};     // width, height in pixels
};

struct Layer {
  std::vector<Label> labels;
  ViewSpec view;
};

// A problem with the input: the message names the file, and where known the
// feature index and the property.
class LayerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads a layer; throws LayerError on anything it cannot use.
Layer ReadLayer(const std::string& path);
Layer ParseLayer(const std::string& json, const std::string& name);

#endif  // INKLINE_TOOLS_LAYER_H
