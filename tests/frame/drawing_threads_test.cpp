// String objects on several threads at once, each on its own device, sharing
// one vector font library, one stroke-font library (and its file handle) and
// the portable Windows layer: every thread must draw exactly what one thread
// alone draws. Run under ThreadSanitizer by scripts/test.sh.
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include <inkline/constants.h>
#include <inkline/host/char_library.h>
#include <inkline/host/freetype_font_lib.h>
#include <inkline/host/hostlib.h>
#include <inkline/host/label_text.h>
#include <inkline/host/recording_device.h>
#include <inkline/host/synthetic_font_lib.h>
#include <inkline/label_codes.h>
#include <inkline/map_string.h>

namespace {

using namespace inkline;

// The annotations of the showcase layer, in its device units.
struct Label {
  const char* text;
  double x, y, height, width;
  short style;
  double angle;
  char arrangement;
  short color;
  double extra;
  bool stroke;  // from the stroke-font library
};

const Label kLayer[] = {
    {"inkline \xB5\xD8\xCD\xBC\xD7\xA2\xBC\xC7 annotation text", 50, 910, 55, 55, 0, 0, 0, 0, 0, false},
    {"H#-2#=O + CO#-2", 300, 800, 35, 30, 0, 0, 0, 0, 0, false},
    {"X#+2#-3#=a", 650, 800, 35, 30, 0, 0, 0, 0, 0, false},
    {"/a+b/c-d/", 1075, 800, 35, 30, 0, 0, 0, 0, 0, false},
    {"backslant", 475, 700, 30, 25, 1, 0, 0, 0, 0, false},
    {"italic", 700, 700, 30, 30, kStyleItalic, 0, 0, 0, 0, false},
    {"rising", 925, 700, 30, 25, 3, 0, 0, 0, 0, false},
    {"Shadow", 50, 625, 35, 30, kStyleShadow, 0, 0, 0, 0, false},
    {"Bold", 250, 625, 35, 35, kStyleBold, 0, 0, 0, 0, false},
    {"Underline", 400, 625, 35, 35, kStyleUnderline | kStyleStrikeOut, 0, 0, 0, 0, false},
    {"Outlined", 925, 625, 35, 30, kStyleOutlined, 0, 0, 2, 2, false},
    {"Outlined TrueType", 925, 580, 35, 35, kStyleOutlined, 0, 0, 2, 2, false},
    {"Hollow", 1175, 625, 35, 30, kStyleHollow, 0, 0, 0, 0, false},
    {"Box", 1375, 625, 35, 30, 0, 0, 0, 6, 1.2, false},
    {"Rotated 30", 100, 300, 35, 30, 0, 30, 0, 0, 0, false},
    {"\xCA\xFA\xC5\xC5", 600, 525, 40, 40, 0, 0, 1, 0, 0, false},
    {"Vertical", 675, 525, 30, 30, 0, 0, 1, 0, 0, false},
    {"STROKE FONT 123 ABCDEFGHIJKLMNOPQRSTUVWXYZ", 800, 310, 30, 30, 0, 0, 0, 0, 0, true},
    {"BOLD STROKES", 800, 260, 30, 30, kStyleBold, 15, 0, 0, 0, true},
    {"THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG 0123456789", 50, 200, 20, 20, 0, 0, 0, 0, 0, true},
    {"the quick brown fox jumps over the lazy dog 0123456789", 50, 170, 20, 20, 0, 0, 0, 0, 0, true},
    {"PACK MY BOX WITH FIVE DOZEN LIQUOR JUGS", 50, 140, 20, 20, 2, 0, 0, 0, 0, true},
    {"COLUMN OF STROKES", 1450, 600, 20, 20, 0, 0, 1, 0, 0, true},
};

const char kMarkup[] =
    "<body size=20 space=1 hvpl=0 bgColor=8><font face=0 color=4>Rich <strong>text</strong> "
    "laid out <u>line</u> by line<sup>2</sup> in its box</font></body>";

// A stroke-font file with a square and a diagonal for every full-width ASCII
// letter and digit.
class StrokeFile {
 public:
  StrokeFile() {
    clib::Builder builder;
    for (unsigned c = 0x21; c <= 0x7E; ++c) {
      const clib::Strokes strokes{{{2, 2}, {12, 2}}, {{12, 2}, {12, 14}},
                                  {{2, 14}, {2, 2}}, {{2, 2}, {static_cast<int>(c % 14) + 1, 14}}};
      builder.Set(0xA300 | (c | 0x80), strokes);
    }
    // Its own name in each test process: ctest runs the tests side by side.
    path_ = ::testing::TempDir() + "strokes_threads_" + std::to_string(getpid()) + ".clib";
    std::string error;
    EXPECT_TRUE(builder.Write(path_, &error)) << error;
    fd_ = open(path_.c_str(), O_RDONLY);
  }
  ~StrokeFile() {
    if (fd_ >= 0) close(fd_);
    unlink(path_.c_str());
  }
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  int fd_ = -1;
};

struct Libraries {
  MapFontLib* vector;
  MapFontLib* stroke;
};

// Draws the layer once on a fresh device and string object; the trace.
std::string DrawLayer(const Libraries& fonts) {
  RecordingDevice::Settings settings;
  settings.rationalDispMode = 1;  // TrueType where the rule allows it
  settings.winHeight = 1000;
  settings.winRect = D_RECT{0, 0, 1600, 1000};  // the whole layer: nothing is left out
  RecordingDevice device(settings);
  CMapString s(&device);
  s.SetScale(1.0, 1.0, 1.0);
  for (const Label& l : kLayer) {
    s.StringOut(const_cast<char*>(l.text), l.x, l.y, l.height, l.width, 0, l.style, l.angle, 0,
                l.arrangement, l.color, l.extra, l.stroke ? fonts.stroke : fonts.vector);
  }
  D_RECT box{1000, 450, 1500, 250};
  s.HTMLStringOut(const_cast<char*>(kMarkup), 0, 0, &box, 0);
  return device.Trace();
}

// Draws the layer on four threads at once, several times each; the number
// of drawings on each thread that differ from one thread's drawing alone.
std::vector<int> DifferingDrawings(const Libraries& fonts, const std::string& alone) {
  constexpr int kThreads = 4;
  constexpr int kRounds = 10;
  std::vector<int> differing(kThreads, 0);
  std::vector<std::thread> threads;
  std::atomic<int> ready{0};
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      // Start together, so that the drawings overlap.
      ++ready;
      while (ready.load() < kThreads) std::this_thread::yield();
      for (int round = 0; round < kRounds; ++round)
        if (DrawLayer(fonts) != alone) ++differing[t];
    });
  }
  for (std::thread& thread : threads) thread.join();
  return differing;
}

