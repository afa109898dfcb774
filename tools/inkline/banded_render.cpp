#include "banded_render.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include <inkline/host/banded_png.h>

namespace {

// The rows (from the top of the page) a label may touch, taken generously:
// a circle around its anchor wide enough for its text at any angle, with
// room for background boxes, outlines and slanted or underlined styles.
// Rich text may flow out of its box, so it reaches every row.
struct Reach {
  double top = -INFINITY, bottom = INFINITY;
  bool Touches(int from, int to) const { return bottom >= from && top < to; }
  bool Bounded() const { return std::isfinite(top) && std::isfinite(bottom) && top <= bottom; }
};
constexpr Reach kEverywhere{};
constexpr Reach kNowhere{INFINITY, -INFINITY};

Reach ReachOf(const Label& label, const ReadyLabel& ready, const View& v) {
  if (ready.rich.drawable) return kEverywhere;
  if (!ready.plain.drawable) return kNowhere;
  const PlainLabel& p = *label.plain;
  const double h = std::fabs(p.height * v.scale), w = std::fabs(p.width * v.scale);
  const double cell = h + w + std::fabs(p.space * v.scale);
  const double n = static_cast<double>(ready.plain.bytes.size()) + 2;
  const double radius = 2 * n * cell + std::fabs(p.extra) * (h + w + 1) + 8;
  const double row = v.height - v.Y(p.y);
  if (!std::isfinite(radius) || !std::isfinite(row)) return kEverywhere;
  return Reach{row - radius, row + radius};
}

// Band tops that give each band about as many label anchors.
std::vector<int> BalancedTops(const std::vector<Reach>& reach, int height, int bands) {
  std::vector<double> rows;
  rows.reserve(reach.size());
  for (const Reach& r : reach)
    if (r.Bounded())
      rows.push_back(std::clamp((r.top + r.bottom) / 2, 0.0, static_cast<double>(height - 1)));
  std::sort(rows.begin(), rows.end());
  std::vector<int> tops{0};
  for (int b = 1; b < bands; ++b) {
    const int top = rows.empty() ? height * b / bands
                                 : static_cast<int>(rows[rows.size() * b / bands]);
    if (top > tops.back() && top < height) tops.push_back(top);
  }
  return tops;
}

struct BandWork {
  const Layer& layer;
  const std::vector<ReadyLabel>& ready;
  const std::vector<Reach>& reach;
  const RenderSetup& setup;
  std::atomic<size_t> visited{0};
  size_t visits = 0;  // labels drawn over all bands
};

void DrawBand(BandWork& work, DeviceDriver& device, int from, int to, bool reportsProgress) {
  LabelDrawer drawer(device, work.setup);
  if (!drawer.Ready()) return;
  const size_t total = work.layer.labels.size();
  size_t mine = 0;
  for (size_t i = 0; i < total; ++i) {
    if (!work.reach[i].Touches(from, to)) continue;
    drawer.Draw(work.layer.labels[i], work.ready[i]);
    if (++mine % 256 != 0) continue;
    const size_t seen = work.visited.fetch_add(256) + 256;
    if (reportsProgress && work.setup.progress && work.visits > 0)
      work.setup.progress(std::min(total, seen * total / work.visits), total);
  }
}

}  // namespace

bool RenderPngInBands(const Layer& layer, const RenderSetup& setup, const std::string& path,
                      const CairoDevice::Options& options, int threads, Diagnostics& diagnostics,
                      std::string* error) {
  const size_t total = layer.labels.size();
  LabelChecks checks;
  std::vector<ReadyLabel> ready(total);
  std::vector<Reach> reach(total);
  for (size_t i = 0; i < total; ++i) {
    ready[i] = PrepareLabel(layer.labels[i], setup, checks, diagnostics);
    reach[i] = ReachOf(layer.labels[i], ready[i], setup.view);
  }
  const std::vector<int> tops = BalancedTops(reach, options.height, threads);
  std::unique_ptr<BandedPng> png = BandedPng::Create(path, options, tops, error);
  if (!png) return false;
  BandWork work{layer, ready, reach, setup};
  for (size_t b = 0; b < tops.size(); ++b) {
    const int to = b + 1 < tops.size() ? tops[b + 1] : options.height;
    for (const Reach& r : reach) work.visits += r.Touches(tops[b], to);
  }
  std::vector<std::thread> workers;
  for (int b = 1; b < png->Bands(); ++b)
    workers.emplace_back(DrawBand, std::ref(work), std::ref(png->Band(b)), tops[b],
                         b + 1 < png->Bands() ? tops[b + 1] : options.height, false);
  DrawBand(work, png->Band(0), 0, png->Bands() > 1 ? tops[1] : options.height, true);
  for (std::thread& t : workers) t.join();
  if (setup.progress) setup.progress(total, total);
  checks.Report(diagnostics);
  return png->Finish(error);
}
