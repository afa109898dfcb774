// The command's own reader of GeoJSON FeatureCollections.
#ifndef INKLINE_TOOLS_LAYER_JSON_H
#define INKLINE_TOOLS_LAYER_JSON_H

#include <string>

#include "layer.h"

// A GeoJSON text that is a single Feature rather than a collection: GDAL
// reads it as a layer of one.
class SingleFeatureError : public LayerError {
 public:
  using LayerError::LayerError;
};

// Reads the layer from the text between begin and end; throws LayerError
// (SingleFeatureError for a lone Feature).
Layer ParseGeoJson(const char* begin, const char* end, const std::string& file,
                   const LayerOptions& options);

#endif  // INKLINE_TOOLS_LAYER_JSON_H
