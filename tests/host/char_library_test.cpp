#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

#include <inkline/host/char_library.h>
#include <inkline/host/hershey.h>
#include <inkline/host/stroke_font_set.h>

namespace {

using clib::GridPoint;
using clib::Segment;
using clib::Strokes;

// A file in the test's temporary folder, removed at the end of the scope.
struct TempFile {
  explicit TempFile(const std::string& name)
      : path(::testing::TempDir() + "inkline_" + std::to_string(getpid()) + "_" + name) {}
  ~TempFile() { std::remove(path.c_str()); }
  std::string path;
};

// Reads back through the integer-handle calls, as the drawing code does.
Strokes ReadBack(const std::string& path, const char* ch) {
  const int fd = open(path.c_str(), O_RDONLY);
  EXPECT_GE(fd, 0) << path;
  Strokes s = clib::ReadStrokes(fd, ch);
  close(fd);
  return s;
}

TEST(CharLibraryFile, RecordNumbersFollowTheReaderRule) {
  const struct {
    const char* ch;
    int record;
  } cases[] = {
      {"A", 220},            // read as the full-width A, 0xA3C1
      {"\xA3\xC1", 220},     {"\xA1\xA1", 0},     {"\xA7\xFE", 657},
      {"\xB0\xA1", 658},     {"\xA8\xA1", 658},   // rows A8-AF read B0-B7's records
      {"\xF7\xFE", 7425},    {" ", -1},           {"", -1},
      {"\x90\xA1", -1},      // lead bytes 0x80-0xA0 land before the index
      {"\xFE\xFE", -1},      // and rows beyond 0xF7 after it
  };
  for (const auto& c : cases) EXPECT_EQ(clib::RecordOfCharacter(c.ch), c.record) << c.ch;
  EXPECT_TRUE(clib::IsLibraryCell(0xA3C1));
  EXPECT_TRUE(clib::IsLibraryCell(0xF7FE));
  EXPECT_FALSE(clib::IsLibraryCell(0xA8A1));
  EXPECT_FALSE(clib::IsLibraryCell(0xB0A0));
  EXPECT_FALSE(clib::IsLibraryCell(0x41));
}

TEST(CharLibraryFile, PointBytesCountDownFromTheTop) {
  EXPECT_EQ(clib::EncodePoint({0, 16}), 0x00);
  EXPECT_EQ(clib::EncodePoint({15, 1}), 0xFF);
  EXPECT_EQ(clib::EncodePoint({3, 12}), 0x34);
  for (int x = 0; x <= 15; ++x)
    for (int y = 1; y <= 16; ++y) {
      const GridPoint p = clib::DecodePoint(clib::EncodePoint({x, y}));
      EXPECT_TRUE(p == (GridPoint{x, y})) << x << "," << y;
    }
}

TEST(CharLibraryFile, BuilderRefusesWhatTheReaderCannotHold) {
  clib::Builder b;
  Strokes ok{{{0, 1}, {15, 16}}};
  std::string why;
  EXPECT_TRUE(b.Set(0xB0A1, ok));
  EXPECT_FALSE(b.Set(0xA8A1, ok, &why)) << "shares its record with 0xB0A1";
  EXPECT_FALSE(b.Set(0x41, ok, &why));
  Strokes tooMany(32, Segment{{1, 1}, {2, 2}});
  EXPECT_FALSE(b.Set(0xA3C1, tooMany, &why));
  EXPECT_EQ(why, "too many segments");
  tooMany.pop_back();
  EXPECT_TRUE(b.Set(0xA3C1, tooMany));
  EXPECT_FALSE(b.Set(0xA3C2, {{{0, 0}, {1, 1}}}, &why)) << "y 0 is off the grid";
  EXPECT_FALSE(b.Set(0xA3C2, {{{16, 1}, {1, 1}}}, &why));
  EXPECT_FALSE(b.Set(0xA3C2, {{{0, 16}, {0, 16}}}, &why)) << "reads as the end mark";
  EXPECT_FALSE(b.Has(0xA3C2));
  EXPECT_EQ(b.CharacterCount(), 2u);
}

TEST(CharLibraryFile, FileRoundTripsThroughTheReader) {
  clib::Builder b;
  const Strokes a{{{7, 14}, {2, 4}}, {{7, 14}, {12, 4}}, {{4, 8}, {10, 8}}};
  Strokes full;
  for (int i = 0; i < clib::kMaxSegments; ++i) full.push_back({{i % 16, 1 + i % 16}, {15, 16}});
  const Strokes topLeft{{{0, 16}, {15, 1}}};  // starts with a zero byte, not a zero pair
  ASSERT_TRUE(b.Set(0xA3C1, a));
  ASSERT_TRUE(b.Set(0xB0A1, full));
  ASSERT_TRUE(b.Set(0xF7FE, topLeft));
  TempFile file("roundtrip.clib");
  std::string error;
  ASSERT_TRUE(b.Write(file.path, &error)) << error;

  EXPECT_EQ(ReadBack(file.path, "A"), a);
  EXPECT_EQ(ReadBack(file.path, "\xA3\xC1"), a);
  EXPECT_EQ(ReadBack(file.path, "\xB0\xA1"), full);
  EXPECT_EQ(ReadBack(file.path, "\xA8\xA1"), full);
  EXPECT_EQ(ReadBack(file.path, "\xF7\xFE"), topLeft);
  EXPECT_TRUE(ReadBack(file.path, "B").empty());
  EXPECT_TRUE(ReadBack(file.path, " ").empty());
  EXPECT_TRUE(ReadBack(file.path, "\x81\x40").empty());

  const std::vector<unsigned char> bytes = b.Bytes();
  ASSERT_EQ(bytes.size(), static_cast<size_t>(clib::kIndexBytes + 2 * (3 + 31 + 1)));
  const unsigned long v = bytes[3 * 220] | (bytes[3 * 220 + 1] << 8) | (bytes[3 * 220 + 2] << 16);
  EXPECT_EQ(v >> 18, 6u);
}

TEST(Hershey, ParsesRecordsIncludingWrappedOnes) {
  std::istringstream in(
      "  501  9I[RFJ[ RRFZ[ RMTWT\n"
      "\n"
      "12345  6JZRFR[ RKF\r\n"
      "YF\n");
  std::vector<clib::HersheyGlyph> glyphs;
  std::string error;
  ASSERT_TRUE(clib::ParseHersheyFont(in, &glyphs, &error)) << error;
  ASSERT_EQ(glyphs.size(), 2u);
  EXPECT_EQ(glyphs[0].number, 501);
  EXPECT_EQ(glyphs[0].left, -9);
  EXPECT_EQ(glyphs[0].right, 9);
  ASSERT_EQ(glyphs[0].strokes.size(), 3u);
  EXPECT_EQ(glyphs[0].strokes[0].size(), 2u);
  EXPECT_EQ(glyphs[0].strokes[0][0].x, 0);
  EXPECT_EQ(glyphs[0].strokes[0][0].y, -12);
  EXPECT_EQ(glyphs[0].strokes[0][1].x, -8);
  EXPECT_EQ(glyphs[0].strokes[0][1].y, 9);
  ASSERT_EQ(glyphs[1].strokes.size(), 2u);
  EXPECT_EQ(glyphs[1].strokes[1][1].x, 7);
}

TEST(Hershey, MalformedRecordsNameTheLine) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"  501  9I[RF\n", "line 1: record ends early"},
      {"  501  2I[RFJ[\n\nhello world\n", "line 3: not a glyph record"},
      {"  501  0I[\n", "line 1: not a glyph record"},
      {"  5x1  2I[RF\n", "line 1: not a glyph record"},
      {"  501  2I[R\x01\n", "line 1: bad coordinate pair"},
  };
  for (const auto& c : cases) {
    std::istringstream in(c.text);
    std::vector<clib::HersheyGlyph> glyphs;
    std::string error;
    EXPECT_FALSE(clib::ParseHersheyFont(in, &glyphs, &error)) << c.text;
    EXPECT_EQ(error, c.error);
  }
}

