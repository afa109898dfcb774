// The map-to-device transform of a render: device units are pixels with y up,
// the origin at the bottom-left corner of the picture.
#ifndef INKLINE_TOOLS_VIEW_H
#define INKLINE_TOOLS_VIEW_H

#include <cmath>
#include <string>

#include "layer.h"

struct View {
  double minx = 0, miny = 0;  // map point at the device origin
  double scale = 1;           // device units per map unit (the same both ways)
  int width = 1024, height = 1024;

  double X(double mapX) const { return (mapX - minx) * scale; }
  double Y(double mapY) const { return (mapY - miny) * scale; }
};

// The area the labels of a layer cover, gathered one label at a time.
class LabelsExtent {
 public:
  void Add(const Label& label);

 private:
  friend View MakeView(const ViewRequest& request, const LabelsExtent& extent);
  double minx_ = INFINITY, miny_ = INFINITY, maxx_ = -INFINITY, maxy_ = -INFINITY;
};

// The layer's own view, or where it has none: the features' extent (with a
// margin for the labels' text) at 1024 pixels on the longer side.
View MakeView(const Layer& layer);
View MakeView(const ViewRequest& request, const LabelsExtent& extent);

// Empty when bbox (minx, miny, maxx, maxy) can be drawn; otherwise what is
// wrong with it.
std::string CheckBbox(const double bbox[4]);

#endif  // INKLINE_TOOLS_VIEW_H
