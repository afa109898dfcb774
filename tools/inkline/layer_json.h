// The command's own reader of GeoJSON FeatureCollections.
#ifndef INKLINE_TOOLS_LAYER_JSON_H
#define INKLINE_TOOLS_LAYER_JSON_H

#include <functional>
#include <string>

#include "layer.h"

// A GeoJSON text that is a single Feature rather than a collection: GDAL
// reads it as a layer of one.
class SingleFeatureError : public LayerError {
 public:
  using LayerError::LayerError;
};

// Reads the layer from the text between begin and end; throws LayerError
// (SingleFeatureError for a lone Feature). With a sink, each label goes to
// it as soon as it is read and the layer keeps none.
Layer ParseGeoJson(const char* begin, const char* end, const std::string& file,
                   const LayerOptions& options, const LabelSink& sink = nullptr);

// Told now and then, every few megabytes, how far the parser has read.
using ReadMark = std::function<void(const char* readUpTo)>;

// ParseGeoJson with each label handed to sink, telling mark how far it has
// read so that the caller can let go of the text before it.
Layer ParseGeoJsonEach(const char* begin, const char* end, const std::string& file,
                       const LayerOptions& options, const LabelSink& sink, const ReadMark& mark);

// The layer's members but its features, which are only stepped over and
// counted into *features: the view a reading would give, found quickly
// wherever it stands. Throws as ParseGeoJson does, though a bad feature may
// pass unnoticed; a layer read whole gives as many labels as features.
// The features a sample takes are read after all, their labels handed to it.
Layer SkimGeoJson(const char* begin, const char* end, const std::string& file,
                  const LayerOptions& options, std::size_t* features,
                  const FeatureSample* sample = nullptr);

#endif  // INKLINE_TOOLS_LAYER_JSON_H
