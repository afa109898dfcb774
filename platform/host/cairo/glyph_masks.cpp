#include "glyph_masks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include <inkline/shared/numeric.h>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

namespace {

constexpr int kPhases = 4;  // positions per pixel a mask is made for, on each axis
// Masks wider or higher than this are not made: such glyphs are filled as
// outlines, which is as fast at that size and keeps the cache small.
constexpr int kLargestMask = 512;
constexpr std::size_t kCacheBytes = std::size_t{16} << 20;  // two generations of this at most
constexpr std::size_t kMaskOverhead = 96;  // bytes a mask costs beyond its pixels
constexpr std::size_t kFrontBytes = std::size_t{2} << 20;  // a drawing thread's own masks
// Upright text is always kept; other angles once this many texts used them.
constexpr long kTextsBeforeKeeping = 256;
constexpr std::size_t kAnglesCounted = 8192;

// Renders need a FreeType library of their own on each thread.
class ThreadFreeType {
 public:
  ThreadFreeType() {
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
  }
  ~ThreadFreeType() {
    if (library_) FT_Done_FreeType(library_);
  }
  ThreadFreeType(const ThreadFreeType&) = delete;
  ThreadFreeType& operator=(const ThreadFreeType&) = delete;
  FT_Library get() const { return library_; }

 private:
  FT_Library library_ = nullptr;
};

FT_Library ThreadLibrary() {
  thread_local ThreadFreeType library;
  return library.get();
}

// The outline turned and moved into device pixels (y down) from the glyph's
// whole pixel.
std::vector<GdiPoint> Turned(const GdiPath& outline, double escapement, int phaseX, int phaseY) {
  const double radians = escapement * shared::kPi / 180.0;
  const double c = std::cos(radians), s = std::sin(radians);
  const double dx = static_cast<double>(phaseX) / kPhases;
  const double dy = static_cast<double>(phaseY) / kPhases;
  std::vector<GdiPoint> out(static_cast<size_t>(outline.count));
  for (int i = 0; i < outline.count; ++i) {
    const GdiPoint& p = outline.points[i];
    out[static_cast<size_t>(i)] = GdiPoint{dx + p.x * c - p.y * s, dy - (p.x * s + p.y * c)};
  }
  return out;
}

// FreeType's form of a path: 26.6 points, y up from the mask's bottom edge,
// cubic control points in pairs, every figure one closed contour.
struct FreeTypePath {
  std::vector<FT_Vector> points;
  std::vector<char> tags;
  std::vector<short> contourEnds;

  void Add(const GdiPoint& p, int left, int bottom, char tag) {
    points.push_back(FT_Vector{std::lround((p.x - left) * 64.0), std::lround((bottom - p.y) * 64.0)});
    tags.push_back(tag);
  }
  void EndContour() {
    if (!points.empty() && (contourEnds.empty() || contourEnds.back() + 1 < static_cast<int>(points.size())))
      contourEnds.push_back(static_cast<short>(points.size() - 1));
  }
};

FreeTypePath ToFreeType(const GdiPath& path, const std::vector<GdiPoint>& at, int left, int bottom) {
  FreeTypePath ft;
  for (int i = 0; i < path.count; ++i) {
    switch (path.types[i] & ~PT_CLOSEFIGURE) {
      case PT_MOVETO:
        ft.EndContour();
        ft.Add(at[static_cast<size_t>(i)], left, bottom, FT_CURVE_TAG_ON);
        break;
      case PT_LINETO:
        ft.Add(at[static_cast<size_t>(i)], left, bottom, FT_CURVE_TAG_ON);
        break;
      case PT_BEZIERTO:
        if (i + 2 < path.count) {
          ft.Add(at[static_cast<size_t>(i)], left, bottom, FT_CURVE_TAG_CUBIC);
          ft.Add(at[static_cast<size_t>(i + 1)], left, bottom, FT_CURVE_TAG_CUBIC);
          ft.Add(at[static_cast<size_t>(i + 2)], left, bottom, FT_CURVE_TAG_ON);
          i += 2;
        }
        break;
      default:
        break;
    }
  }
  ft.EndContour();
  return ft;
}

int FloorDiv(long long value, int by) {
  const long long q = value / by;
  return static_cast<int>(q * by > value ? q - 1 : q);
}

}  // namespace

MaskPlace MaskPlaceFor(const GdiPoint& origin) {
  const long long qx = std::llround(origin.x * kPhases), qy = std::llround(origin.y * kPhases);
  MaskPlace place{FloorDiv(qx, kPhases), FloorDiv(qy, kPhases), 0, 0};
  place.phaseX = static_cast<int>(qx - static_cast<long long>(place.x) * kPhases);
  place.phaseY = static_cast<int>(qy - static_cast<long long>(place.y) * kPhases);
  return place;
}

