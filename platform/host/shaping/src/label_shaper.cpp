#include <inkline/host/label_text.h>

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include <inkline/host/freetype_font_lib.h>
#include <inkline/shared/code_page.h>

#include "char_kinds.h"
#include "markup_pieces.h"
#include "shaped_line.h"
#include "shaping_faces.h"

struct LabelShaper::Impl {
  explicit Impl(FreeTypeFontLib& f) : fonts(f) {}

  // The face a font number draws from; 0 when it has none.
  int FaceOfFont(short fontNo) {
    const auto known = fontFaces.find(fontNo);
    if (known != fontFaces.end()) return known->second;
    const FreeTypeFont* font = fonts.VectorFont(fontNo);
    const int face = font && !font->File().empty() ? inkline::FaceIdOf(font->File(), font->FaceIndex()) : 0;
    fontFaces.emplace(fontNo, face);
    return face;
  }

  // The em of rich text's default font, font 0, in character heights.
  double EmPerCharHeight() {
    if (emPerCharHeight < 0) {
      const FreeTypeFont* font = fonts.VectorFont(0);
      emPerCharHeight = font ? font->EmPerCharHeight() : 1.0;
    }
    return emPerCharHeight;
  }

  FreeTypeFontLib& fonts;
  shaping::ShapingFaces faces;
  std::unordered_map<short, int> fontFaces;
  double emPerCharHeight = -1;
};

namespace {

using shaping::LineCluster;

void AppendCode(unsigned code, std::string* out) {
  if (code > 0xFF) out->push_back(static_cast<char>(code >> 8));
  out->push_back(static_cast<char>(code & 0xFF));
}

bool IsSpace(char32_t c) { return c == U' ' || c == 0x3000 || c == 0xA0 || (c >= 0x2000 && c <= 0x200A); }

// Writes stretches of a label's text into its bytes and codes.
class LineWriter {
 public:
  LineWriter(LabelShaper::Impl& impl, LabelText& out, const LabelTextOptions& options, int base, int cjk)
      : impl_(impl), out_(out), options_(options), base_(base), cjk_(cjk) {}

  void Write(const std::u32string& chars) {
    if (std::all_of(chars.begin(), chars.end(), [&](char32_t c) { return StandsAsCharacter(c); })) {
      WriteCharacters(chars);
      return;
    }
    out_.shaped = true;
    if (!WriteShaped(chars)) WriteCharacters(chars);
    ++run_;
  }

  // Character by character: the code page's own, or a code of the label.
  void WriteCharacters(const std::u32string& chars) {
    for (const char32_t c : chars) {
      if (c < 0x80) {
        out_.bytes.push_back(static_cast<char>(c));
        continue;
      }
      unsigned code = shared::CodePageCodeOf(c);
      if (code == 0) code = out_.codes.CodeForChar(c);
      if (code == 0) {
        ++out_.replaced[c];
        code = '?';
      }
      AppendCode(code, &out_.bytes);
    }
  }

 private:
  // A character the library draws right on its own, in the label's font or
  // in the fallback its renderers share for code page characters.
  bool StandsAsCharacter(char32_t c) {
    if (c < 0x80) return true;
    if (!shaping::StandsAlone(c)) return false;
    if (cjk_ && shaping::IsCjk(c)) return false;  // drawn in font 0's face
    return shared::CodePageCodeOf(c) != 0 || impl_.faces.Has(base_, c);
  }

  // The face each character is shaped in: a mark stays with its letter
  // where that face has it, or takes its letter to a face that has both.
  std::vector<int> FacesOf(const std::u32string& chars) {
    shaping::ShapingFaces& faces = impl_.faces;
    std::vector<int> faceOf(chars.size(), base_);
    for (size_t i = 0; i < chars.size(); ++i) {
      const char32_t c = chars[i];
      if (i > 0 && shaping::ClingsToPrevious(c)) {
        if (faces.Has(faceOf[i - 1], c) || c == 0x200C || c == 0x200D) {
          faceOf[i] = faceOf[i - 1];
          continue;
        }
        const int both = faces.FallbackFor(c);
        if (both && faces.Has(both, chars[i - 1])) {
          faceOf[i - 1] = faceOf[i] = both;
          continue;
        }
      }
      if (cjk_ && shaping::IsCjk(c)) {
        faceOf[i] = cjk_;
      } else if (!faces.Has(base_, c)) {
        const int fallback = faces.FallbackFor(c);
        if (fallback) faceOf[i] = fallback;
      }
    }
    return faceOf;
  }

