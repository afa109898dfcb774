// A layer of city names with the density of the world's towns of more than
// 15,000 people (some 25,000 of them on a world map): points crowd into
// regions of many towns, names vary in length, larger towns get larger text.
#ifndef INKLINE_BENCH_CITY_LAYER_H
#define INKLINE_BENCH_CITY_LAYER_H

#include <string>

// A GeoJSON FeatureCollection of n labels in longitude and latitude, with a
// view of the whole world at width pixels (height width / 2). A share of
// turnedPercent labels is turned by 15 to 45 degrees either way, as names
// along roads, rivers and coasts are.
std::string CityLayer(int n, int width, int turnedPercent = 0);

#endif  // INKLINE_BENCH_CITY_LAYER_H
