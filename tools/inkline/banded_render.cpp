#include "banded_render.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <inkline/constants.h>
#include <inkline/host/banded_png.h>
#include <inkline/shared/numeric.h>

#include "block_pool.h"
#include "label_blocks.h"

namespace {

constexpr size_t kBlockLabels = 512;
constexpr size_t kBlocksHeld = 8;
constexpr size_t kAnchorsKept = 4096;
// Bands no lower than this: a label reaching across more bands is drawn
// once for each, so thin bands cost more than their thread gains.
constexpr int kMinBandRows = 128;

// The rows (from the top of the page) a label may touch, taken generously.
// Along its text a label runs at most two cells a byte, and a background
// box stretches that by its factor; across its text, glyphs, slant, shadow
// and pens stay within a few cells of the baseline. Only the part along the
// text is turned by the angle, so a level label reaches a few heights above
// and below its anchor however long it is. Rich text may flow out of its
// box, so it reaches every row.
struct Reach {
  double top = -INFINITY, bottom = INFINITY;
  bool Touches(double from, double to) const { return bottom >= from && top < to; }
};
constexpr Reach kEverywhere{};
constexpr Reach kNowhere{INFINITY, -INFINITY};

// Raised, lowered and stacked parts step off the baseline, further the more
// of them there are.
bool MayLeaveBaseline(const std::string& bytes) {
  if (!bytes.empty() && bytes[0] == '/') return true;
  for (size_t i = 0; i + 1 < bytes.size(); ++i)
    if (bytes[i] == '#' && (bytes[i + 1] == '+' || bytes[i + 1] == '-' || bytes[i + 1] == '='))
      return true;
  return false;
}

// The rows a step along the text covers, at most: the share its direction
// has across the rows, with room for a device that rounds the angle; all of
// it for text that may leave its baseline.
double RowsPerStepAlong(const PlainLabel& p, const std::string& bytes) {
  if (MayLeaveBaseline(bytes)) return 1;
  const double a = p.angle * shared::kPi / 180;
  // Horizontal text runs along the angle, a column across it.
  const bool horizontal = p.arrangement == inkline::kArrangementHorizontal;
  const double share = std::fabs(horizontal ? std::sin(a) : std::cos(a));
  return std::min(1.0, share + 0.002);
}

Reach ReachOf(const Label& label, const ReadyLabel& ready, const View& v) {
  if (ready.rich.drawable) return kEverywhere;
  if (!ready.plain.drawable) return kNowhere;
  const PlainLabel& p = *label.plain;
  const double h = std::fabs(p.height * v.scale), w = std::fabs(p.width * v.scale);
  const double cell = h + w + std::fabs(p.space * v.scale);
  const double n = static_cast<double>(ready.plain.bytes.size()) + 2;
  const double extra = std::fabs(p.extra);
  const double along = 2 * n * cell * std::max(1.0, extra);
  const double across = 3 * (h + w) + extra * (h + w + 1) + 8;
  const double radius = along * RowsPerStepAlong(p, ready.plain.bytes) + across;
  const double row = v.height - v.Y(p.y);
  if (!std::isfinite(radius) || !std::isfinite(row)) return kEverywhere;
  return Reach{row - radius, row + radius};
}

// Band tops in [top, bottom) that give each band about as many anchors.
std::vector<int> BalancedTops(const std::vector<double>& anchorRows, int top, int bottom, int bands) {
  bands = std::max(1, std::min(bands, (bottom - top) / kMinBandRows));
  const auto first = std::lower_bound(anchorRows.begin(), anchorRows.end(), top);
  const auto last = std::lower_bound(anchorRows.begin(), anchorRows.end(), bottom);
  const size_t n = static_cast<size_t>(last - first);
  std::vector<int> tops{top};
  for (int b = 1; b < bands; ++b) {
    const int at = n == 0 ? top + static_cast<int>(static_cast<long long>(bottom - top) * b / bands)
                          : static_cast<int>(first[static_cast<long>(n * b / bands)]);
    if (at > tops.back() && at < bottom) tops.push_back(at);
  }
  return tops;
}

struct Block {
  Block() {  // room for a whole block at once, rather than growing a label at a time
    labels.reserve(kBlockLabels);
    ready.reserve(kBlockLabels);
    reach.reserve(kBlockLabels);
  }
  void Clear() {
    labels.clear();
    ready.clear();
    reach.clear();
  }
  std::vector<Label> labels;
  std::vector<ReadyLabel> ready;
  std::vector<Reach> reach;
};

// One stretch of rows: its bands drawn on threads of their own while this
// thread reads and prepares the labels (a single band too, when there is a
// second core: reading and drawing then overlap); with one thread, the band
// is drawn on this thread, block by block as they are read.
class StretchDrawing {
 public:
  StretchDrawing(BandedPng& png, const std::vector<int>& tops, int bottom, const RenderSetup& setup,
                 int threads)
      : blocks_(png.Bands(), kBlocksHeld) {
    for (int b = 0; b < png.Bands(); ++b) {
      const int from = tops[static_cast<size_t>(b)];
      const int to = b + 1 < png.Bands() ? tops[static_cast<size_t>(b) + 1] : bottom;
      bands_.push_back(Band{&png, b, nullptr, from, to});
    }
    // String objects are made on the thread that draws with them.
    if (bands_.size() == 1 && threads <= 1) {
      bands_[0].drawer = std::make_unique<LabelDrawer>(png.Band(0), setup);
      return;
    }
    for (int b = 0; b < png.Bands(); ++b) drawers_.emplace_back([this, &setup, b] { DrawAll(b, setup); });
  }
  ~StretchDrawing() { Join(); }
  StretchDrawing(const StretchDrawing&) = delete;
  StretchDrawing& operator=(const StretchDrawing&) = delete;

