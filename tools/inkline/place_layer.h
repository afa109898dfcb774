// Placement of a layer's labels: the layer's features handed to the
// placement engine with the library's measure of each label, and the labels
// moved to where the engine put them.
#ifndef INKLINE_TOOLS_PLACE_LAYER_H
#define INKLINE_TOOLS_PLACE_LAYER_H

#include <string>
#include <vector>

#include <inkline/host/label_text.h>
#include <inkline/inkline.h>

#include "layer.h"
#include "placement/placer.h"
#include "view.h"

struct PlaceFonts {
  MapFontLib* vector = nullptr;
  MapFontLib* stroke = nullptr;  // may be null
  LabelShaper* shaper = nullptr;  // null: labels' characters only, never shaped
  short unnamedFont = -1;         // the font of labels that name none; -1: font 0
};

// One engine feature per label, source = the label's index in the layer.
// Priority: the label's "priority", else its text height; rich labels keep
// their box.
std::vector<placement::Feature> PlacementFeatures(const Layer& layer);

placement::ViewTransform PlacementView(const View& view);

// Places the layer's labels in the view, each measured with the fonts it is
// drawn with.
placement::Result PlaceLayer(const Layer& layer, const View& view,
                             const placement::Options& options, const PlaceFonts& fonts);

// The placed labels, in layer order, each at its anchor and angle.
Layer PlacedLayer(const Layer& layer, const placement::Result& result);

// Adds the obstacles of a GeoJSON file to options: the outer rings of its
// polygons, and its lines; throws LayerError.
void ReadObstacles(const std::string& path, placement::Options* options);

// "placed 812 of 1000 labels; dropped 150 collision, 38 outside view; 0.214 s"
std::string PlacementReport(const placement::Result& result, std::size_t total);

// Fills each marker square in the current colour of text (colour 1).
void DrawMarkers(DeviceDriver& device, const std::vector<placement::Polygon>& markers);

#endif  // INKLINE_TOOLS_PLACE_LAYER_H
