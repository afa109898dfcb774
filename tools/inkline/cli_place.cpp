// The placement options of `place` and `render --place`, and the placement
// run both make (the subcommands themselves share render's class).
#include "cli_place.h"

#include <cstdio>

#include "cli_values.h"

void DeclarePlacement(CLI::App& app, PlaceArgs& a) {
  auto* g = app.add_option_group("placement", "Placing the labels");
  g->add_option("--offset", a.offset, "pixels between a point (or its marker) and its label (default 3)");
  g->add_option("--marker", a.marker, "a square marker of this many pixels at every placed point, kept clear");
  g->add_option("--min-distance", a.minDistance, "pixels between labels of the same text");
  g->add_option("--obstacles", a.obstacles, "polygons and lines (GeoJSON) no label may cover");
  g->add_flag("--axis-box", a.axisBox, "test axis-aligned boxes instead of the measured extents");
}

bool PlanPlacement(const PlaceArgs& a, placement::Options* options, std::string* problem) {
  return ParseReal("--offset", a.offset, 0, 10000, "pixels from 0 to 10000", &options->offset,
                   problem) &&
         ParseReal("--marker", a.marker, 0, 10000, "pixels from 0 to 10000", &options->markerSize,
                   problem) &&
         ParseReal("--min-distance", a.minDistance, 0, 1e6, "pixels, 0 or more",
                   &options->sameTextDistance, problem) &&
         (options->axisBoxes = a.axisBox, true);
}

bool PlaceLabels(const Layer& layer, const View& view, const PlaceArgs& a,
                 placement::Options options, const PlaceFonts& fonts, bool quiet,
                 placement::Result* result) {
  try {
    if (!a.obstacles.empty()) ReadObstacles(a.obstacles, &options);
  } catch (const LayerError& e) {
    std::fprintf(stderr, "inkline: %s\n", e.what());
    return false;
  }
  *result = PlaceLayer(layer, view, options, fonts);
  if (!quiet)
    std::fprintf(stderr, "inkline: %s\n", PlacementReport(*result, layer.labels.size()).c_str());
  return true;
}
