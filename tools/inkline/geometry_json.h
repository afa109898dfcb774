// A GeoJSON geometry as the place of a plain label: the point it is drawn at
// unplaced, and the whole shape for placement.
#ifndef INKLINE_TOOLS_GEOMETRY_JSON_H
#define INKLINE_TOOLS_GEOMETRY_JSON_H

#include "label_reader.h"

// Point, LineString, MultiLineString, Polygon or MultiPolygon (its largest
// polygon). A line is drawn at its middle vertex, a polygon at the mean of
// its outer ring. Throws LayerError for anything else.
Anchor JsonAnchor(const JsonValue* geometry, const Where& at);

#endif  // INKLINE_TOOLS_GEOMETRY_JSON_H
