// The command's own GeoJSON reader alone: bytes and labels per second over
// a layer of point labels like the ones the command draws, generated in
// memory (or the file LAYER_BENCH_FILE names, e.g. a peers' layer).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "layer_json.h"

namespace {

std::string GeneratedLayer(int features) {
  std::mt19937 random(42);
  std::uniform_real_distribution<double> coordinate(0, 40960), size(40, 400), angle(-90, 90);
  const char* const words[] = {"Main", "Oak", "Pine", "Zürich", "Mill", "Central", "Rd", "St", "Hwy"};
  std::string text = "{\"type\":\"FeatureCollection\",\n\"view\":{\"bbox\":[0,0,40960,40960],\"size\":[4096,4096]},\n"
                     "\"features\":[\n";
  char feature[512];
  for (int i = 0; i < features; ++i) {
    const double height = size(random);
    std::snprintf(feature, sizeof feature,
                  "%s{\"type\":\"Feature\",\"id\":%d,\"geometry\":{\"type\":\"Point\",\"coordinates\":"
                  "[%.2f,%.2f]},\"properties\":{\"text\":\"%s %s %d\",\"height\":%.4f,\"width\":%.4f,"
                  "\"angle\":%.1f,\"space\":0.0,\"font\":0,\"textColor\":%d}}",
                  i ? ",\n" : "", i, 500000 + coordinate(random), 4000000 + coordinate(random),
                  words[random() % 9], words[random() % 9], i, height, height, angle(random), i % 16);
    text += feature;
  }
  return text + "\n]}\n";
}

const std::string& Layer() {
  static const std::string layer = [] {
    if (const char* path = std::getenv("LAYER_BENCH_FILE")) {
      std::ifstream in(path, std::ios::binary);
      std::ostringstream content;
      content << in.rdbuf();
      return content.str();
    }
    return GeneratedLayer(100000);
  }();
  return layer;
}

void BM_ReadLayer(benchmark::State& state) {
  const std::string& text = Layer();
  const LayerOptions options;
  long long labels = 0;
  for (auto _ : state) {
    ParseGeoJson(text.data(), text.data() + text.size(), "bench.geojson", options,
                 [&labels](Label&& label) { labels += label.plain.has_value(); });
  }
  state.SetBytesProcessed(state.iterations() * static_cast<long long>(text.size()));
  state.counters["labels"] = benchmark::Counter(static_cast<double>(labels), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadLayer)->Unit(benchmark::kMillisecond);

}  // namespace