  // Joins the clusters of a word of a connected script into one, so the
  // library places it as one piece.
  std::vector<LineCluster> Joined(const std::u32string& chars, std::vector<LineCluster> clusters) {
    if (options_.perCluster || options_.vertical) return clusters;
    const auto joins = [&](const LineCluster& c) {
      for (int k = 0; k < c.count; ++k)
        if (IsSpace(chars[static_cast<size_t>(c.first + k)])) return false;
      return shaping::Connects(shaping::ScriptOf(chars[static_cast<size_t>(c.first)]));
    };
    std::vector<LineCluster> out;
    for (LineCluster& c : clusters) {
      if (!out.empty() && out.back().face == c.face && out.back().rightToLeft == c.rightToLeft &&
          joins(out.back()) && joins(c)) {
        LineCluster& left = out.back();
        for (const shaping::LineGlyph& g : c.glyphs)
          left.glyphs.push_back(shaping::LineGlyph{g.index, g.x + left.advance, g.y});
        left.advance += c.advance;
        // Reading right to left, the cluster on the right comes first.
        if (c.rightToLeft)
          left.pieces.insert(left.pieces.begin(), c.pieces.begin(), c.pieces.end());
        else
          left.pieces.insert(left.pieces.end(), c.pieces.begin(), c.pieces.end());
        left.first = std::min(left.first, c.first);
        left.count += c.count;
        continue;
      }
      out.push_back(std::move(c));
    }
    return out;
  }

  bool WriteShaped(const std::u32string& chars) {
    shaping::ShapedLine line;
    if (!shaping::ShapeLine(chars, FacesOf(chars), impl_.faces, &line)) return false;
    std::vector<LineCluster> clusters = Joined(chars, std::move(line.clusters));
    if (options_.vertical)
      std::stable_sort(clusters.begin(), clusters.end(),
                       [](const LineCluster& a, const LineCluster& b) { return a.first < b.first; });
    for (const LineCluster& c : clusters) {
      const auto begin = chars.begin() + c.first, end = begin + c.count;
      // Rich text breaks its lines at spaces: they stay spaces there.
      if (options_.markup && std::all_of(begin, end, [](char32_t ch) { return ch == U' '; })) {
        out_.bytes.append(static_cast<size_t>(c.count), ' ');
        continue;
      }
      const inkline::ShapedCluster cluster = ClusterOf(c, chars, line.rightToLeft);
      const unsigned code = out_.codes.CodeForCluster(cluster);
      if (code == 0) {
        for (auto ch = begin; ch != end; ++ch) ++out_.replaced[*ch];
        out_.bytes.push_back('?');
        continue;
      }
      AppendCode(code, &out_.bytes);
      if (options_.markup) Pad(cluster);
    }
    if (options_.explain) Explain(chars, clusters, line.rightToLeft);
    return true;
  }

  // Rich text places its runs one after the other by their length in bytes,
  // each byte half a character's height wide: a cluster wider than the
  // character its code takes is followed by codes standing for nothing, so
  // the run takes its room.
  void Pad(const inkline::ShapedCluster& cluster) {
    const double heights = cluster.advance * impl_.EmPerCharHeight();
    const int codes = static_cast<int>(std::ceil(heights - 1e-9));
    for (int k = 1; k < codes; ++k) {
      const unsigned empty = out_.codes.CodeForCluster(inkline::ShapedCluster{});
      if (empty == 0) return;
      AppendCode(empty, &out_.bytes);
    }
  }

