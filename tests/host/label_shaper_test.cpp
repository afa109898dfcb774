// The label shaper: what needs no shaping stays code page text; what does is
// shaped whole, and its clusters carry exactly HarfBuzz's own glyphs and
// positions for the same text in the same face.
#include <cmath>
#include <string>
#include <vector>

#include <hb-ot.h>
#include <hb.h>

#include <gtest/gtest.h>

#include <inkline/host/freetype_font_lib.h>
#include <inkline/host/label_text.h>
#include <inkline/label_codes.h>
#include <inkline/shared/code_page.h>

namespace {

struct PlacedGlyph {
  unsigned index;
  double x, y;  // ems from the start of the line
};

// HarfBuzz's shaping of one run of text in a face, in ems, as it stands on
// the line.
std::vector<PlacedGlyph> HarfBuzz(const std::string& file, int index, const std::string& text) {
  hb_blob_t* blob = hb_blob_create_from_file(file.c_str());
  hb_face_t* face = hb_face_create(blob, static_cast<unsigned>(index));
  hb_font_t* font = hb_font_create(face);
  const double upem = hb_face_get_upem(face);
  hb_buffer_t* buffer = hb_buffer_create();
  hb_buffer_add_utf8(buffer, text.data(), static_cast<int>(text.size()), 0, -1);
  hb_buffer_guess_segment_properties(buffer);
  hb_shape(font, buffer, nullptr, 0);
  unsigned n = 0;
  const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &n);
  const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, nullptr);
  std::vector<PlacedGlyph> out;
  double pen = 0;
  for (unsigned i = 0; i < n; ++i) {
    out.push_back(PlacedGlyph{info[i].codepoint, (pen + pos[i].x_offset) / upem, pos[i].y_offset / upem});
    pen += pos[i].x_advance;
  }
  hb_buffer_destroy(buffer);
  hb_font_destroy(font);
  hb_face_destroy(face);
  hb_blob_destroy(blob);
  return out;
}

// The glyphs a label's bytes stand for, laid one cluster after the other.
std::vector<PlacedGlyph> Laid(const LabelText& text, int* clusters) {
  std::vector<PlacedGlyph> out;
  double pen = 0;
  *clusters = 0;
  for (size_t i = 0; i < text.bytes.size(); i += 2) {
    const unsigned code = static_cast<unsigned char>(text.bytes[i]) << 8 |
                          static_cast<unsigned char>(text.bytes[i + 1]);
    const inkline::ShapedCluster* c = text.codes.ClusterOf(code);
    if (!c) return {};
    ++*clusters;
    for (const inkline::ClusterGlyph& g : c->glyphs) out.push_back(PlacedGlyph{g.index, pen + g.x, g.y});
    pen += c->advance;
  }
  return out;
}

LabelText Convert(FreeTypeFontLib& fonts, const std::string& text, LabelTextOptions options = {}) {
  LabelShaper shaper(fonts);
  return shaper.Convert(text, options);
}

TEST(LabelShaper, ClustersCarryHarfBuzzsGlyphsAndPositions) {
  const struct {
    const char* text;
    const char* family;
    int clusters;  // joined words are one cluster each
  } cases[] = {
      {"\xD8\xA7\xD9\x84\xD9\x82\xD8\xA7\xD9\x87\xD8\xB1\xD8\xA9", "Noto Sans Arabic", 1},  // al-Qahira
      {"\xD7\x99\xD7\xA8\xD7\x95\xD7\xA9\xD7\x9C\xD7\x99\xD7\x9D", "Noto Sans Hebrew", 7},  // Yerushalayim
      {"\xE0\xA4\xA6\xE0\xA4\xBF\xE0\xA4\xB2\xE0\xA5\x8D\xE0\xA4\xB2\xE0\xA5\x80", "Noto Sans Devanagari", 1},
      {"\xE0\xB8\x81\xE0\xB8\xA3\xE0\xB8\xB8\xE0\xB8\x87\xE0\xB9\x80\xE0\xB8\x97\xE0\xB8\x9E", "Noto Sans Thai", 6},
      {"\xE1\x9E\x97\xE1\x9F\x92\xE1\x9E\x93\xE1\x9F\x86\xE1\x9E\x96\xE1\x9F\x81\xE1\x9E\x89", "Noto Sans Khmer", 3},
      {"S\xCC\xA7" "anl\xC4\xB1urfa", "Noto Sans", 9},  // S with a combining cedilla
  };
  for (const auto& c : cases) {
    FreeTypeFontLibOptions options;
    options.table = FontTable::Parse(std::string("1 | Script | ") + c.family + "\n");
    FreeTypeFontLib fonts(options);
    const FreeTypeFont* font = fonts.VectorFont(1);
    ASSERT_FALSE(font->File().empty()) << c.family << " is not installed";
    LabelTextOptions o;
    o.fontNo = 1;
    const LabelText text = Convert(fonts, c.text, o);
    EXPECT_TRUE(text.shaped) << c.text;
    int clusters = 0;
    const std::vector<PlacedGlyph> ours = Laid(text, &clusters);
    const std::vector<PlacedGlyph> reference = HarfBuzz(font->File(), font->FaceIndex(), c.text);
    EXPECT_EQ(clusters, c.clusters) << c.text;
    ASSERT_EQ(ours.size(), reference.size()) << c.text;
    for (size_t i = 0; i < ours.size(); ++i) {
      EXPECT_EQ(ours[i].index, reference[i].index) << c.text << " glyph " << i;
      EXPECT_NEAR(ours[i].x, reference[i].x, 1e-6) << c.text << " glyph " << i;
      EXPECT_NEAR(ours[i].y, reference[i].y, 1e-6) << c.text << " glyph " << i;
    }
  }
}

