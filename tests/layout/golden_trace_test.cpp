// A fixed set of plain annotations, covering every notation, style bit,
// arrangement and device kind, drawn on the recording device; the whole trace
// is compared with the expected trace committed in
// tests/data/golden/plain_annotations.trace.
//
// When drawing changes on purpose, regenerate the expected trace with
//   INKLINE_REGENERATE_GOLDEN=1 build/tests/inkline_tests --gtest_filter='GoldenTrace*'
// which writes the file instead of comparing, and review its diff before
// committing it. On Windows real GDI's output is compared with
// plain_annotations.windows_gdi.trace, which the same command run there writes.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layout/layout_support.h"

namespace {

constexpr short kOutlined = 0x0400;
constexpr short kHollow = 0x0800;
constexpr short kBold = 0x1000;
constexpr short kUnderline = 0x2000;
constexpr short kStrikeOut = 0x4000;

struct Annotation {
  const char* name;
  short kind;
  short rationalDispMode;  // 1 lets runs with equal rounded sizes use TrueType
  const char* text;
  double x, y, height, width;
  short fontNo;
  int style;
  double angle, space;
  char arrangement;
  short color;
  double extra;
  short dispFlags = 0;
  double scaleA = 1.0, scaleB = 1.0, scaleC = 1.0;
  short libType = 2;
};

// clang-format off
const Annotation kAnnotations[] = {
  {"plain",                0, 0, "Hello",        100, 100, 10, 10, 0, 0,    0,   0, 0, 0, 0.0},
  {"lowered then normal",  0, 0, "H#-2#=O",      100, 200, 10, 10, 0, 0,    0,   0, 0, 0, 0.0},
  {"pair then normal",     0, 0, "X#+2#-3#=a",   100, 300, 10, 10, 0, 0,    0,   0, 0, 0, 0.0},
  {"fraction",             1, 0, "/a/b/",        100, 400, 10, 10, 0, 0,    0,   0, 0, 0, 0.0},
  {"slashed denominator",  1, 0, "/a/b/e/",      100, 500, 10, 10, 0, 0,    0,   0, 0, 0, 0.0},
  {"fraction kind 2",      2, 0, "/3/4/",        100, 600, 10, 10, 0, 0,    0,   0, 0, 0, 0.0},
  {"literal slashes",      3, 0, "/a#+b/",       100, 700, 10, 10, 0, 0,    0,   0, 0, 0, 0.0},
  {"double slash codes",   4, 0, "//a#+b/",      100, 800, 10, 10, 0, 0,    0,   0, 0, 0, 0.0},
  {"hash as text",         5, 0, "a#b#+c",       300, 100, 10, 10, 0, 0,    0,   0, 0, 0, 0.0},
  {"pair then code",       6, 0, "X#+a#-b#+e",   300, 200, 10, 10, 0, 0,    0,   0, 0, 0, 0.0},
  {"numerator with codes", 0, 0, "/x#+2/yz/",    300, 300, 10, 10, 0, 0,    0,   0, 0, 0, 0.0},
  {"vertical raise",       0, 0, "X#+2",         300, 400, 10, 10, 0, 0,    0,   0, 1, 0, 0.0},
  {"vertical turned",      1, 0, "AB#-C",        300, 500, 10, 10, 0, 0,   30,   1, 1, 0, 0.0},
  {"turned fraction",      0, 0, "/x/yz/",       300, 600, 10, 10, 0, 0,   45,   0, 0, 0, 0.0},
  {"negative angle",       0, 0, "Tilt#+i",      300, 700, 12,  8, 0, 0,  -30,   0, 0, 0, 0.0},
  {"slant right",          0, 0, "Sl",           500, 100, 10, 10, 0, 1,    0,   0, 0, 0, 0.0},
  {"italic on vector",     0, 0, "It",           500, 150, 10, 10, 0, 2,    0,   0, 0, 0, 0.0},
  {"slant wide",           0, 0, "W3",           500, 200, 10, 10, 0, 3,    0,   0, 0, 0, 0.0},
  {"slant narrow",         0, 0, "W4",           500, 250, 10, 10, 0, 4,    0,   0, 0, 0, 0.0},
  {"shadow slanted",       0, 0, "Sh",           500, 300, 10, 10, 0, 7,    0,   0, 0, 0, 0.0},
  {"outlined nested",      0, 0, "Ou#+2#=t",     500, 350, 20, 20, 0, kOutlined, 0, 0, 0, 3, 2.0},
  {"hollow",               0, 0, "Ho#-2",        500, 400, 10, 10, 0, kHollow, 0, 0, 0, 0, 0.0},
  {"hollow shadow",        0, 0, "HS",           500, 450, 10, 10, 0, kHollow | 5, 0, 0, 0, 0, 0.0},
  {"bold",                 0, 0, "Bd",           500, 500, 10, 10, 0, kBold, 0, 0, 0, 0, 0.0},
  {"underline",            0, 0, "Un#+2",        500, 550, 10, 10, 0, kUnderline, 0, 0, 0, 0, 0.0},
  {"strike-out vertical",  0, 0, "St",           500, 650, 10, 10, 0, kStrikeOut, 0, 0, 1, 0, 0.0},
  {"all decorations",      1, 0, "All",          700, 100, 12, 12, 0, kOutlined | kBold | kUnderline | kStrikeOut, 15, 0, 0, 6, 1.0},
  {"box pieces",           0, 0, "Box#+2",       700, 200, 10, 10, 0, 0,    0,   0, 0, 4, 1.2},
  {"box vertical turned",  0, 0, "Col",          700, 300, 10, 10, 0, 0,   30,   1, 1, 4, 1.0},
  {"box estimate",         0, 0, "Est",          700, 350, 10, 10, -1, 0,   0,   0, 0, 4, 1.0},
  {"spacing",              0, 0, "S p",          700, 400, 10, 10, 0, 0,    0,   2, 0, 0, 0.0},
  {"two-byte",             0, 0, "\xB0\xA1#+\xB0\xA2", 700, 450, 10, 10, 0, 0, 0, 0, 0, 0, 0.0},
  {"third scale",          0, 0, "Sc#-2",        700, 500, 10, 10, 0, 0,    0,   0, 0, 0, 0.0, 0x80, 2.0, 3.0, 0.5},
  {"scaled",               0, 0, "Sc#-2",        700, 550, 10, 10, 0, 0,    0,   0, 0, 0, 0.0, 0x00, 2.0, 0.75, 0.5},
  {"clipped at the edge",  1, 0, "Clip",         990, 900, 10, 10, 0, 0,    0,   0, 0, 0, 0.0},
  {"grid 255",             0, 0, "G#+2",         700, 600, 10, 10, 1, 0,    0,   0, 0, 0, 0.0, 0, 1.0, 1.0, 1.0, 1},
  {"GDI TrueType",         0, 1, "Ar#-2",        100, 850, 12, 12, 2, 0,    0,   0, 0, 0, 0.0},
  {"native TrueType",      7, 1, "TT#+2",        100, 900, 12, 12, 0, 0,    0,   0, 0, 0, 0.0},
  {"native fraction",      8, 1, "/1/2/",        200, 900, 12, 12, 0, 2,    0,   0, 0, 0, 0.0},
  {"native outlined",      9, 1, "Ou#=t",        300, 900, 12, 12, 0, kOutlined, 20, 0, 0, 5, 2.0},
  {"native vertical",      9, 1, "V",            400, 900, 12, 12, 0, kBold | kUnderline, 0, 0, 1, 0, 0.0},
};
// clang-format on

// Font 0 has a few advances of its own, a glyph with a hole and a glyph box
// below the baseline; font 1 is a plain second face; font 2 names a face the
// portable GDI finds among the fonts the build depends on.
void SetUpFonts(SyntheticFontLib& fonts, short libType) {
  fonts.libType = libType;
  SyntheticFont& f = fonts.AddFont(0, "Synthetic");
  f.advances['i'] = 16;
  f.advances['W'] = 60;
  f.advances[' '] = 20;
  f.advances[0xB0A1] = 80;
  f.outlines['O'] = {{{0, 0}, {30, 0}, {30, 40}, {0, 40}}, {{10, 10}, {10, 30}, {20, 30}, {20, 10}}};
  f.yOffset = -6;
  fonts.AddFont(1, "Second");
  fonts.AddFont(2, "Arial");  // a face the portable GDI draws with Liberation Sans
}

std::string DrawAll() {
  std::string trace;
  for (const Annotation& a : kAnnotations) {
    SyntheticFontLib fonts;
    SetUpFonts(fonts, a.libType);
    ScopedMapFontLib installed(&fonts);
    RecordingDevice::Settings settings = layout_test::DeviceOfKind(a.kind, a.rationalDispMode);
    settings.dispFlags = a.dispFlags;
    RecordingDevice device(settings);
    CMapString s(&device);
    s.SetScale(a.scaleA, a.scaleB, a.scaleC);
    std::string text = a.text;
    s.StringOut(&text[0], a.x, a.y, a.height, a.width, a.fontNo, static_cast<short>(a.style),
                a.angle, a.space, a.arrangement, a.color, a.extra, nullptr);
    trace += std::string("## ") + a.name + " (kind " + std::to_string(a.kind) + ")\n";
    trace += device.Trace();
  }
  return trace;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool IsGdi(const std::string& line) { return line.rfind("Gdi", 0) == 0; }

#if defined(_WIN32)
// The GDI output of a trace, each line under its annotation's heading.
std::string GdiPart(const std::string& trace) {
  std::string out, heading;
  for (const std::string& line : Lines(trace)) {
    if (line.rfind("## ", 0) == 0) heading = line;
    if (!IsGdi(line)) continue;
    if (!heading.empty()) out += heading + "\n";
    heading.clear();
    out += line + "\n";
  }
  return out;
}
#endif

// Compares actual with the golden file at path, or writes the file when
// asked to. withoutGdi: compare only what is not GDI output.
void ExpectGolden(const std::string& path, const std::string& actual, bool withoutGdi) {
  const char* regenerate = std::getenv("INKLINE_REGENERATE_GOLDEN");
  if (regenerate && std::string(regenerate) == "1" && !withoutGdi) {
    std::ofstream out(path, std::ios::binary);
    out << actual;
    ASSERT_TRUE(out.good()) << "cannot write " << path;
    GTEST_SKIP() << "wrote " << path << "; review its diff before committing";
  }
  std::ifstream in(path, std::ios::binary);
  ASSERT_TRUE(in.good()) << "missing " << path << " (INKLINE_REGENERATE_GOLDEN=1 writes it)";
  std::stringstream expected;
  expected << in.rdbuf();

  std::vector<std::string> want = Lines(expected.str());
  std::vector<std::string> got = Lines(actual);
  if (withoutGdi) {
    want.erase(std::remove_if(want.begin(), want.end(), IsGdi), want.end());
    got.erase(std::remove_if(got.begin(), got.end(), IsGdi), got.end());
  }
  std::string annotation;
  for (size_t i = 0; i < want.size() && i < got.size(); ++i) {
    if (want[i].rfind("## ", 0) == 0) annotation = want[i];
    ASSERT_EQ(got[i], want[i]) << "first difference at line " << i + 1 << " of " << path
                               << ", in " << annotation;
  }
  EXPECT_EQ(got.size(), want.size()) << "the traces differ in length: " << path;
}

TEST(GoldenTrace, PlainAnnotations) {
  const std::string golden = std::string(INKLINE_TEST_DATA_DIR) + "/golden/";
  const std::string actual = DrawAll();
#if defined(_WIN32)
  // Real GDI draws into the recording device's metafile, which holds no font
  // files or glyph points: its output has a file of its own, and every
  // device call is compared with the portable trace.
  ExpectGolden(golden + "plain_annotations.trace", actual, true);
  ExpectGolden(golden + "plain_annotations.windows_gdi.trace", GdiPart(actual), false);
#else
  ExpectGolden(golden + "plain_annotations.trace", actual, false);
#endif
}

}  // namespace
