// The placement options `place` and `render --place` share.
#ifndef INKLINE_TOOLS_CLI_PLACE_H
#define INKLINE_TOOLS_CLI_PLACE_H

#include <string>

#include <CLI/CLI.hpp>

#include "diagnostics.h"
#include "layer.h"
#include "place_layer.h"
#include "placement/placer.h"
#include "view.h"

struct PlaceArgs {
  std::string offset = "3", marker = "0", minDistance = "0", obstacles;
  bool axisBox = false;
};

// Declares the placement options in their own group of app.
void DeclarePlacement(CLI::App& app, PlaceArgs& a);

// The engine's options, without the obstacles; false with *problem on a
// bad value.
bool PlanPlacement(const PlaceArgs& a, placement::Options* options, std::string* problem);

// Reads the obstacles and places the layer's labels, saying how it went
// (unless quiet); false (said) when the obstacles cannot be read.
bool PlaceLabels(const Layer& layer, const View& view, const PlaceArgs& a,
                 placement::Options options, const PlaceFonts& fonts, bool quiet,
                 placement::Result* result);

#endif  // INKLINE_TOOLS_CLI_PLACE_H