  inkline::ShapedCluster ClusterOf(const LineCluster& c, const std::u32string& chars,
                                   bool lineRightToLeft) {
    inkline::ShapedCluster out;
    out.face = c.face;
    const double unit = impl_.faces.UnitsPerEm(c.face);
    out.advance = c.advance / unit;
    out.glyphs.reserve(c.glyphs.size());
    for (const shaping::LineGlyph& g : c.glyphs)
      out.glyphs.push_back(inkline::ClusterGlyph{g.index, g.x / unit, g.y / unit});
    int at = c.first;
    for (const LineCluster::Piece& piece : c.pieces) {
      const size_t before = out.text.size();
      for (int k = 0; k < piece.chars; ++k) shared::AppendUtf8(chars[static_cast<size_t>(at + k)], &out.text);
      at += piece.chars;
      if (c.pieces.size() > 1)
        out.pieces.push_back(inkline::TextPiece{static_cast<int>(out.text.size() - before), piece.glyphs});
    }
    out.rightToLeft = c.rightToLeft;
    out.run = run_;
    out.logical = c.first;
    out.runRightToLeft = lineRightToLeft;
    return out;
  }

  void Explain(const std::u32string& chars, const std::vector<LineCluster>& clusters, bool rightToLeft) {
    // A long text is cut: the note names the label, it does not repeat it.
    constexpr size_t kShown = 40;
    std::string text, faces;
    for (size_t i = 0; i < chars.size() && i < kShown; ++i) shared::AppendUtf8(chars[i], &text);
    if (chars.size() > kShown) text += "...";
    std::vector<int> seen;
    for (const LineCluster& c : clusters) {
      if (std::find(seen.begin(), seen.end(), c.face) != seen.end()) continue;
      seen.push_back(c.face);
      faces += (faces.empty() ? "" : ", ") + impl_.faces.FamilyOf(c.face);
    }
    out_.notes.push_back("shaped \"" + text + "\": " + (rightToLeft ? "right to left" : "left to right") +
                         ", " + std::to_string(clusters.size()) + (clusters.size() == 1 ? " cluster in " : " clusters in ") +
                         faces);
  }

  LabelShaper::Impl& impl_;
  LabelText& out_;
  const LabelTextOptions& options_;
  int base_, cjk_;
  int run_ = 0;
};

// The characters of UTF-8 text; a byte that is not UTF-8 becomes '?'.
std::u32string Decode(const std::string& utf8, size_t start, size_t end, int* invalid) {
  std::u32string chars;
  chars.reserve(end - start);
  const std::string piece = utf8.substr(start, end - start);
  for (size_t i = 0; i < piece.size();) {
    char32_t c = 0;
    if (shared::NextUtf8(piece, &i, &c)) {
      chars.push_back(c);
    } else {
      chars.push_back(U'?');
      ++*invalid;
    }
  }
  return chars;
}

// A label of Chinese, Japanese or Korean and no other letters.
bool OnlyCjkLetters(const std::u32string& chars) {
  bool cjk = false;
  for (const char32_t c : chars) {
    if (shaping::IsCjk(c)) cjk = true;
    else if (shaping::IsLetter(c)) return false;
  }
  return cjk;
}

}  // namespace

LabelShaper::LabelShaper(FreeTypeFontLib& fonts) : impl_(std::make_unique<Impl>(fonts)) {}

LabelShaper::~LabelShaper() = default;

LabelText LabelShaper::Convert(const std::string& utf8, const LabelTextOptions& options) {
  LabelText out;
  out.bytes.reserve(utf8.size());
  out.fontNo = options.fontNo;
  const std::u32string all = Decode(utf8, 0, utf8.size(), &out.invalid);
  int cjkFace = 0;
  if (!options.fontGiven) {
    if (OnlyCjkLetters(all)) out.fontNo = 0;
    else cjkFace = impl_->FaceOfFont(0);
  }
  const int base = impl_->FaceOfFont(out.fontNo);
  if (cjkFace == base) cjkFace = 0;
  LineWriter writer(*impl_, out, options, base, cjkFace);
  if (!options.markup) {
    writer.Write(all);
    return out;
  }
  int ignored = 0;
  for (const shaping::MarkupPiece& piece : shaping::MarkupPieces(utf8)) {
    const std::u32string chars = Decode(utf8, piece.start, piece.start + piece.length, &ignored);
    if (piece.text)
      writer.Write(chars);
    else
      writer.WriteCharacters(chars);
  }
  return out;
}