TEST(Hershey, GridFitKeepsShapesAndLimits) {
  // A bar with a dot above it, the dot a diamond one unit across.
  clib::HersheyGlyph dot;
  dot.strokes = {{{-10, 10}, {10, 10}}, {{3, -10}, {4, -9}, {3, -9}, {3, -10}}};
  clib::HersheyGlyph box;
  box.strokes = {{{-16, -16}, {16, -16}, {16, 16}, {-16, 16}, {-16, -16}}};
  const clib::GridFit fit = clib::FitFace({box, dot});
  EXPECT_DOUBLE_EQ(fit.scale, 15.0 / 32.0);

  const Strokes square = clib::ToGridStrokes(box, fit);
  EXPECT_EQ(square, (Strokes{{{0, 16}, {15, 16}}, {{15, 16}, {15, 1}},
                             {{15, 1}, {0, 1}}, {{0, 1}, {0, 16}}}));
  // A dot shrinks to one grid point and stays visible as a one-unit dash.
  const Strokes dotted = clib::ToGridStrokes(dot, fit);
  ASSERT_EQ(dotted.size(), 2u);
  EXPECT_EQ(dotted[0], (Segment{{3, 4}, {12, 4}}));
  EXPECT_EQ(std::abs(dotted[1].to.x - dotted[1].from.x), 1);
  EXPECT_EQ(dotted[1].from.y, 13);
  EXPECT_EQ(dotted[1].to.y, 13);

  // A fine circle of 96 pieces is simplified to fit the record.
  clib::HersheyGlyph circle;
  circle.strokes.emplace_back();
  for (int i = 0; i <= 96; ++i) {
    const double a = i * 2 * 3.141592653589793 / 96;
    circle.strokes[0].push_back({static_cast<int>(std::lround(60 * std::cos(a))),
                                 static_cast<int>(std::lround(60 * std::sin(a)))});
  }
  const clib::GridFit big = clib::FitFace({circle});
  const Strokes round = clib::ToGridStrokes(circle, big);
  EXPECT_LE(round.size(), static_cast<size_t>(clib::kMaxSegments));
  EXPECT_GE(round.size(), 8u);
  for (const Segment& s : round) {
    EXPECT_FALSE(s.from == s.to);
    // every end point lies near the circle of radius 7.5 about the centre
    EXPECT_NEAR(std::hypot(s.from.x - 7.5, s.from.y - 8.5), 7.5, 1.3);
  }
}