  void Push(std::shared_ptr<const Block> block) {
    if (drawers_.empty())
      Draw(bands_[0], *block);
    else
      blocks_.Push(std::move(block));
  }
  void Join() {
    blocks_.Close();
    for (std::thread& t : drawers_)
      if (t.joinable()) t.join();
  }

 private:
  struct Band {
    BandedPng* png;
    int index;
    std::unique_ptr<LabelDrawer> drawer;
    int from, to;
  };
  static void Draw(Band& band, const Block& block) {
    if (!band.drawer->Ready()) return;
    for (size_t i = 0; i < block.labels.size(); ++i) {
      const Reach& reach = block.reach[i];
      if (!reach.Touches(band.from, band.to)) continue;
      band.png->PaintRows(band.index, std::floor(reach.top), std::ceil(reach.bottom));
      band.drawer->Draw(block.labels[i], block.ready[i]);
    }
  }
  void DrawAll(int b, const RenderSetup& setup) {
    Band& band = bands_[static_cast<size_t>(b)];
    band.drawer = std::make_unique<LabelDrawer>(band.png->Band(b), setup);
    while (std::shared_ptr<const Block> block = blocks_.Next(b)) Draw(band, *block);
    band.drawer.reset();
  }

  LabelBlocks<Block> blocks_;
  std::vector<Band> bands_;
  std::vector<std::thread> drawers_;
};

// A device whose kind does not clip glyphs at its window is told its
// band's rows as the window, so the library skips glyphs that cannot reach
// them; kinds 1 and 3 drop glyphs outside the window, so they keep the page's.
void NarrowWindow(CairoDevice& band, const CairoDevice::Options& options, int from, int to) {
  if (options.kind == 1 || options.kind == 3) return;
  band.WinRect = D_RECT{0.0, static_cast<double>(options.height - to), static_cast<double>(options.width),
                        static_cast<double>(options.height - from)};
}

class PageDrawing {
 public:
  PageDrawing(const PngRun& run, const RenderSetup& setup, const CairoDevice::Options& options,
              Diagnostics& diagnostics, BandedPng& png)
      : run_(run), setup_(setup), options_(options), diagnostics_(diagnostics), png_(png) {}
  bool Draw(std::string* error);

 private:
  bool DrawStretch(int top, int bottom, bool first, std::string* error);
  void Read(StretchDrawing& drawing, bool first);

