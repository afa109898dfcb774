// Writes placement results as GeoJSON: the placed labels as an annotation
// layer that `render` reads back, and the dropped ones with their reasons.
#ifndef INKLINE_TOOLS_ANNOTATION_WRITER_H
#define INKLINE_TOOLS_ANNOTATION_WRITER_H

#include <string>

#include "layer.h"
#include "placement/placer.h"
#include "view.h"

// One Point feature per placed label, in layer order, with every drawing
// property, "source" (the input feature's index) and "candidate"; the
// layer's "view" keeps the picture the labels were placed in.
std::string PlacedGeoJson(const Layer& source, const View& view, const placement::Result& result);

// One feature per dropped label: "source", its text and "reason".
std::string DroppedGeoJson(const Layer& source, const placement::Result& result);

#endif  // INKLINE_TOOLS_ANNOTATION_WRITER_H
