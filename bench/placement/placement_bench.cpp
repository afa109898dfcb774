// Placement of 25,000 town names on a world map: time and labels kept with
// the measured extents, and with their axis-aligned boxes on the same
// candidates. The time counts measuring every label through the library.
#include <chrono>
#include <memory>

#include <benchmark/benchmark.h>

#include "city_layer.h"
#include "extent_measure.h"
#include "fonts.h"
#include "layer.h"
#include "place_layer.h"
#include "view.h"

namespace {

constexpr int kTowns = 25000;

void PlaceTowns(benchmark::State& state, bool axisBoxes) {
  const Layer layer = ParseLayer(
      CityLayer(kTowns, static_cast<int>(state.range(0)), static_cast<int>(state.range(1))),
      "towns");
  const View view = MakeView(layer);
  Diagnostics diagnostics;
  std::string error;
  std::unique_ptr<FontSet> fonts = LoadFonts(FontOptions{}, diagnostics, &error);
  if (!fonts) {
    state.SkipWithError(error.c_str());
    return;
  }
  const std::vector<placement::Feature> features = PlacementFeatures(layer);
  placement::Options options;
  options.markerSize = 3;
  options.axisBoxes = axisBoxes;
  placement::Result result;
  double measuring = 0;
  for (auto _ : state) {
    ExtentMeasurer measurer(view, PlaceFonts{fonts->vector(), fonts->stroke(), &fonts->Shaper(),
                                          fonts->NumberOf(kUnnamedLabelsFont)});
    measuring = 0;
    const auto measure = [&](const placement::Feature& f, double angle) {
      const auto start = std::chrono::steady_clock::now();
      placement::Polygon extent = measurer.Measure(layer.labels[f.source], angle);
      measuring += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      return extent;
    };
    result = placement::Place(features, PlacementView(view), options, measure);
    benchmark::DoNotOptimize(result.placed.data());
  }
  state.counters["placed"] = static_cast<double>(result.placed.size());
  state.counters["dropped"] = static_cast<double>(result.dropped.size());
  state.counters["measure_s"] = measuring;
  state.counters["place_s"] = result.seconds;
}

void BM_PlaceTownsExact(benchmark::State& state) { PlaceTowns(state, false); }
void BM_PlaceTownsAxisBoxes(benchmark::State& state) { PlaceTowns(state, true); }

// The picture's width (the default render of a world layer, and a poster)
// and the share of turned labels in percent.
void Pictures(benchmark::internal::Benchmark* b) {
  b->Args({1024, 0})->Args({4096, 0})->Args({1024, 30})->Args({4096, 30});
  b->ArgNames({"width", "turned"})->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_PlaceTownsExact)->Apply(Pictures);
BENCHMARK(BM_PlaceTownsAxisBoxes)->Apply(Pictures);

}  // namespace