TEST(DrawingThreads, FourThreadsDrawWhatOneThreadDraws) {
  StrokeFile file;
  ASSERT_GE(file.fd(), 0);
  SyntheticFontLib vector;
  SyntheticFontLib stroke;
  stroke.libType = 1;
  stroke.ClibFile = file.fd();
  ScopedMapFontLib installed(&vector);
  const Libraries fonts{&vector, &stroke};

  const std::string alone = DrawLayer(fonts);
  ASSERT_NE(alone.find("GdiText"), std::string::npos);   // the TrueType path ran
  ASSERT_NE(alone.find("DrawLine"), std::string::npos);  // and the stroke font
  EXPECT_EQ(DifferingDrawings(fonts, alone), std::vector<int>(4, 0));
}

// The same with the reference font library over real fonts, in vector and
// in stroke mode.
TEST(DrawingThreads, FourThreadsShareTheFreeTypeFontLibrary) {
  StrokeFile file;
  FreeTypeFontLib vector;
  FreeTypeFontLib stroke;
  std::string error;
  ASSERT_TRUE(stroke.OpenStrokeFont(file.path(), &error)) << error;
  ScopedMapFontLib installed(&vector);
  const Libraries fonts{&vector, &stroke};

  const std::string alone = DrawLayer(fonts);
  ASSERT_NE(alone.find("FillPolygons"), std::string::npos);  // outlines were drawn
  // and strokes: four lines a letter of the stroke labels, far more than the
  // few underlines and fraction bars of the rest
  size_t lines = 0;
  for (size_t at = alone.find("DrawLine"); at != std::string::npos; at = alone.find("DrawLine", at + 1))
    ++lines;
  ASSERT_GT(lines, 100u);
  EXPECT_EQ(DifferingDrawings(fonts, alone), std::vector<int>(4, 0));
}

