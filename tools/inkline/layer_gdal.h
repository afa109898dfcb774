// Layers in any vector format GDAL reads.
#ifndef INKLINE_TOOLS_LAYER_GDAL_H
#define INKLINE_TOOLS_LAYER_GDAL_H

#include <string>

#include "layer.h"

// Reads the chosen layer of a GDAL dataset (a file, a folder, or "-" for
// standard input); throws LayerError naming the file, layer, feature and field.
Layer ReadGdalLayer(const std::string& path, const LayerOptions& options);

#endif  // INKLINE_TOOLS_LAYER_GDAL_H
