// A line cut into runs (FriBidi's levels, HarfBuzz's scripts, the faces),
// each run shaped by HarfBuzz, the runs put in FriBidi's visual order, and
// the glyphs grouped into clusters.
#include "shaped_line.h"

#include <algorithm>
#include <memory>

#include <fribidi.h>

#include "char_kinds.h"

namespace shaping {
namespace {

// The bidi algorithm's levels of a line, after the line rules (trailing
// spaces at the line's own level), and where each character stands.
struct Bidi {
  std::vector<FriBidiLevel> levels;
  std::vector<FriBidiStrIndex> visualOf;  // by logical index
  bool rightToLeft = false;
};

bool Resolve(const std::u32string& text, Bidi* out) {
  const auto n = static_cast<FriBidiStrIndex>(text.size());
  const auto* chars = reinterpret_cast<const FriBidiChar*>(text.data());
  std::vector<FriBidiCharType> types(text.size());
  std::vector<FriBidiBracketType> brackets(text.size());
  fribidi_get_bidi_types(chars, n, types.data());
  fribidi_get_bracket_types(chars, n, types.data(), brackets.data());
  out->levels.assign(text.size(), 0);
  FriBidiParType direction = FRIBIDI_PAR_ON;  // from the first strong character
  if (!fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), n, &direction,
                                           out->levels.data()))
    return false;
  std::vector<FriBidiStrIndex> map(text.size());
  for (FriBidiStrIndex i = 0; i < n; ++i) map[static_cast<size_t>(i)] = i;
  if (!fribidi_reorder_line(0, types.data(), n, 0, direction, out->levels.data(), nullptr, map.data()))
    return false;
  out->visualOf.assign(text.size(), 0);
  for (FriBidiStrIndex v = 0; v < n; ++v) out->visualOf[static_cast<size_t>(map[static_cast<size_t>(v)])] = v;
  out->rightToLeft = FRIBIDI_IS_RTL(direction) != 0;
  return true;
}

// Each character's script, the characters every script shares (spaces,
// digits, punctuation) and marks taking the script of the letters before
// them, or at the start of the line of those after them.
std::vector<hb_script_t> Scripts(const std::u32string& text) {
  std::vector<hb_script_t> scripts(text.size(), HB_SCRIPT_COMMON);
  hb_script_t last = HB_SCRIPT_INVALID;
  for (size_t i = 0; i < text.size(); ++i) {
    const hb_script_t s = ScriptOf(text[i]);
    const bool shared = s == HB_SCRIPT_COMMON || s == HB_SCRIPT_INHERITED || s == HB_SCRIPT_UNKNOWN;
    if (!shared) last = s;
    scripts[i] = shared ? last : s;
  }
  hb_script_t next = HB_SCRIPT_COMMON;
  for (size_t i = text.size(); i-- > 0;) {
    if (scripts[i] == HB_SCRIPT_INVALID) scripts[i] = next;
    else next = scripts[i];
  }
  return scripts;
}

struct Run {
  size_t start, end;  // characters [start, end)
  FriBidiStrIndex visual;  // where the run's first character in line order stands
};

struct BufferDeleter {
  void operator()(hb_buffer_t* b) const { hb_buffer_destroy(b); }
};

}  // namespace

bool ShapeLine(const std::u32string& text, const std::vector<int>& faceOf, ShapingFaces& faces,
               ShapedLine* out) {
  out->clusters.clear();
  if (text.empty()) return true;
  Bidi bidi;
  if (!Resolve(text, &bidi)) return false;
  out->rightToLeft = bidi.rightToLeft;
  const std::vector<hb_script_t> scripts = Scripts(text);

  // Runs of one level, script and face, in line order.
  std::vector<Run> runs;
  for (size_t start = 0; start < text.size();) {
    size_t end = start + 1;
    while (end < text.size() && bidi.levels[end] == bidi.levels[start] &&
           scripts[end] == scripts[start] && faceOf[end] == faceOf[start])
      ++end;
    FriBidiStrIndex visual = bidi.visualOf[start];
    for (size_t i = start; i < end; ++i) visual = std::min(visual, bidi.visualOf[i]);
    runs.push_back(Run{start, end, visual});
    start = end;
  }
  std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.visual < b.visual; });

  // A cluster's characters run from its first to the next cluster's first,
  // in reading order.
  std::vector<uint32_t> starts;
  std::unique_ptr<hb_buffer_t, BufferDeleter> buffer(hb_buffer_create());
  if (!hb_buffer_allocation_successful(buffer.get())) return false;
  struct Shaped {
    std::vector<hb_glyph_info_t> info;
    std::vector<hb_glyph_position_t> pos;
    int face;
    bool rightToLeft;
  };
  std::vector<Shaped> shaped;
  for (const Run& run : runs) {
    hb_font_t* font = faces.Font(faceOf[run.start]);
    if (!font) return false;
    hb_buffer_clear_contents(buffer.get());
    // The whole line is the run's context, so joining sees its neighbours.
    hb_buffer_add_utf32(buffer.get(), reinterpret_cast<const uint32_t*>(text.data()),
                        static_cast<int>(text.size()), static_cast<unsigned>(run.start),
                        static_cast<int>(run.end - run.start));
    const bool rightToLeft = (bidi.levels[run.start] & 1) != 0;
    hb_buffer_set_direction(buffer.get(), rightToLeft ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    hb_buffer_set_script(buffer.get(), scripts[run.start]);
    hb_shape(font, buffer.get(), nullptr, 0);
    if (!hb_buffer_allocation_successful(buffer.get())) return false;
    unsigned n = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer.get(), &n);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer.get(), nullptr);
    shaped.push_back(Shaped{std::vector<hb_glyph_info_t>(info, info + n),
                            std::vector<hb_glyph_position_t>(pos, pos + n), faceOf[run.start], rightToLeft});
    for (unsigned i = 0; i < n; ++i) starts.push_back(info[i].cluster);
  }
  std::sort(starts.begin(), starts.end());
  starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
  const auto endOf = [&](uint32_t first) {
    const auto next = std::upper_bound(starts.begin(), starts.end(), first);
    return next == starts.end() ? static_cast<uint32_t>(text.size()) : *next;
  };

  for (const Shaped& s : shaped) {
    long pen = 0, clusterPen = 0;
    for (size_t i = 0; i < s.info.size(); ++i) {
      const uint32_t cluster = s.info[i].cluster;
      if (i == 0 || cluster != s.info[i - 1].cluster) {
        if (i > 0) {
          LineCluster& done = out->clusters.back();
          done.pieces.push_back(LineCluster::Piece{done.count, static_cast<int>(done.glyphs.size())});
        }
        LineCluster c;
        c.first = static_cast<int>(cluster);
        c.count = static_cast<int>(endOf(cluster) - cluster);
        c.face = s.face;
        c.rightToLeft = s.rightToLeft;
        out->clusters.push_back(std::move(c));
        clusterPen = pen;
      }
      LineCluster& c = out->clusters.back();
      c.glyphs.push_back(LineGlyph{s.info[i].codepoint, pen - clusterPen + s.pos[i].x_offset, s.pos[i].y_offset});
      c.advance += s.pos[i].x_advance;
      pen += s.pos[i].x_advance;
    }
    if (!s.info.empty()) {
      LineCluster& last = out->clusters.back();
      last.pieces.push_back(LineCluster::Piece{last.count, static_cast<int>(last.glyphs.size())});
    }
  }
  return true;
}

}  // namespace shaping
