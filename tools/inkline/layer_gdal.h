// Layers in any vector format GDAL reads. GDAL and the many libraries it
// pulls in live in a reader module loaded on first use, so a command that
// reads GeoJSON starts faster and in far less memory.
#ifndef INKLINE_TOOLS_LAYER_GDAL_H
#define INKLINE_TOOLS_LAYER_GDAL_H

#include <string>

#include "layer.h"

// Reads the chosen layer of a GDAL dataset (a file, a folder, or "-" for
// standard input); throws LayerError naming the file, layer, feature and field,
// or saying the reader module cannot be loaded.
Layer ReadGdalLayer(const std::string& path, const LayerOptions& options);

// The same, in the reader module itself (linked with GDAL).
Layer ReadGdalLayerHere(const std::string& path, const LayerOptions& options);

#endif  // INKLINE_TOOLS_LAYER_GDAL_H