namespace {

// The mask of path's figures at the device points at (types from path).
bool RasteriseAt(const GdiPath& path, const std::vector<GdiPoint>& at, GlyphMask* mask) {
  mask->left = mask->top = mask->width = mask->height = 0;
  mask->coverage.clear();  // a scratch mask keeps its room
  if (path.count <= 0) return true;
  if (path.count > std::numeric_limits<short>::max()) return false;
  // Control points included: a curve stays within them.
  double minX = at[0].x, maxX = at[0].x, minY = at[0].y, maxY = at[0].y;
  for (const GdiPoint& p : at) {
    minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
  }
  if (!(maxX - minX < kLargestMask && maxY - minY < kLargestMask)) return false;
  const int left = static_cast<int>(std::floor(minX)), top = static_cast<int>(std::floor(minY));
  const int width = static_cast<int>(std::ceil(maxX)) - left;
  const int height = static_cast<int>(std::ceil(maxY)) - top;
  FT_Library library = ThreadLibrary();
  if (width <= 0 || height <= 0 || !library) return true;
  FreeTypePath ft = ToFreeType(path, at, left, top + height);
  mask->left = left, mask->top = top, mask->width = width, mask->height = height;
  mask->coverage.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  FT_Outline source{};
  source.n_contours = static_cast<short>(ft.contourEnds.size());
  source.n_points = static_cast<short>(ft.points.size());
  source.points = ft.points.data();
  source.tags = ft.tags.data();
  source.contours = ft.contourEnds.data();
  source.flags = FT_OUTLINE_NONE;  // the non-zero winding rule
  FT_Bitmap target{};
  target.rows = static_cast<unsigned>(height);
  target.width = static_cast<unsigned>(width);
  target.pitch = width;
  target.buffer = mask->coverage.data();
  target.num_grays = 256;
  target.pixel_mode = FT_PIXEL_MODE_GRAY;
  if (FT_Outline_Get_Bitmap(library, &source, &target) != 0) mask->width = mask->height = 0;
  return true;
}

}  // namespace

bool RasteriseGlyph(const GdiPath& outline, double escapement, int phaseX, int phaseY,
                    GlyphMask* mask) {
  return RasteriseAt(outline, Turned(outline, escapement, phaseX, phaseY), mask);
}

bool RasteriseFigures(const GdiPath& figures, GlyphMask* mask) {
  return RasteriseAt(figures, std::vector<GdiPoint>(figures.points, figures.points + figures.count),
                     mask);
}

// The three parts folded, then mixed well (splitmix64's finaliser): ids of
// one face differ only in their low bits.
std::size_t GlyphMaskCache::KeyHash::operator()(const Key& k) const {
  std::uint64_t h = k.shape ^ (k.escapementBits * 0x9E3779B97F4A7C15ull) ^
                    (static_cast<std::uint64_t>(k.phase) << 56);
  h = (h ^ (h >> 30)) * 0xBF58476D1CE4E5B9ull;
  h = (h ^ (h >> 27)) * 0x94D049BB133111EBull;
  return static_cast<std::size_t>(h ^ (h >> 31));
}

GlyphMaskCache& GlyphMaskCache::Shared() {
  static GlyphMaskCache cache(kCacheBytes);
  return cache;
}

bool GlyphMaskFront::Keeps(double escapement) {
  if (escapement == 0.0) return true;
  std::uint64_t bits = 0;
  std::memcpy(&bits, &escapement, sizeof escapement);
  if (textsAt_.size() >= kAnglesCounted) textsAt_.clear();
  return ++textsAt_[bits] >= kTextsBeforeKeeping;
}

GlyphMaskCache::Key GlyphMaskCache::KeyOf(const GdiGlyph& glyph, double escapement,
                                          const MaskPlace& place) {
  Key key{glyph.shape, 0, place.phaseY * kPhases + place.phaseX};
  std::memcpy(&key.escapementBits, &escapement, sizeof escapement);
  return key;
}

std::shared_ptr<const GlyphMask> GlyphMaskCache::Get(const GdiGlyph& glyph, double escapement,
                                                     const MaskPlace& place) {
  const Key key = KeyOf(glyph, escapement, place);
  if (std::shared_ptr<const GlyphMask> known = Find(key)) return known;
  auto made = std::make_shared<GlyphMask>();
  if (!RasteriseGlyph(glyph.outline, escapement, place.phaseX, place.phaseY, made.get()))
    return nullptr;
  Keep(key, made);
  return made;
}

std::shared_ptr<const GlyphMask> GlyphMaskCache::Find(const Key& key) {
  std::lock_guard<std::mutex> hold(mutex_);
  auto it = current_.find(key);
  if (it != current_.end()) return it->second;
  it = previous_.find(key);
  if (it == previous_.end()) return nullptr;
  std::shared_ptr<const GlyphMask> mask = it->second;
  previous_.erase(it);
  currentBytes_ += mask->coverage.size() + kMaskOverhead;
  current_.emplace(key, mask);
  return mask;
}

void GlyphMaskCache::Keep(const Key& key, std::shared_ptr<const GlyphMask> mask) {
  const std::size_t bytes = mask->coverage.size() + kMaskOverhead;
  std::lock_guard<std::mutex> hold(mutex_);
  if (currentBytes_ + bytes > maxBytes_) {
    previous_ = std::move(current_);
    current_.clear();
    currentBytes_ = 0;
  }
  if (current_.emplace(key, std::move(mask)).second) currentBytes_ += bytes;
}

std::shared_ptr<const GlyphMask> GlyphMaskFront::Get(const GdiGlyph& glyph, double escapement,
                                                     const MaskPlace& place) {
  const GlyphMaskCache::Key key = GlyphMaskCache::KeyOf(glyph, escapement, place);
  auto it = masks_.find(key);
  if (it != masks_.end()) return it->second;
  std::shared_ptr<const GlyphMask> mask = shared_.Get(glyph, escapement, place);
  if (!mask) return nullptr;
  const std::size_t bytes = mask->coverage.size() + kMaskOverhead;
  if (bytes_ + bytes > kFrontBytes) {
    masks_.clear();
    bytes_ = 0;
  }
  masks_.emplace(key, mask);
  bytes_ += bytes;
  return mask;
}