class StandardStrokeFont : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    builder_ = new clib::Builder;
    perRow_ = new std::map<unsigned, int>;
    std::string error;
    built_ = clib::BuildStrokeFont(clib::DefaultHersheyDir(), clib::StandardMappings(), builder_,
                                   perRow_, &error);
    error_ = new std::string(error);
  }
  static void TearDownTestSuite() {
    delete builder_;
    delete perRow_;
    delete error_;
  }
  static clib::Builder* builder_;
  static std::map<unsigned, int>* perRow_;
  static std::string* error_;
  static bool built_;
};
clib::Builder* StandardStrokeFont::builder_;
std::map<unsigned, int>* StandardStrokeFont::perRow_;
std::string* StandardStrokeFont::error_;
bool StandardStrokeFont::built_;

TEST_F(StandardStrokeFont, FillsTheRowsTheDataHas) {
  ASSERT_TRUE(built_) << *error_;
  EXPECT_EQ((*perRow_)[0xA3], 94);
  EXPECT_EQ((*perRow_)[0xA6], 48);
  EXPECT_EQ((*perRow_)[0xA7], 63);  // the data has no Yo and no small E
  EXPECT_GT((*perRow_)[0xA4], 60);
  EXPECT_GT((*perRow_)[0xA5], 60);
  const unsigned present[] = {0xA3A1, 0xA3FE, 0xA6A1 /* Alpha */, 0xA6D8 /* omega */,
                              0xA7A1 /* A */, 0xA7AB /* Short I */, 0xA7F1 /* ya */,
                              0xA4A2 /* a */, 0xA5F3 /* n */, 0xD6D0 /* zhong */};
  for (unsigned code : present) EXPECT_TRUE(builder_->Has(code)) << std::hex << code;
  const unsigned absent[] = {0xA7A7 /* Yo */, 0xA7EF /* small E */, 0xA4A1 /* small a */};
  for (unsigned code : absent) EXPECT_FALSE(builder_->Has(code)) << std::hex << code;
}

