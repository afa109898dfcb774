#include "city_layer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include <nlohmann/json.hpp>

namespace {

// Syllables for Latin names, and a few Chinese place-name characters (UTF-8).
const char* const kSyllables[] = {"san", "ta",    "ri",   "mo", "ka", "le",  "nor",
                                  "vil", "ber",   "lin",  "do", "po", "gor", "ham",
                                  "ton", "ville", "burg", "al", "es", "un"};
const char* const kHan[] = {"\xE5\x8C\x97", "\xE4\xBA\xAC", "\xE5\xB1\xB1", "\xE6\xB2\xB3",
                            "\xE5\xB7\x9E", "\xE5\x8D\x97", "\xE6\xB5\xB7", "\xE5\xAE\x89"};

std::string Name(std::mt19937& random) {
  std::uniform_int_distribution<int> han(0, 19), count(2, 4), syllable(0, 19), character(0, 7);
  std::string name;
  if (han(random) == 0) {
    for (int i = count(random); i > 0; --i) name += kHan[character(random)];
    return name;
  }
  for (int i = count(random); i > 0; --i) name += kSyllables[syllable(random)];
  name[0] = static_cast<char>(name[0] - 'a' + 'A');
  return name;
}

}  // namespace

std::string CityLayer(int n, int width, int turnedPercent) {
  std::mt19937 random(20261207);
  // Regions of many towns, each a few degrees across, on the inhabited
  // latitudes; a fifth of the towns lie anywhere in that band.
  std::uniform_real_distribution<double> lon(-125, 145), lat(-40, 62), spread(2, 9), unit(0, 1);
  std::vector<std::array<double, 3>> regions(80);
  for (auto& r : regions) r = {lon(random), lat(random), spread(random)};
  std::uniform_int_distribution<size_t> region(0, regions.size() - 1);
  std::normal_distribution<double> normal(0, 1);
  std::uniform_int_distribution<int> percent(0, 99), turn(-3, 2);

  const double pixelsPerDegree = width / 360.0;
  nlohmann::json features = nlohmann::json::array();
  for (int i = 0; i < n; ++i) {
    double x = lon(random), y = lat(random);
    if (unit(random) < 0.8) {
      const auto& r = regions[region(random)];
      x = std::clamp(r[0] + r[2] * normal(random), -179.0, 179.0);
      y = std::clamp(r[1] + r[2] * normal(random), -85.0, 85.0);
    }
    // Few large towns, many small ones: 7 to 14 pixels of text.
    const double rank = unit(random);
    const double pixels = rank < 0.7 ? 7 : rank < 0.9 ? 9 : rank < 0.98 ? 11 : 14;
    nlohmann::json properties = {{"text", Name(random)}, {"height", pixels / pixelsPerDegree}};
    if (percent(random) < turnedPercent) {
      const int step = turn(random);  // -3 to 2: -45, -30, -15, 15, 30, 45 degrees
      properties["angle"] = 15 * (step < 0 ? step : step + 1);
    }
    features.push_back({{"type", "Feature"},
                        {"geometry", {{"type", "Point"}, {"coordinates", {x, y}}}},
                        {"properties", std::move(properties)}});
  }
  return nlohmann::json{{"type", "FeatureCollection"},
                        {"view", {{"bbox", {-180, -90, 180, 90}}, {"size", {width, width / 2}}}},
                        {"features", std::move(features)}}
      .dump();
}