// Labels whose characters stand alone keep the bytes they always had: the
// code page's own, and for a character it lacks a code standing for it.
TEST(LabelShaper, TextNeedingNoShapingStaysCodePageText) {
  FreeTypeFontLib fonts;
  // The code page's bytes through iconv, "??" where a code of the label is expected.
  const auto gbk = [](const std::string& utf8) {
    std::string bytes;
    return shared::Utf8ToCodePage(utf8, &bytes) ? bytes : std::string();
  };
  const struct {
    const char* text;
    std::string bytes;
  } cases[] = {
      {"London 12", "London 12"},
      {"\xE5\x8C\x97\xE4\xBA\xAC", gbk("\xE5\x8C\x97\xE4\xBA\xAC")},          // Beijing
      {"\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", gbk("\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0")},
      {"\xC5\x81" "od\xC5\xBA", "??od??"},                                        // two codes
  };
  for (const auto& c : cases) {
    ASSERT_FALSE(c.bytes.empty()) << c.text;
    const LabelText text = Convert(fonts, c.text);
    EXPECT_FALSE(text.shaped) << c.text;
    EXPECT_FALSE(text.codes.HasClusters()) << c.text;
    ASSERT_EQ(text.bytes.size(), c.bytes.size()) << c.text;
    for (size_t i = 0; i < text.bytes.size(); ++i)
      if (c.bytes[i] != '?') {
        EXPECT_EQ(text.bytes[i], c.bytes[i]) << c.text << " byte " << i;
      }
  }
  const LabelText lodz = Convert(fonts, "\xC5\x81" "od\xC5\xBA");
  const unsigned first = static_cast<unsigned char>(lodz.bytes[0]) << 8 | static_cast<unsigned char>(lodz.bytes[1]);
  EXPECT_EQ(lodz.codes.CharOf(first), U'\u0141');
}

// A right-to-left line stands reversed: its words from the last on the
// left, each one code read back in its own order.
TEST(LabelShaper, RightToLeftWordsStandFromTheLastAndReadInOrder) {
  FreeTypeFontLibOptions options;
  options.table = FontTable::Parse("1 | Arabic | Noto Sans Arabic\n");
  FreeTypeFontLib fonts(options);
  LabelTextOptions o;
  o.fontNo = 1;
  const std::string first = "\xD8\xA7\xD9\x84\xD9\x82\xD8\xA7\xD9\x87\xD8\xB1\xD8\xA9";  // al-Qahira
  const std::string second = "\xD8\xA7\xD9\x84\xD8\xAC\xD8\xAF\xD9\x8A\xD8\xAF\xD8\xA9";  // al-Jadida
  const LabelText text = Convert(fonts, first + " " + second, o);
  ASSERT_EQ(text.bytes.size(), 6u) << "a word, the space, a word";
  std::vector<const inkline::ShapedCluster*> clusters;
  for (size_t i = 0; i < 6; i += 2)
    clusters.push_back(text.codes.ClusterOf(static_cast<unsigned char>(text.bytes[i]) << 8 |
                                            static_cast<unsigned char>(text.bytes[i + 1])));
  ASSERT_TRUE(clusters[0] && clusters[1] && clusters[2]);
  EXPECT_EQ(clusters[0]->text, second);
  EXPECT_EQ(clusters[2]->text, first);
  EXPECT_TRUE(clusters[0]->rightToLeft && clusters[2]->rightToLeft && clusters[0]->runRightToLeft);
  EXPECT_GT(clusters[0]->logical, clusters[2]->logical);
  // Each letter of a word maps back to its glyphs, in reading order.
  int bytes = 0, glyphs = 0;
  for (const inkline::TextPiece& p : clusters[2]->pieces) bytes += p.bytes, glyphs += p.glyphs;
  EXPECT_EQ(bytes, static_cast<int>(first.size()));
  EXPECT_EQ(glyphs, static_cast<int>(clusters[2]->glyphs.size()));

  // In a column, clusters come one a code, in reading order.
  o.vertical = true;
  const LabelText column = Convert(fonts, first, o);
  ASSERT_GE(column.bytes.size(), 8u);
  const inkline::ShapedCluster* top = column.codes.ClusterOf(
      static_cast<unsigned char>(column.bytes[0]) << 8 | static_cast<unsigned char>(column.bytes[1]));
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->text, "\xD8\xA7");  // alef, the first letter
}

