#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

#include <inkline/host/char_library.h>
#include <inkline/host/freetype_font_lib.h>
#include <inkline/host/hostlib.h>
#include <inkline/host/stroke_font_set.h>
#include <inkline/label_codes.h>

// fontconfig keeps what FcInit allocates for the life of the process, and
// this version loses track of part of it; the leak checker is told so. Weak,
// so that any other list of suppressions in the test program takes its place.
extern "C" __attribute__((weak, visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

// GBK spellings of the Chinese face names and characters used below.
const char kSongTi[] = "\xCB\xCE\xCC\xE5";  // 宋体
const char kSong[] = "\xCB\xCE";             // 宋
const char kZhong[] = "\xD6\xD0";            // 中

struct Outline {
  std::vector<double> points;  // x, y pairs
  std::vector<int> sizes;
  short found = 0;
};

Outline OutlineOf(MapFont* font, const char* ch, double height) {
  double* points = nullptr;
  int* sizes = nullptr;
  short parts = -1;
  Outline o;
  o.found = font->GetCharOutline(const_cast<char*>(ch), &points, &sizes, &parts, height);
  EXPECT_GE(parts, 0);
  o.sizes.assign(sizes, sizes + parts);
  int total = 0;
  for (int s : o.sizes) total += s;
  o.points.assign(points, points + 2 * total);
  return o;
}

std::string Basename(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// FreeType's own reading of a face, independent of the library.
struct RawFace {
  explicit RawFace(const FreeTypeFont& font) {
    FT_Init_FreeType(&library);
    FT_New_Face(library, font.File().c_str(), font.FaceIndex(), &face);
  }
  ~RawFace() {
    if (face) FT_Done_Face(face);
    FT_Done_FreeType(library);
  }
  double Advance(char32_t c) const {
    FT_Fixed advance = 0;
    FT_Get_Advance(face, FT_Get_Char_Index(face, c), FT_LOAD_NO_SCALE, &advance);
    return static_cast<double>(advance);
  }
  double CellHeight() const {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    return os2->usWinAscent + os2->usWinDescent;
  }
  double Descent() const {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    return os2->usWinDescent;
  }
  FT_Library library = nullptr;
  FT_Face face = nullptr;
};

TEST(FontTable, DefaultsParseAndNameTheHostFaces) {
  const FontTable table = FontTable::Defaults();
  EXPECT_TRUE(table.problems.empty());
  ASSERT_NE(table.ByNumber(0), nullptr);
  EXPECT_EQ(table.ByNumber(0)->faceName, kSongTi);
  const struct {
    const char* face;
    short number;
  } names[] = {{kSongTi, 0}, {"\xBA\xDA\xCC\xE5", 1}, {"\xBF\xAC\xCC\xE5", 2},
               {"\xB7\xC2\xCB\xCE", 3}, {"Arial", 4}, {"times new roman", 5},
               {"COURIER NEW", 6}, {"DejaVu Sans", 7}, {"noto sans", 8}};
  for (const auto& n : names) {
    ASSERT_NE(table.ByName(n.face), nullptr) << n.face;
    EXPECT_EQ(table.ByName(n.face)->number, n.number) << n.face;
  }
}

TEST(FontTable, BadLinesAreReportedAndSkipped) {
  const std::string text =
      "# a comment\n"
      "\n"
      "  4 | Arial | Liberation Sans\n"
      "5 | Arial Narrow\n"                          // 4: two fields
      "x | Foo | DejaVu Sans\n"                     // 5: bad number
      "40000 | Foo | DejaVu Sans\n"                 // 6: out of range
      "4 | Other | DejaVu Sans\n"                   // 7: number again
      "6 | ARIAL | DejaVu Sans\n"                   // 8: name again, other case
      "7 |  | DejaVu Sans\n"                        // 9: empty name
      "8 | Foo |\n"                                 // 10: no source
      "9 | \xF0\x9F\x98\x80 | DejaVu Sans\n"        // 11: not in GBK
      "10 | " + std::string(64, 'n') + " | DejaVu Sans\n"  // 12: too long
      "-3 | \xE9\xBB\x91\xE4\xBD\x93 | fonts/x.ttf#2\n"    // 黑体, fine
      "11 | a | b | c\n";                          // 14: four fields
  const FontTable table = FontTable::Parse(text, "/base");
  ASSERT_EQ(table.entries.size(), 2u);
  EXPECT_EQ(table.entries[0].number, 4);
  EXPECT_EQ(table.entries[0].source, "Liberation Sans");
  EXPECT_EQ(table.entries[1].number, -3);
  EXPECT_EQ(table.entries[1].faceName, "\xBA\xDA\xCC\xE5");
  EXPECT_EQ(table.entries[1].source, "fonts/x.ttf#2");
  std::vector<int> lines;
  for (const FontTableProblem& p : table.problems) lines.push_back(p.line);
  EXPECT_EQ(lines, (std::vector<int>{4, 5, 6, 7, 8, 9, 10, 11, 12, 14}));
  EXPECT_NE(table.problems[3].message.find("twice"), std::string::npos);
}

TEST(FontTable, LoadReadsRelativeFilesBesideTheTable) {
  const std::string dir = ::testing::TempDir() + "inkline_table_" + std::to_string(getpid());
  ASSERT_EQ(system(("mkdir -p '" + dir + "'").c_str()), 0);
  const std::string path = dir + "/fonts.txt";
  std::ofstream(path) << "0 | Mine | DejaVuSans.ttf\n";
  FontTable table;
  std::string error;
  ASSERT_TRUE(FontTable::Load(path, &table, &error)) << error;
  EXPECT_EQ(table.baseDir, dir);
  EXPECT_FALSE(FontTable::Load(dir + "/missing.txt", &table, &error));
  EXPECT_NE(error.find("missing.txt"), std::string::npos);
  std::remove(path.c_str());
  rmdir(dir.c_str());
}

class FreeTypeFonts : public ::testing::Test {
 protected:
  FreeTypeFontLib lib;
};

TEST_F(FreeTypeFonts, DefaultFontsResolveToTheInstalledFiles) {
  const struct {
    short number;
    const char* file;
  } cases[] = {{0, "uming.ttc"},
               {4, "LiberationSans-Regular.ttf"},
               {5, "LiberationSerif-Regular.ttf"},
               {6, "LiberationMono-Regular.ttf"},
               {7, "DejaVuSans.ttf"}};
  for (const auto& c : cases) EXPECT_EQ(Basename(lib.VectorFont(c.number)->File()), c.file);
  // The other Chinese faces find some font with Chinese characters.
  for (short n : {1, 2, 3}) EXPECT_EQ(OutlineOf(lib.VectorFont(n), kZhong, 40).found, 1) << n;
  EXPECT_TRUE(lib.Notes().empty()) << lib.Notes().front();
}

TEST_F(FreeTypeFonts, LatinLetterIsClosedInsideTheBoxWithFreeTypesAdvance) {
  FreeTypeFont* font = lib.VectorFont(7);
  RawFace raw(*font);
  ASSERT_NE(raw.face, nullptr);
  const double scale = 40.0 / raw.CellHeight();
  EXPECT_NEAR(font->CharLength(const_cast<char*>("A")), raw.Advance(U'A') * scale, 1e-9);
  EXPECT_EQ(font->GetYOffset(), 0);  // the cell bottom is the reference point
  const double descent = 40.0 * raw.Descent() / raw.CellHeight();  // 483 of a 2384 cell

  const Outline a = OutlineOf(font, "A", 24);
  ASSERT_EQ(a.found, 1);
  ASSERT_EQ(a.sizes.size(), 2u);  // the outer contour and the counter
  double low = 1e9;
  size_t at = 0;
  for (int size : a.sizes) {
    ASSERT_GE(size, 4);
    const size_t first = at, last = at + 2 * (size - 1);
    EXPECT_EQ(a.points[first], a.points[last]);
    EXPECT_EQ(a.points[first + 1], a.points[last + 1]);
    at += 2 * size;
  }
  for (size_t i = 0; i < a.points.size(); i += 2) {
    EXPECT_GE(a.points[i], 0.0);
    EXPECT_LE(a.points[i], font->CharLength(const_cast<char*>("A")));
    EXPECT_GE(a.points[i + 1], 0.0);
    EXPECT_LE(a.points[i + 1], 40.0);
    low = std::min(low, a.points[i + 1]);
  }
  // The letter stands on the baseline, one descent above the cell bottom.
  EXPECT_NEAR(low, descent, 1e-9);
}

// A label's code of a shaped cluster is its glyphs' outlines, each moved to
// where the shaper put it at this font's em; the label's code of a
// character is that character.
TEST_F(FreeTypeFonts, ALabelsClusterIsItsGlyphsWhereTheShaperPutThem) {
  FreeTypeFont* font = lib.VectorFont(7);
  RawFace raw(*font);
  ASSERT_NE(raw.face, nullptr);
  const double em = 40.0 * raw.face->units_per_EM / raw.CellHeight();  // design units
  inkline::ShapedCluster cluster;
  cluster.face = inkline::FaceIdOf(font->File(), font->FaceIndex());
  cluster.advance = 0.75;
  cluster.glyphs = {{FT_Get_Char_Index(raw.face, 'V'), 0.0, 0.0},
                    {FT_Get_Char_Index(raw.face, '.'), 1.0 / 3.0, 0.1}};
  inkline::ShapedCluster ethGlyph;  // the letter eth, which GBK lacks, as its own glyph
  ethGlyph.face = cluster.face;
  ethGlyph.glyphs = {{FT_Get_Char_Index(raw.face, U'\u00F0'), 0.0, 0.0}};
  inkline::LabelCodes codes;
  const unsigned code = codes.CodeForCluster(cluster);
  const unsigned eth = codes.CodeForChar(U'\u00F0');
  const unsigned ethCluster = codes.CodeForCluster(ethGlyph);
  const std::string ethClusterBytes{static_cast<char>(ethCluster >> 8), static_cast<char>(ethCluster & 0xFF)};
  const std::string clusterBytes{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  const std::string ethBytes{static_cast<char>(eth >> 8), static_cast<char>(eth & 0xFF)};
  const Outline v = OutlineOf(font, "V", 24), dot = OutlineOf(font, ".", 24);
  Outline shaped, character, glyph;
  double advance = 0;
  {
    const inkline::ScopedLabelCodes use(&codes);
    shaped = OutlineOf(font, clusterBytes.c_str(), 24);
    advance = font->CharLength(const_cast<char*>(clusterBytes.c_str()));
    character = OutlineOf(font, ethBytes.c_str(), 24);
    glyph = OutlineOf(font, ethClusterBytes.c_str(), 24);
  }
  EXPECT_NEAR(advance, 0.75 * em, 1e-9);
  ASSERT_EQ(shaped.sizes.size(), v.sizes.size() + dot.sizes.size());
  ASSERT_EQ(shaped.points.size(), v.points.size() + dot.points.size());
  for (size_t i = 0; i < v.points.size(); ++i) EXPECT_EQ(shaped.points[i], v.points[i]);
  for (size_t i = 0; i < dot.points.size(); i += 2) {
    EXPECT_NEAR(shaped.points[v.points.size() + i], dot.points[i] + em / 3.0, 1e-9);
    EXPECT_NEAR(shaped.points[v.points.size() + i + 1], dot.points[i + 1] + 0.1 * em, 1e-9);
  }
  EXPECT_EQ(character.found, 1);
  EXPECT_GT(character.points.size(), 8u);
  EXPECT_EQ(character.points, glyph.points) << "the label's code draws the character itself";
}

TEST_F(FreeTypeFonts, TwoByteCharacterFromTheChineseFont) {
  MapFont* font = nullptr;
  ASSERT_EQ(lib.GetFontByName(const_cast<char*>(kSongTi), &font), 1);
  ASSERT_NE(font, nullptr);
  const Outline song = OutlineOf(font, kSong, 40);
  EXPECT_EQ(song.found, 1);
  EXPECT_GE(song.sizes.size(), 2u);  // the roof, and the tree below it
  // An ideograph fills most of the box.
  double low = 40, high = 0;
  for (size_t i = 1; i < song.points.size(); i += 2) {
    low = std::min(low, song.points[i]);
    high = std::max(high, song.points[i]);
  }
  EXPECT_LT(low, 8.0);
  EXPECT_GT(high, 32.0);
  EXPECT_LE(high, 40.0);
  // An ideograph advances one em: 1024 of a 1072-unit cell.
  EXPECT_NEAR(font->CharLength(const_cast<char*>(kSong)), 1024.0 * 40 / 1072, 1e-9);
  char text[] = "\xCB\xCE\xCC\xE5";
  EXPECT_NEAR(StringLength(text, 0, 0, &lib), 2 * 1024.0 / 1072, 1e-9);
}

TEST_F(FreeTypeFonts, SecondDrawOfAGlyphMakesNoFreeTypeCall) {
  FreeTypeFont* font = lib.VectorFont(7);
  const Outline first = OutlineOf(font, "g", 30);
  font->CharLength(const_cast<char*>("g"));
  const long calls = lib.FreeTypeCalls();
  EXPECT_GT(calls, 0);
  const Outline again = OutlineOf(font, "g", 30.5);  // the same tolerance step
  font->CharLength(const_cast<char*>("g"));
  EXPECT_EQ(lib.FreeTypeCalls(), calls);
  EXPECT_EQ(again.points, first.points);
  EXPECT_EQ(again.sizes, first.sizes);
  OutlineOf(font, "g", 300);  // a finer step loads the glyph again
  EXPECT_GT(lib.FreeTypeCalls(), calls);
  EXPECT_EQ(font->CachedOutlines(), 2u);
}

TEST_F(FreeTypeFonts, LargerTextGetsFinerCurves) {
  FreeTypeFont* font = lib.VectorFont(7);
  size_t previous = 0;
  double previousTolerance = 1e9;
  for (double height : {4.0, 40.0, 400.0, 4000.0}) {
    const size_t points = OutlineOf(font, "O", height).points.size();
    EXPECT_GT(points, previous) << height;
    EXPECT_LT(font->ToleranceAt(height), previousTolerance);
    // The tolerance stays within the asked 0.1 output units, in design units.
    EXPECT_LE(font->ToleranceAt(height), 0.1 * 40 / height + 1e-12);
    previous = points;
    previousTolerance = font->ToleranceAt(height);
  }
  // Heights of no use get the coarsest step rather than failing.
  for (double bad : {0.0, -5.0, std::nan("")})
    EXPECT_EQ(OutlineOf(font, "O", bad).found, 1) << bad;
}

TEST_F(FreeTypeFonts, MissingGlyphsFallBack) {
  FreeTypeFont* latin = lib.VectorFont(7);
  // DejaVu Sans lacks Chinese: font 0's face stands in, at DejaVu's em.
  const Outline song = OutlineOf(latin, kSong, 40);
  EXPECT_EQ(song.found, 1);
  EXPECT_NEAR(latin->CharLength(const_cast<char*>(kSong)), 2048.0 * 40 / 2384, 1e-9);
  // Bytes GBK does not define: nothing to draw, the advance of a space.
  const double space = latin->CharLength(const_cast<char*>(" "));
  for (const char* bad : {"\xFF\xFF", "\x80\x41", "\x81\x7F", "\x01"}) {
    const Outline o = OutlineOf(latin, bad, 40);
    EXPECT_EQ(o.found, 0);
    EXPECT_TRUE(o.sizes.empty());
    EXPECT_DOUBLE_EQ(latin->CharLength(const_cast<char*>(bad)), space);
  }
  EXPECT_EQ(OutlineOf(latin, " ", 40).sizes.size(), 0u);
}

TEST_F(FreeTypeFonts, LookupsByNameAndNumber) {
  EXPECT_EQ(lib.GetFontNoByName(const_cast<char*>(kSongTi)), 0);
  EXPECT_EQ(lib.GetFontNoByName(const_cast<char*>("arial")), 4);
  EXPECT_EQ(lib.GetFontNoByName(const_cast<char*>("Nonesuch")), -1);
  MapFont* font = reinterpret_cast<MapFont*>(&lib);
  EXPECT_EQ(lib.GetFontByName(const_cast<char*>("Nonesuch"), &font), 0);
  EXPECT_EQ(font, nullptr);
  // An unknown number gets the default font and says so by its result.
  EXPECT_EQ(lib.GetFontByNo(99, &font), 0);
  EXPECT_EQ(font, lib.VectorFont(0));
  EXPECT_EQ(lib.GetFontByNo(4, &font), 1);
  EXPECT_EQ(font, lib.VectorFont(4));
  char buffer[64];
  char* name = buffer;
  EXPECT_EQ(lib.GetFontName(5, &name), 1);
  EXPECT_STREQ(buffer, "Times New Roman");
  EXPECT_EQ(lib.GetFontName(99, &name), 0);
  EXPECT_STREQ(buffer, kSongTi);
  EXPECT_EQ(lib.GetLibType(), 0);
}

TEST(FreeTypeFontTable, UnavailableFontsFallBackWithANote) {
  FreeTypeFontLibOptions options;
  options.table = FontTable::Parse(
      "0 | Main | DejaVu Sans\n"
      "1 | Gone | /nonexistent/font.ttf\n"
      "2 | Unknown family | No Such Family Anywhere\n"
      "3 | Collection | /usr/share/fonts/truetype/arphic/uming.ttc#1\n");
  FreeTypeFontLib lib(options);
  EXPECT_EQ(lib.VectorFont(1)->File(), lib.VectorFont(0)->File());
  EXPECT_EQ(OutlineOf(lib.VectorFont(1), "A", 20).found, 1);
  EXPECT_EQ(OutlineOf(lib.VectorFont(2), "A", 20).found, 1);
  EXPECT_EQ(lib.VectorFont(3)->FaceIndex(), 1);
  ASSERT_EQ(lib.Notes().size(), 2u);
  EXPECT_NE(lib.Notes()[0].find("font 1 (Gone)"), std::string::npos) << lib.Notes()[0];
  EXPECT_NE(lib.Notes()[1].find("No Such Family Anywhere"), std::string::npos);
}

TEST(FreeTypeFontLibrary, InstallsAsTheProcessWideLibrary) {
  MapFontLib* before = GetMapFontLib();
  FreeTypeFontLib* lib = FreeTypeFontLib::InstallProcessWide();
  EXPECT_EQ(GetMapFontLib(), lib);
  char text[] = "AA";
  EXPECT_NEAR(StringLength(text, 7, 0, nullptr),
              2 * lib->VectorFont(7)->CharLength(text) / 40, 1e-12);
  SetMapFontLib(before);
}

TEST(FreeTypeFontLibrary, StrokeModeOpensTheCharacterLibrary) {
  clib::Builder builder;
  std::string error;
  ASSERT_TRUE(clib::BuildStrokeFont(clib::DefaultHersheyDir(), clib::StandardMappings(),
                                    &builder, nullptr, &error))
      << error;
  const std::string path =
      ::testing::TempDir() + "inkline_stroke_" + std::to_string(getpid()) + ".clib";
  ASSERT_TRUE(builder.Write(path, &error)) << error;

  FreeTypeFontLib lib;
  const double vectorA = lib.VectorFont(4)->CharLength(const_cast<char*>("A"));
  EXPECT_FALSE(lib.OpenStrokeFont("/nonexistent.clib", &error));
  EXPECT_EQ(lib.GetLibType(), 0);
  ASSERT_TRUE(lib.OpenStrokeFont(path, &error)) << error;
  EXPECT_EQ(lib.GetLibType(), 1);
  ASSERT_GE(lib.ClibFile, 0);
  // The system reads the file through the handle.
  EXPECT_EQ(clib::ReadStrokes(lib.ClibFile, "A"), builder.Get(0xA3C1));
  EXPECT_EQ(clib::ReadStrokes(lib.ClibFile, "\xA6\xD8"), builder.Get(0xA6D8));
  EXPECT_FALSE(clib::ReadStrokes(lib.ClibFile, "A").empty());

  MapFont* font = nullptr;
  lib.GetFontByName(const_cast<char*>(kSongTi), &font);
  ASSERT_NE(font, nullptr);
  EXPECT_DOUBLE_EQ(font->CharLength(const_cast<char*>("A")), 255.0);
  EXPECT_DOUBLE_EQ(font->CharLength(const_cast<char*>(kSong)), 255.0);
  EXPECT_EQ(OutlineOf(font, "A", 20).sizes.size(), 0u);
  // Other fonts keep their shapes on the grid of 255.
  lib.GetFontByNo(4, &font);
  EXPECT_NEAR(font->CharLength(const_cast<char*>("A")), vectorA * 255 / 40, 1e-9);
  char text[] = "AB";
  EXPECT_DOUBLE_EQ(StringLength(text, 0, 0, &lib), 2.0);

  lib.CloseStrokeFont();
  EXPECT_EQ(lib.GetLibType(), 0);
  lib.GetFontByNo(0, &font);
  EXPECT_EQ(font, lib.VectorFont(0));

  // Anything shorter than the index is not a character library.
  { std::ofstream(path, std::ios::trunc) << "short"; }
  EXPECT_FALSE(lib.OpenStrokeFont(path, &error));
  EXPECT_NE(error.find("too short"), std::string::npos);
  std::remove(path.c_str());
}

}  // namespace