TEST_F(StandardStrokeFont, LettersSitOnACommonBaseline) {
  ASSERT_TRUE(built_) << *error_;
  auto extent = [&](unsigned code, int* low, int* high) {
    *low = 99;
    *high = -99;
    for (const Segment& s : builder_->Get(code))
      for (const GridPoint& p : {s.from, s.to}) {
        *low = std::min(*low, p.y);
        *high = std::max(*high, p.y);
      }
  };
  int aLow, aHigh, gLow, gHigh, alphaLow, alphaHigh;
  extent(0xA3C1, &aLow, &aHigh);     // A
  extent(0xA3E7, &gLow, &gHigh);     // g
  extent(0xA6A1, &alphaLow, &alphaHigh);
  EXPECT_EQ(aLow, 4);
  EXPECT_EQ(aHigh, 14);
  EXPECT_LT(gLow, aLow) << "the descender goes below the baseline";
  EXPECT_EQ(alphaLow, aLow);
  EXPECT_EQ(alphaHigh, aHigh);
}

TEST_F(StandardStrokeFont, EveryCharacterReadsBackAsBuilt) {
  ASSERT_TRUE(built_) << *error_;
  TempFile file("standard.clib");
  std::string error;
  ASSERT_TRUE(builder_->Write(file.path, &error)) << error;
  const int fd = open(file.path.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  int checked = 0;
  for (unsigned b1 = 0xA1; b1 <= 0xF7; ++b1)
    for (unsigned b2 = 0xA1; b2 <= 0xFE; ++b2) {
      const unsigned code = b1 << 8 | b2;
      if (!clib::IsLibraryCell(code)) continue;
      const char ch[3] = {static_cast<char>(b1), static_cast<char>(b2), 0};
      const Strokes stored = builder_->Get(code);
      ASSERT_EQ(clib::ReadStrokes(fd, ch), stored) << std::hex << code;
      EXPECT_LE(stored.size(), static_cast<size_t>(clib::kMaxSegments));
      checked += stored.empty() ? 0 : 1;
    }
  close(fd);
  EXPECT_EQ(static_cast<size_t>(checked), builder_->CharacterCount());
}

TEST_F(StandardStrokeFont, MissingFaceFileIsNamed) {
  clib::Builder b;
  std::string error;
  std::vector<clib::FaceMapping> mappings = {{"nonesuch.jhf", 0, "", true, false}};
  EXPECT_FALSE(clib::BuildStrokeFont(clib::DefaultHersheyDir(), mappings, &b, nullptr, &error));
  EXPECT_NE(error.find("nonesuch.jhf"), std::string::npos) << error;
  mappings = {{"rowmans.jhf", 90, "ΑΒΓΔΕΖΗΘ", false, false}};
  EXPECT_FALSE(clib::BuildStrokeFont(clib::DefaultHersheyDir(), mappings, &b, nullptr, &error));
  EXPECT_NE(error.find("has no glyph 96"), std::string::npos) << error;
}

}  // namespace