// The face file of a label's cluster, by its code at byte i.
std::string FaceAt(const LabelText& text, size_t i) {
  const inkline::ShapedCluster* c = text.codes.ClusterOf(static_cast<unsigned char>(text.bytes[i]) << 8 |
                                                         static_cast<unsigned char>(text.bytes[i + 1]));
  if (!c) return "";
  const inkline::FaceFile* face = inkline::FaceFileOf(c->face);
  return face ? face->file.substr(face->file.rfind('/') + 1) : "";
}

// A label naming no font draws its alphabets in the sans face and its
// Chinese in font 0's; Chinese alone is font 0's as it always was.
TEST(LabelShaper, LabelsWithoutAFontTakeChineseFromFontZero) {
  FreeTypeFontLib fonts;
  const short sans = fonts.GetFontNoByName(const_cast<char*>("Noto Sans"));
  ASSERT_GE(sans, 0);
  const std::string song = fonts.VectorFont(0)->File().substr(fonts.VectorFont(0)->File().rfind('/') + 1);
  LabelTextOptions o;
  o.fontNo = sans;
  o.fontGiven = false;
  const LabelText mixed = Convert(fonts, "Beijing \xE5\x8C\x97\xE4\xBA\xAC", o);
  EXPECT_EQ(mixed.fontNo, sans);
  ASSERT_EQ(mixed.bytes.size(), 20u) << "ten clusters";
  EXPECT_EQ(FaceAt(mixed, 0), "NotoSans-Regular.ttf");
  EXPECT_EQ(FaceAt(mixed, 16), song);
  EXPECT_EQ(FaceAt(mixed, 18), song);

  const LabelText chinese = Convert(fonts, "\xE5\x8C\x97\xE4\xBA\xAC 2", o);
  EXPECT_EQ(chinese.fontNo, 0);
  EXPECT_EQ(chinese.bytes, "\xB1\xB1\xBE\xA9 2");

  const LabelText latin = Convert(fonts, "Paris", o);
  EXPECT_EQ(latin.fontNo, sans);
  EXPECT_EQ(latin.bytes, "Paris");
}

TEST(LabelShaper, MarkupKeepsTagsReferencesAndSpaces) {
  FreeTypeFontLib fonts;
  LabelTextOptions o;
  o.markup = true;
  const std::string hello = "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7";  // marhaba
  const LabelText text = Convert(
      fonts, "<body size=10><font face=\"\xE5\xAE\x8B\xE4\xBD\x93\">" + hello + " " + hello +
                 " &amp; x</font></body>",
      o);
  EXPECT_TRUE(text.shaped);
  EXPECT_EQ(text.bytes.rfind("<body size=10><font face=\"\xCB\xCE\xCC\xE5\">", 0), 0u) << text.bytes;
  const std::string open = "<body size=10><font face=\"\xCB\xCE\xCC\xE5\">", close = "&amp; x</font></body>";
  ASSERT_EQ(text.bytes.rfind(open, 0), 0u);
  ASSERT_EQ(text.bytes.compare(text.bytes.size() - close.size(), close.size(), close), 0) << text.bytes;
  // Between them: the spaces as spaces, where rich text breaks its lines,
  // and each word a code, followed by codes of nothing for the room it takes.
  int spaces = 0, words = 0, room = 0;
  for (size_t i = open.size(); i < text.bytes.size() - close.size();) {
    if (text.bytes[i] == ' ') {
      ++spaces, ++i;
      continue;
    }
    const inkline::ShapedCluster* c = text.codes.ClusterOf(static_cast<unsigned char>(text.bytes[i]) << 8 |
                                                           static_cast<unsigned char>(text.bytes[i + 1]));
    ASSERT_NE(c, nullptr);
    if (c->glyphs.empty()) {
      ++room;
    } else {
      ++words;
      EXPECT_EQ(c->text, hello);
    }
    i += 2;
  }
  EXPECT_EQ(spaces, 2);
  EXPECT_EQ(words, 2);
  EXPECT_GE(room, 2) << "a word is wider than one character";
}

}  // namespace
