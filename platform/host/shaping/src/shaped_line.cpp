// Itemizing, bidi and shaping are the work of libraqm (over FriBidi and
// HarfBuzz); this file asks it and groups the glyphs it gives into clusters.
#include "shaped_line.h"

#include <algorithm>
#include <memory>

#include <fribidi.h>
#include <raqm.h>

namespace shaping {
namespace {

struct RaqmDeleter {
  void operator()(raqm_t* rq) const { raqm_destroy(rq); }
};

// The paragraph direction and each character's level, as the bidi
// algorithm resolves them from the first strong character.
bool Levels(const std::u32string& text, std::vector<FriBidiLevel>* levels, bool* rightToLeft) {
  const auto n = static_cast<FriBidiStrIndex>(text.size());
  const auto* chars = reinterpret_cast<const FriBidiChar*>(text.data());
  std::vector<FriBidiCharType> types(text.size());
  std::vector<FriBidiBracketType> brackets(text.size());
  fribidi_get_bidi_types(chars, n, types.data());
  fribidi_get_bracket_types(chars, n, types.data(), brackets.data());
  levels->assign(text.size(), 0);
  FriBidiParType direction = FRIBIDI_PAR_ON;
  if (!fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), n, &direction,
                                           levels->data()))
    return false;
  *rightToLeft = FRIBIDI_IS_RTL(direction) != 0;
  return true;
}

}  // namespace

bool ShapeLine(const std::u32string& text, const std::vector<int>& faceOf, ShapingFaces& faces,
               ShapedLine* out) {
  out->clusters.clear();
  if (text.empty()) return true;
  std::vector<FriBidiLevel> levels;
  if (!Levels(text, &levels, &out->rightToLeft)) return false;
  std::unique_ptr<raqm_t, RaqmDeleter> rq(raqm_create());
  if (!rq || !raqm_set_text(rq.get(), reinterpret_cast<const uint32_t*>(text.data()), text.size()) ||
      !raqm_set_par_direction(rq.get(), RAQM_DIRECTION_DEFAULT) ||
      !raqm_set_freetype_load_flags(rq.get(), FT_LOAD_NO_HINTING))
    return false;
  for (size_t start = 0; start < text.size();) {
    size_t end = start + 1;
    while (end < text.size() && faceOf[end] == faceOf[start]) ++end;
    FT_Face face = faces.Face(faceOf[start]);
    if (!face || !raqm_set_freetype_face_range(rq.get(), face, start, end - start)) return false;
    start = end;
  }
  if (!raqm_layout(rq.get())) return false;
  size_t count = 0;
  const raqm_glyph_t* glyphs = raqm_get_glyphs(rq.get(), &count);
  if (!glyphs && count) return false;

  // A cluster's characters run from its first to the next cluster's first,
  // in reading order.
  std::vector<uint32_t> starts;
  for (size_t i = 0; i < count; ++i) starts.push_back(glyphs[i].cluster);
  std::sort(starts.begin(), starts.end());
  starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
  const auto endOf = [&](uint32_t first) {
    const auto next = std::upper_bound(starts.begin(), starts.end(), first);
    return next == starts.end() ? static_cast<uint32_t>(text.size()) : *next;
  };

  long pen = 0, clusterPen = 0;
  for (size_t i = 0; i < count; ++i) {
    const raqm_glyph_t& g = glyphs[i];
    if (i == 0 || g.cluster != glyphs[i - 1].cluster || g.ftface != glyphs[i - 1].ftface) {
      if (!out->clusters.empty()) {
        LineCluster& done = out->clusters.back();
        done.pieces.push_back(LineCluster::Piece{done.count, static_cast<int>(done.glyphs.size())});
      }
      LineCluster c;
      c.first = static_cast<int>(g.cluster);
      c.count = static_cast<int>(endOf(g.cluster) - g.cluster);
      c.face = faces.IdOf(g.ftface);
      c.rightToLeft = (levels[g.cluster] & 1) != 0;
      out->clusters.push_back(std::move(c));
      clusterPen = pen;
    }
    LineCluster& c = out->clusters.back();
    c.glyphs.push_back(LineGlyph{g.index, pen - clusterPen + g.x_offset, g.y_offset});
    c.advance += g.x_advance;
    pen += g.x_advance;
  }
  if (!out->clusters.empty()) {
    LineCluster& last = out->clusters.back();
    last.pieces.push_back(LineCluster::Piece{last.count, static_cast<int>(last.glyphs.size())});
  }
  return true;
}

}  // namespace shaping