  const PngRun& run_;
  const RenderSetup& setup_;
  const CairoDevice::Options& options_;
  Diagnostics& diagnostics_;
  BandedPng& png_;
  LabelChecks checks_;
  std::vector<char> reached_;  // per stretch: some label reaches it
  BlockPool<Block> blocks_;    // outlives every stretch's drawing
};

bool PageDrawing::Draw(std::string* error) {
  const int height = options_.height, rows = png_.StretchRows();
  reached_.assign(static_cast<size_t>((height + rows - 1) / rows), 0);
  for (int top = 0, s = 0; top < height; top += rows, ++s) {
    const int bottom = std::min(height, top + rows);
    const bool ok = s == 0 || reached_[static_cast<size_t>(s)]
                        ? DrawStretch(top, bottom, s == 0, error)
                        : png_.SkipStretch(bottom, run_.threads, error);
    if (!ok) return false;
  }
  if (setup_.progress) setup_.progress(run_.total, run_.total);
  checks_.Report(diagnostics_);
  return png_.Finish(error);
}

bool PageDrawing::DrawStretch(int top, int bottom, bool first, std::string* error) {
  const std::vector<int> tops = BalancedTops(run_.anchorRows, top, bottom, run_.threads);
  if (!png_.StartStretch(tops, bottom, error)) return false;
  for (int b = 0; b < png_.Bands(); ++b)
    NarrowWindow(png_.Band(b), options_, tops[static_cast<size_t>(b)],
                 b + 1 < png_.Bands() ? tops[static_cast<size_t>(b) + 1] : bottom);
  {
    StretchDrawing drawing(png_, tops, bottom, setup_, run_.threads);
    Read(drawing, first);
  }
  return png_.FinishStretch(run_.threads, error);
}

// Reads the layer into blocks for the drawers. The first reading counts the
// labels' problems and notes which stretches any label reaches.
void PageDrawing::Read(StretchDrawing& drawing, bool first) {
  LabelChecks again;
  LabelChecks& checks = first ? checks_ : again;
  const int rows = png_.StretchRows();
  std::shared_ptr<Block> block = blocks_.Take();
  size_t seen = 0;
  size_t filledFrom = 1, filledTo = 0;  // the stretches the last label reached, already noted
  run_.labels([&](Label&& label) {
    block->ready.push_back(PrepareLabel(label, setup_, checks, diagnostics_));
    const Reach reach = ReachOf(label, block->ready.back(), setup_.view);
    block->reach.push_back(reach);
    block->labels.push_back(std::move(label));
    if (first && reach.bottom >= 0 && reach.top < options_.height) {
      const size_t from = static_cast<size_t>(std::max(0.0, reach.top) / rows);
      const size_t to = static_cast<size_t>(std::min<double>(options_.height - 1, reach.bottom) / rows);
      if (from != filledFrom || to != filledTo)
        std::fill(reached_.begin() + static_cast<long>(from), reached_.begin() + static_cast<long>(to) + 1, 1);
      filledFrom = from;
      filledTo = to;
    }
    if (block->labels.size() == kBlockLabels) {
      drawing.Push(std::move(block));
      block = blocks_.Take();
    }
    if (first && setup_.progress && ++seen % 256 == 0) setup_.progress(seen, run_.total);
  });
  if (!block->labels.empty()) drawing.Push(std::move(block));
}

}  // namespace

bool DrawsInBands(const View& view, int threads) {
  return threads > 1 && view.height >= 2 * kMinBandRows;
}

void AnchorSample::Add(const Label& label) {
  if (!label.plain) return;
  if (seen_++ % every_ != 0) return;
  ys_.push_back(label.plain->y);
  if (ys_.size() < 2 * kAnchorsKept) return;
  // Full: keep every other one, and from now on every other one offered.
  for (size_t i = 0; i < ys_.size() / 2; ++i) ys_[i] = ys_[2 * i];
  ys_.resize(ys_.size() / 2);
  every_ *= 2;
}

bool AnchorSample::TakesNext() {
  if (seen_ % every_ == 0) return true;
  ++seen_;
  return false;
}

std::vector<double> AnchorSample::Rows(const View& view) const {
  std::vector<double> rows;
  rows.reserve(ys_.size());
  for (double y : ys_) {
    const double row = view.height - view.Y(y);
    if (std::isfinite(row)) rows.push_back(row);
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

bool RenderPngInBands(const PngRun& run, const RenderSetup& setup, const std::string& path,
                      const CairoDevice::Options& options, Diagnostics& diagnostics,
                      std::string* error) {
  std::unique_ptr<BandedPng> png = BandedPng::Create(path, options, run.pixelBytes, error);
  if (!png) return false;
  PageDrawing drawing(run, setup, options, diagnostics, *png);
  return drawing.Draw(error);
}
