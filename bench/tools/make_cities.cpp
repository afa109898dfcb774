// Writes the towns layer of the placement benchmark for the command:
//   make_cities N [WIDTH [TURNED_PERCENT]] > towns.geojson
#include <cstdio>
#include <cstdlib>

#include "city_layer.h"

int main(int argc, char** argv) {
  const long n = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 25000;
  const long width = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 1024;
  const long turned = argc > 3 ? std::strtol(argv[3], nullptr, 10) : 0;
  if (n < 0 || width < 2 || turned < 0 || turned > 100) {
    std::fprintf(stderr, "usage: make_cities N [WIDTH [TURNED_PERCENT]]\n");
    return 2;
  }
  std::puts(
      CityLayer(static_cast<int>(n), static_cast<int>(width), static_cast<int>(turned)).c_str());
  return 0;
}
