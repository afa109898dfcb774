// The command's own reader of GeoJSON FeatureCollections.
#ifndef INKLINE_TOOLS_LAYER_JSON_H
#define INKLINE_TOOLS_LAYER_JSON_H

#include <string>

#include "layer.h"

// Reads the layer from the text between begin and end; throws LayerError.
Layer ParseGeoJson(const char* begin, const char* end, const std::string& file,
                   const LayerOptions& options);

#endif  // INKLINE_TOOLS_LAYER_JSON_H
