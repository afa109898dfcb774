// A label's own user-defined codes: handed out per label, read back through
// the code page's decoding while installed, and a shaped cluster drawn by
// the portable GDI glyph by glyph where the shaper put it.
#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <gtest/gtest.h>

#include <inkline/label_codes.h>
#include <inkline/shared/code_page.h>
#include <inkline/user_chars.h>
#include <inkline/win32.h>
#include <inkline/win32_fonts.h>
#include <inkline/win32_sink.h>

namespace {

using inkline::LabelCodes;
using inkline::ShapedCluster;

std::string Bytes(unsigned code) {
  return std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

ShapedCluster Cluster(const std::string& text, unsigned glyph, int face = 1) {
  ShapedCluster c;
  c.face = face;
  c.advance = 0.5;
  c.glyphs.push_back(inkline::ClusterGlyph{glyph, 0.0, 0.0});
  c.text = text;
  return c;
}

TEST(LabelCodes, EachLabelHandsOutEveryCodeOfTheUserAreasOnce) {
  LabelCodes codes;
  std::set<unsigned> seen;
  unsigned thousandth = 0;
  for (int i = 0; i < LabelCodes::Capacity(); ++i) {
    const unsigned code = codes.CodeForChar(0x10000 + static_cast<char32_t>(i));
    ASSERT_NE(code, 0u) << i;
    if (i == 1000) thousandth = code;
    EXPECT_TRUE(inkline::IsUserDefinedCode(code)) << std::hex << code;
    EXPECT_NE(code & 0xFF, 0x7Fu);
    seen.insert(code);
  }
  EXPECT_EQ(seen.size(), 1894u);
  EXPECT_EQ(codes.CodeForChar(0x20000), 0u) << "past the last code";
  EXPECT_EQ(codes.CodeForCluster(Cluster("x", 5)), 0u);
  // A character asked again keeps its code, even past the walked few.
  EXPECT_EQ(codes.CodeForChar(0x10000 + 1000), thousandth);
  LabelCodes other;  // another label starts afresh
  EXPECT_EQ(other.CodeForChar(0x20000), codes.CodeForChar(0x10000));
}

TEST(LabelCodes, EqualCharactersAndClustersShareACode) {
  for (const int before : {0, 40}) {  // found by a walk, and through the indexes
    LabelCodes codes;
    for (int i = 0; i < before; ++i) codes.CodeForChar(0x4E00 + static_cast<char32_t>(i) + 0x10000);
    const unsigned a = codes.CodeForChar(U'\u00F8');
    const unsigned cluster = codes.CodeForCluster(Cluster("\xD8\xB9", 7));
    EXPECT_EQ(codes.CodeForChar(U'\u00F8'), a) << before;
    EXPECT_EQ(codes.CodeForCluster(Cluster("\xD8\xB9", 7)), cluster) << before;
    EXPECT_NE(codes.CodeForCluster(Cluster("\xD8\xB9", 8)), cluster) << "another glyph";
    EXPECT_NE(codes.CodeForCluster(Cluster("\xD8\xB9", 7, 2)), cluster) << "another face";
    EXPECT_EQ(codes.CharOf(a), U'\u00F8');
    EXPECT_EQ(codes.ClusterOf(a), nullptr);
    ASSERT_NE(codes.ClusterOf(cluster), nullptr);
    EXPECT_EQ(codes.ClusterOf(cluster)->glyphs[0].index, 7u);
    EXPECT_EQ(codes.CharOf(cluster), 0u);
    EXPECT_EQ(codes.CodeForChar(U'A'), 0u) << "ASCII is itself";
  }
}

TEST(LabelCodes, InstalledCodesAreWhatTheCodePageDecodesToAndNest) {
  LabelCodes outer, inner;
  const unsigned code = outer.CodeForChar(U'\uAC00');
  ASSERT_EQ(inner.CodeForChar(U'\u0E01'), code) << "both labels start at the first code";
  const unsigned cluster = inner.CodeForCluster(Cluster("\xE0\xB8\x81\xE0\xB8\xB3", 3));
  const std::string both = Bytes(code) + Bytes(cluster);
  {
    const inkline::ScopedLabelCodes useOuter(&outer);
    EXPECT_EQ(inkline::CurrentLabelCodes(), &outer);
    EXPECT_EQ(shared::CodePageChar(code), U'\uAC00');
    {
      const inkline::ScopedLabelCodes useInner(&inner);
      const std::u32string decoded = shared::DecodeCodePage(both.data(), 4);
      ASSERT_EQ(decoded.size(), 2u);
      EXPECT_EQ(decoded[0], U'\u0E01');
      EXPECT_TRUE(inkline::IsClusterChar(decoded[1]));
      ASSERT_NE(inkline::ClusterOfChar(decoded[1]), nullptr);
      EXPECT_EQ(inkline::ClusterOfChar(decoded[1])->glyphs[0].index, 3u);
    }
    EXPECT_EQ(inkline::CurrentLabelCodes(), &outer);
    EXPECT_EQ(shared::CodePageChar(code), U'\uAC00') << "the outer label's codes are back";
    EXPECT_EQ(inkline::ClusterOfChar(inkline::kClusterCharBase + cluster), nullptr);
  }
  EXPECT_EQ(inkline::CurrentLabelCodes(), nullptr);
  EXPECT_FALSE(inkline::IsClusterChar(shared::CodePageChar(cluster)));
}

TEST(LabelCodes, FaceNumbersAreStableAndNamed) {
  const int a = inkline::FaceIdOf("/some/font.ttc", 2);
  EXPECT_EQ(inkline::FaceIdOf("/some/font.ttc", 2), a);
  EXPECT_NE(inkline::FaceIdOf("/some/font.ttc", 1), a);
  ASSERT_NE(inkline::FaceFileOf(a), nullptr);
  EXPECT_EQ(inkline::FaceFileOf(a)->file, "/some/font.ttc");
  EXPECT_EQ(inkline::FaceFileOf(a)->index, 2);
  EXPECT_EQ(inkline::FaceFileOf(0), nullptr);
  EXPECT_EQ(inkline::FaceFileOf(1 << 30), nullptr);
}

// Where a sink is told each glyph lands.
struct GlyphSink : GdiSink {
  void Text(const GdiTextOutput& t) override {
    glyphs.assign(t.glyphList, t.glyphList + t.glyphCount);
    advance = t.advance;
    em = t.emHeight;
  }
  void Stroke(const GdiStroke&) override {}
  std::vector<GdiGlyph> glyphs;
  double advance = 0, em = 0;
};

// The glyphs TextOutA hands the sink for bytes in DejaVu Sans at em 40.
GlyphSink Written(const std::string& bytes) {
  LOGFONTA lf{};
  lf.lfHeight = -40;
  std::strcpy(lf.lfFaceName, "DejaVu Sans");
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = CreateFontIndirectA(&lf);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(font));
  GlyphSink sink;
  InklineSetDCSink(dc, &sink);
  TextOutA(dc, 100, 50, bytes.data(), static_cast<int>(bytes.size()));
  InklineSetDCSink(dc, nullptr);
  SelectObject(dc, old);
  DeleteObject(reinterpret_cast<HGDIOBJ>(font));
  DeleteDC(dc);
  return sink;
}

TEST(LabelCodesInGdi, AClusterIsItsGlyphsWhereTheShaperPutThem) {
  LOGFONTA lf{};
  lf.lfHeight = -40;
  std::strcpy(lf.lfFaceName, "DejaVu Sans");
  char path[512];
  ASSERT_GT(InklineFontFileFor(&lf, path, sizeof path), 0);
  FT_Library lib;
  FT_Face face;
  ASSERT_EQ(FT_Init_FreeType(&lib), 0);
  ASSERT_EQ(FT_New_Face(lib, path, 0, &face), 0);
  const unsigned v = FT_Get_Char_Index(face, 'V'), dot = FT_Get_Char_Index(face, '.');
  FT_Done_Face(face);
  FT_Done_FreeType(lib);

  // "V" with a dot raised a tenth of an em, a third of an em along.
  ShapedCluster cluster;
  cluster.face = inkline::FaceIdOf(path, 0);
  cluster.advance = 0.75;
  cluster.glyphs = {{v, 0.0, 0.0}, {dot, 1.0 / 3.0, 0.1}};
  cluster.text = "V.";
  LabelCodes codes;
  const unsigned code = codes.CodeForCluster(cluster);
  const GlyphSink alone = Written("V.");
  GlyphSink shaped;
  {
    const inkline::ScopedLabelCodes use(&codes);
    shaped = Written(Bytes(code));
  }
  ASSERT_EQ(alone.glyphs.size(), 2u);
  ASSERT_EQ(shaped.glyphs.size(), 2u);
  // The same glyphs of the same face and size as the characters written.
  EXPECT_EQ(shaped.glyphs[0].shape, alone.glyphs[0].shape);
  EXPECT_EQ(shaped.glyphs[1].shape, alone.glyphs[1].shape);
  EXPECT_EQ(shaped.glyphs[0].origin.x, alone.glyphs[0].origin.x);
  EXPECT_EQ(shaped.glyphs[0].origin.y, alone.glyphs[0].origin.y);
  // The dot a third of the em along and a tenth up (y grows downwards).
  EXPECT_NEAR(shaped.glyphs[1].origin.x - shaped.glyphs[0].origin.x, 40.0 / 3.0, 1e-9);
  EXPECT_NEAR(shaped.glyphs[1].origin.y - shaped.glyphs[0].origin.y, -4.0, 1e-9);
  EXPECT_NEAR(shaped.advance, 30.0, 1e-9);
  // Outside the label the code is nothing of the kind.
  EXPECT_NE(Written(Bytes(code)).glyphs[0].shape, alone.glyphs[0].shape);
}

}  // namespace
