// Coverage masks of glyphs, as a raster page draws text: each outline is
// rasterised once per turn and quarter-pixel position, then only blended.
#ifndef INKLINE_HOST_CAIRO_GLYPH_MASKS_H
#define INKLINE_HOST_CAIRO_GLYPH_MASKS_H

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include <inkline/win32_sink.h>

// One glyph's coverage, 0 (none) to 255 (full), rows top down. Its top left
// pixel lies (left, top) pixels from the whole pixel the glyph is drawn at.
struct GlyphMask {
  int left = 0, top = 0;
  int width = 0, height = 0;
  std::vector<std::uint8_t> coverage;
};

// Where a glyph lands: a whole pixel, and a phase of quarter pixels (0-3)
// on each axis that its mask was rasterised at.
struct MaskPlace {
  int x, y;
  int phaseX, phaseY;
};
MaskPlace MaskPlaceFor(const GdiPoint& origin);

// The mask of outline (pixels, y up) turned counter-clockwise by escapement
// degrees and moved by the phase, filled by the non-zero winding rule. False
// for a glyph too large for a mask: fill its outline instead.
bool RasteriseGlyph(const GdiPath& outline, double escapement, int phaseX, int phaseY,
                    GlyphMask* mask);

// The mask of figures already in device pixels (y down), filled by the
// non-zero winding rule; its left and top are page pixels. False when too
// large for a mask.
bool RasteriseFigures(const GdiPath& figures, GlyphMask* mask);

// Masks shared by every picture and thread of the process. Bounded: past the
// bound the masks not used since the previous one are forgotten.
class GlyphMaskCache {
 public:
  static GlyphMaskCache& Shared();

  // The mask of glyph at escapement and place's phase, made when missing;
  // null for a glyph too large for a mask. Made outside the lock, so two threads may both make one: they make the
  // same mask.
  std::shared_ptr<const GlyphMask> Get(const GdiGlyph& glyph, double escapement,
                                       const MaskPlace& place);

  explicit GlyphMaskCache(std::size_t maxBytes) : maxBytes_(maxBytes) {}

 private:
  friend class GlyphMaskFront;
  struct Key {
    unsigned long long shape;
    std::uint64_t escapementBits;
    int phase;
    bool operator==(const Key& o) const {
      return shape == o.shape && escapementBits == o.escapementBits && phase == o.phase;
    }
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const;
  };
  using Masks = std::unordered_map<Key, std::shared_ptr<const GlyphMask>, KeyHash>;

  static Key KeyOf(const GdiGlyph& glyph, double escapement, const MaskPlace& place);
  std::shared_ptr<const GlyphMask> Find(const Key& key);
  void Keep(const Key& key, std::shared_ptr<const GlyphMask> mask);

  const std::size_t maxBytes_;
  std::mutex mutex_;
  Masks current_, previous_;  // masks used since the last bound, and before it
  std::size_t currentBytes_ = 0;
};

// The masks one drawing thread used lately, in front of the shared cache:
// found here, a mask costs no lock, so threads drawing the same glyphs do not
// queue for the shared one. Kept small: emptied whenever it fills.
class GlyphMaskFront {
 public:
  explicit GlyphMaskFront(GlyphMaskCache& shared) : shared_(shared) {}

  // As GlyphMaskCache::Get.
  std::shared_ptr<const GlyphMask> Get(const GdiGlyph& glyph, double escapement,
                                       const MaskPlace& place);

  // Whether masks at this escapement are worth keeping: text turned to an
  // angle few texts share would only fill the cache with masks never used
  // again, so an angle earns its place by being drawn often by this thread.
  bool Keeps(double escapement);

 private:
  GlyphMaskCache& shared_;
  GlyphMaskCache::Masks masks_;
  std::size_t bytes_ = 0;
  std::unordered_map<std::uint64_t, long> textsAt_;  // texts drawn, by escapement bits
};

#endif  // INKLINE_HOST_CAIRO_GLYPH_MASKS_H