// Shaped labels, made ready once and drawn by every thread through their
// own codes, on the TrueType path and from outlines: their clusters' faces
// and glyphs are found by every thread at once.
std::string DrawShaped(MapFontLib* fonts, const std::vector<LabelText>& labels, short trueType) {
  RecordingDevice::Settings settings;
  settings.rationalDispMode = trueType;
  settings.winHeight = 1000;
  settings.winRect = D_RECT{0, 0, 1600, 1000};
  RecordingDevice device(settings);
  CMapString s(&device);
  s.SetScale(1.0, 1.0, 1.0);
  double y = 950;
  for (const LabelText& l : labels) {
    const inkline::ScopedLabelCodes codes(&l.codes);
    std::string bytes = l.bytes;
    s.StringOut(bytes.data(), 50, y, 40, 40, l.fontNo, 0, 15, 0, 0, 0, 0, fonts);
    y -= 60;
  }
  return device.Trace();
}

TEST(DrawingThreads, FourThreadsDrawShapedLabelsAlike) {
  FreeTypeFontLib fonts;
  ScopedMapFontLib installed(&fonts);
  LabelShaper shaper(fonts);
  std::vector<LabelText> labels;
  LabelTextOptions unnamed;
  unnamed.fontNo = 8;
  unnamed.fontGiven = false;
  for (const char* text : {"\xD8\xA7\xD9\x84\xD9\x82\xD8\xA7\xD9\x87\xD8\xB1\xD8\xA9 2020",
                           "\xE0\xA4\xA6\xE0\xA4\xBF\xE0\xA4\xB2\xE0\xA5\x8D\xE0\xA4\xB2\xE0\xA5\x80",
                           "\xD7\x99\xD7\xA8\xD7\x95\xD7\xA9\xD7\x9C\xD7\x99\xD7\x9D Beijing \xE5\x8C\x97\xE4\xBA\xAC",
                           "\xE0\xB8\x81\xE0\xB8\xA3\xE0\xB8\xB8\xE0\xB8\x87 \xEC\x84\x9C\xEC\x9A\xB8"})
    labels.push_back(shaper.Convert(text, unnamed));
  for (const LabelText& l : labels) ASSERT_TRUE(l.shaped);
  for (const short trueType : {1, 0}) {
    const std::string alone = DrawShaped(&fonts, labels, trueType);
    ASSERT_NE(alone.find(trueType ? "GdiText" : "FillPolygons"), std::string::npos);
    std::vector<int> differing(4, 0);
    std::vector<std::thread> threads;
    std::atomic<int> ready{0};
    for (int t = 0; t < 4; ++t) {
      threads.emplace_back([&, t] {
        ++ready;
        while (ready.load() < 4) std::this_thread::yield();
        for (int round = 0; round < 5; ++round)
          if (DrawShaped(&fonts, labels, trueType) != alone) ++differing[t];
      });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(differing, std::vector<int>(4, 0)) << (trueType ? "TrueType" : "outlines");
  }
}

}  // namespace
