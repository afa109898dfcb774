// GDI text, paths and PolyDraw over real fonts (installed by
// scripts/install-deps.sh), checked against FreeType's own measure of the
// same glyphs.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BBOX_H
#include FT_TRUETYPE_TABLES_H

#include <gtest/gtest.h>

#include <inkline/win32.h>
#include <inkline/win32_fonts.h>
#include <inkline/win32_sink.h>

// fontconfig keeps what FcInit allocates for the life of the process, and
// this version loses track of part of it; the leak checker is told so. Weak,
// so that any other list of suppressions in the test program takes its place.
extern "C" __attribute__((weak, visibility("default"))) const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

const char kSong[] = "\xCB\xCE\xCC\xE5";   // "Song" in code page 936
const char kHei[] = "\xBA\xDA\xCC\xE5";    // "Hei"
const char kMiddle[] = "\xD6\xD0";         // a Chinese character, two bytes

LOGFONTA Font(LONG height, const char* face, LONG escapement = 0, LONG weight = FW_NORMAL,
              BYTE italic = 0) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfEscapement = lf.lfOrientation = escapement;
  lf.lfWeight = weight;
  lf.lfItalic = italic;
  std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  return lf;
}

std::string FileOf(const LOGFONTA& lf) {
  char path[512];
  InklineFontFileFor(&lf, path, sizeof path);
  const char* slash = std::strrchr(path, '/');
  return slash ? slash + 1 : path;
}

std::string PathOf(const LOGFONTA& lf) {
  char path[512];
  InklineFontFileFor(&lf, path, sizeof path);
  return path;
}

// A context with a font selected, released with it.
struct FontDC {
  explicit FontDC(const LOGFONTA& lf) : dc(CreateCompatibleDC(nullptr)) {
    font = CreateFontIndirectA(&lf);
    old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(font));
  }
  ~FontDC() {
    SelectObject(dc, old);
    DeleteObject(reinterpret_cast<HGDIOBJ>(font));
    DeleteDC(dc);
  }
  HDC dc;
  HFONT font;
  HGDIOBJ old;
};

struct Path {
  std::vector<POINT> points;
  std::vector<BYTE> types;
  double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
};

Path ReadPath(HDC dc) {
  Path p;
  const int n = GetPath(dc, nullptr, nullptr, 0);
  if (n <= 0) return p;
  p.points.resize(static_cast<size_t>(n));
  p.types.resize(static_cast<size_t>(n));
  EXPECT_EQ(GetPath(dc, p.points.data(), p.types.data(), n), n);
  for (const POINT& q : p.points) {
    p.minX = std::min(p.minX, double(q.x));
    p.maxX = std::max(p.maxX, double(q.x));
    p.minY = std::min(p.minY, double(q.y));
    p.maxY = std::max(p.maxY, double(q.y));
  }
  return p;
}

Path TextPath(const LOGFONTA& lf, int x, int y, const std::string& text) {
  FontDC c(lf);
  BeginPath(c.dc);
  EXPECT_TRUE(TextOutA(c.dc, x, y, text.data(), static_cast<int>(text.size())));
  EndPath(c.dc);
  return ReadPath(c.dc);
}

// Every figure starts with PT_MOVETO and ends closed; Béziers come in threes.
void ExpectClosedFigures(const Path& p) {
  ASSERT_FALSE(p.types.empty());
  for (size_t i = 0; i < p.types.size();) {
    ASSERT_EQ(p.types[i], PT_MOVETO) << i;
    size_t j = i + 1;
    while (j < p.types.size() && p.types[j] != PT_MOVETO) {
      const BYTE kind = p.types[j] & ~PT_CLOSEFIGURE;
      if (kind == PT_BEZIERTO) {
        ASSERT_LT(j + 2, p.types.size());
        EXPECT_EQ(p.types[j], PT_BEZIERTO);
        EXPECT_EQ(p.types[j + 1], PT_BEZIERTO);
        EXPECT_EQ(p.types[j + 2] & ~PT_CLOSEFIGURE, PT_BEZIERTO);
        j += 3;
      } else {
        EXPECT_EQ(kind, PT_LINETO) << j;
        ++j;
      }
    }
    EXPECT_TRUE(p.types[j - 1] & PT_CLOSEFIGURE) << "figure ending at " << j - 1;
    i = j;
  }
}

// FreeType's own view of one face.
struct FreeTypeFace {
  explicit FreeTypeFace(const std::string& path) {
    FT_Init_FreeType(&lib);
    FT_New_Face(lib, path.c_str(), 0, &face);
  }
  ~FreeTypeFace() {
    if (face) FT_Done_Face(face);
    FT_Done_FreeType(lib);
  }
  // The exact outline box of c at em pixels per em, 26.6 units turned to pixels.
  FT_BBox Box(char c, int em) {
    FT_Set_Char_Size(face, 0, em * 64, 72, 72);
    FT_Load_Char(face, static_cast<FT_ULong>(c), FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
    FT_BBox box{};
    FT_Outline_Get_BBox(&face->glyph->outline, &box);
    return box;
  }
  double WinAscent() const { return os2()->usWinAscent; }
  double CellUnits() const { return os2()->usWinAscent + os2()->usWinDescent; }
  const TT_OS2* os2() const {
    return static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  }
  FT_Library lib = nullptr;
  FT_Face face = nullptr;
};

// Collects what a context draws.
struct CollectingSink : GdiSink {
  struct Text {
    int x, y;
    std::string bytes;
    COLORREF color;
    bool opaque;
    COLORREF background;
    GdiPoint cell[4];
    double advance, em;
    std::vector<GdiPoint> glyphs;
  };
  struct Stroke {
    std::vector<GdiPoint> points;
    std::vector<BYTE> types;
    int width;
    COLORREF color;
  };
  void Text(const GdiTextOutput& t) override {
    texts.push_back({t.x, t.y, std::string(t.text, static_cast<size_t>(t.length)), t.color,
                     t.opaque, t.background, {t.cell[0], t.cell[1], t.cell[2], t.cell[3]},
                     t.advance, t.emHeight,
                     std::vector<GdiPoint>(t.glyphs.points, t.glyphs.points + t.glyphs.count)});
  }
  void Stroke(const GdiStroke& s) override {
    strokes.push_back({std::vector<GdiPoint>(s.path.points, s.path.points + s.path.count),
                       std::vector<BYTE>(s.path.types, s.path.types + s.path.count),
                       s.penWidth, s.color});
  }
  std::vector<struct Text> texts;
  std::vector<struct Stroke> strokes;
};

TEST(GdiFonts, FaceNamesResolveToTheirFreeStandIns) {
  const struct {
    const char* face;
    LONG weight;
    const char* file;
  } cases[] = {
      {kSong, FW_NORMAL, "uming.ttc"},
      {"SimSun", FW_NORMAL, "uming.ttc"},
      {"\xD0\xC2\xCB\xCE\xCC\xE5", FW_NORMAL, "uming.ttc"},  // New Song
      {"@\xCB\xCE\xCC\xE5", FW_NORMAL, "uming.ttc"},         // vertical Song
      {"", FW_NORMAL, "uming.ttc"},                          // the default face
      {"Arial", FW_NORMAL, "LiberationSans-Regular.ttf"},
      {"arial", FW_BOLD, "LiberationSans-Bold.ttf"},
      {"Times New Roman", FW_NORMAL, "LiberationSerif-Regular.ttf"},
      {"Courier New", FW_NORMAL, "LiberationMono-Regular.ttf"},
      {"DejaVu Sans", FW_NORMAL, "DejaVuSans.ttf"},
      {"No Such Face Anywhere", FW_NORMAL, "DejaVuSans.ttf"},
  };
  for (const auto& c : cases) EXPECT_EQ(FileOf(Font(-20, c.face, 0, c.weight)), c.file) << c.face;
}

TEST(GdiText, PathOfAInDejaVuSansMatchesFreeTypesGlyphBox) {
  const LOGFONTA lf = Font(-100, "DejaVu Sans");
  const Path p = TextPath(lf, 50, 40, "A");
  ExpectClosedFigures(p);
  FreeTypeFace ft(PathOf(lf));
  ASSERT_NE(ft.face, nullptr);
  const FT_BBox box = ft.Box('A', 100);
  // The reference point is the top of the cell: the baseline lies the
  // Windows ascent below it.
  const double baseline = 40 + ft.WinAscent() * 100.0 / ft.face->units_per_EM;
  EXPECT_NEAR(p.minX, 50 + box.xMin / 64.0, 1.0);
  EXPECT_NEAR(p.maxX, 50 + box.xMax / 64.0, 1.0);
  EXPECT_NEAR(p.minY, baseline - box.yMax / 64.0, 1.0);
  EXPECT_NEAR(p.maxY, baseline - box.yMin / 64.0, 1.0);
}

TEST(GdiText, CurvedGlyphsBecomeCubicBeziersInsideFreeTypesBox) {
  const LOGFONTA lf = Font(-120, "DejaVu Sans");
  const Path p = TextPath(lf, 0, 0, "O");
  ExpectClosedFigures(p);
  EXPECT_EQ(std::count(p.types.begin(), p.types.end(), PT_MOVETO), 2);  // outer and inner ring
  EXPECT_GT(std::count_if(p.types.begin(), p.types.end(),
                          [](BYTE t) { return (t & ~PT_CLOSEFIGURE) == PT_BEZIERTO; }),
            0);
  FreeTypeFace ft(PathOf(lf));
  const FT_BBox box = ft.Box('O', 120);
  const double baseline = ft.WinAscent() * 120.0 / ft.face->units_per_EM;
  EXPECT_NEAR(p.minX, box.xMin / 64.0, 1.0);
  EXPECT_NEAR(p.maxX, box.xMax / 64.0, 1.0);
  EXPECT_NEAR(p.minY, baseline - box.yMax / 64.0, 1.0);
  EXPECT_NEAR(p.maxY, baseline - box.yMin / 64.0, 1.0);
}

// At one pixel per font unit every Bézier of the path must be a quadratic arc
// of the glyph raised to a cubic: both control points point back to the same
// quadratic control point, which is an off-curve point of the outline.
TEST(GdiText, ConicArcsBecomeTheCubicsOfTheSameCurve) {
  const LOGFONTA lf = Font(-2048, "DejaVu Sans");
  FreeTypeFace ft(PathOf(lf));
  ASSERT_EQ(ft.face->units_per_EM, 2048);
  const Path p = TextPath(lf, 0, 0, "S");
  FT_Set_Char_Size(ft.face, 0, 2048 * 64, 72, 72);
  FT_Load_Char(ft.face, 'S', FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
  const FT_Outline& outline = ft.face->glyph->outline;
  std::vector<GdiPoint> offCurve;
  for (int i = 0; i < outline.n_points; ++i)
    if (FT_CURVE_TAG(outline.tags[i]) == FT_CURVE_TAG_CONIC)
      offCurve.push_back({outline.points[i].x / 64.0, ft.WinAscent() - outline.points[i].y / 64.0});
  ASSERT_GT(offCurve.size(), 4u);

  int cubics = 0;
  for (size_t i = 1; i + 2 < p.types.size(); i += p.types[i] == PT_BEZIERTO ? 3 : 1) {
    if (p.types[i] != PT_BEZIERTO) continue;
    const POINT &p0 = p.points[i - 1], &c1 = p.points[i], &c2 = p.points[i + 1],
                &p3 = p.points[i + 2];
    const double q1x = p0.x + 1.5 * (c1.x - p0.x), q1y = p0.y + 1.5 * (c1.y - p0.y);
    const double q2x = p3.x + 1.5 * (c2.x - p3.x), q2y = p3.y + 1.5 * (c2.y - p3.y);
    EXPECT_NEAR(q1x, q2x, 1.6) << i;
    EXPECT_NEAR(q1y, q2y, 1.6) << i;
    const double qx = (q1x + q2x) / 2, qy = (q1y + q2y) / 2;
    double nearest = 1e9;
    for (const GdiPoint& q : offCurve) nearest = std::min(nearest, std::hypot(q.x - qx, q.y - qy));
    EXPECT_LT(nearest, 1.5) << "cubic at " << i;
    ++cubics;
  }
  EXPECT_GT(cubics, 4);
}

TEST(GdiText, PositiveHeightIsTheCellNegativeTheCharacter) {
  const Path cell = TextPath(Font(200, "DejaVu Sans"), 0, 0, "A");
  const Path character = TextPath(Font(-200, "DejaVu Sans"), 0, 0, "A");
  FreeTypeFace ft(PathOf(Font(200, "DejaVu Sans")));
  const double ratio = ft.CellUnits() / ft.face->units_per_EM;  // cell over em
  ASSERT_GT(ratio, 1.05);
  const double cellHeight = cell.maxY - cell.minY;
  const double characterHeight = character.maxY - character.minY;
  EXPECT_NEAR(characterHeight / cellHeight, ratio, 0.01);
  EXPECT_NEAR((character.maxX - character.minX) / (cell.maxX - cell.minX), ratio, 0.02);
}

TEST(GdiText, EscapementTurnsThePathAboutTheReferencePoint) {
  const int x0 = 300, y0 = 200;
  const LOGFONTA font = Font(-60, "DejaVu Sans");
  const Path upright = TextPath(font, x0, y0, "Ag");
  ASSERT_FALSE(upright.points.empty());
  FreeTypeFace ft(PathOf(font));
  const double ascent = std::round(ft.WinAscent() * 60.0 / ft.face->units_per_EM);
  // Back to an angle met before, and to upright: each turns afresh.
  for (LONG esc : {900, 1800, 2700, 450, 0, 900}) {
    const Path turned = TextPath(Font(-60, "DejaVu Sans", esc), x0, y0, "Ag");
    ASSERT_EQ(turned.points.size(), upright.points.size()) << esc;
    EXPECT_EQ(turned.types, upright.types);
    const double a = esc / 10.0 * 3.141592653589793 / 180.0;
    // The baseline starts one ascent below the reference point, turned and
    // cut to whole pixels; the glyphs turn about that start.
    const double bx = x0 + std::trunc(ascent * std::sin(a));
    const double by = y0 + std::trunc(ascent * std::cos(a));
    for (size_t i = 0; i < upright.points.size(); ++i) {
      // Counter-clockwise on the screen, where y grows downwards. Both
      // paths are rounded to whole pixels.
      const double dx = upright.points[i].x - x0, dy = upright.points[i].y - (y0 + ascent);
      EXPECT_NEAR(turned.points[i].x, bx + dx * std::cos(a) + dy * std::sin(a), 1.25) << esc;
      EXPECT_NEAR(turned.points[i].y, by - dx * std::sin(a) + dy * std::cos(a), 1.25) << esc;
    }
  }
}

TEST(GdiText, SyntheticBoldWidensAndItalicLeans) {
  // The Song stand-in has no bold or italic file, so both are made up.
  const std::string song(kMiddle);
  const Path regular = TextPath(Font(-96, kSong), 0, 0, song);
  const Path bold = TextPath(Font(-96, kSong, 0, FW_BOLD), 0, 0, song);
  const Path italic = TextPath(Font(-96, kSong, 0, FW_NORMAL, 1), 0, 0, song);
  ASSERT_FALSE(regular.points.empty());
  // Made-up bold grows a twenty-fourth of the em across and up.
  EXPECT_NEAR((bold.maxX - bold.minX) - (regular.maxX - regular.minX), 96.0 / 24.0, 1.5);
  EXPECT_NEAR((bold.maxY - bold.minY) - (regular.maxY - regular.minY), 96.0 / 24.0, 1.5);
  EXPECT_GT(italic.maxX - regular.maxX, 5.0);  // the top leans to the right
  EXPECT_NEAR(italic.maxY - italic.minY, regular.maxY - regular.minY, 1.0);
}

TEST(GdiText, FontFilesAreOpenedOnceWhateverTheFontsMadeFromThem) {
  const LOGFONTA lf = Font(-33, "Liberation Mono");
  const Path first = TextPath(lf, 5, 5, "Wx");  // opens the file if no test did yet
  const long loads = InklineFontFileLoads();
  const Path again = TextPath(lf, 5, 5, "Wx");  // a second font from the same description
  const Path bigger = TextPath(Font(-47, "Liberation Mono"), 5, 5, "Wx");
  const Path viaAlias = TextPath(Font(-33, "Courier New"), 5, 5, "Wx");
  EXPECT_EQ(InklineFontFileLoads(), loads);
  EXPECT_EQ(FileOf(lf), "LiberationMono-Regular.ttf");
  EXPECT_FALSE(first.points.empty());
  EXPECT_EQ(again.types, first.types);
  EXPECT_EQ(viaAlias.types, first.types);
  EXPECT_GT(bigger.maxY - bigger.minY, first.maxY - first.minY);
  // A face not opened before costs one load, once.
  TextPath(Font(-20, "DejaVu Serif"), 0, 0, "a");
  const long afterSerif = InklineFontFileLoads();
  TextPath(Font(-21, "DejaVu Serif"), 0, 0, "a");
  EXPECT_EQ(InklineFontFileLoads(), afterSerif);
}

// Each thread keeps the fonts and glyphs it drew lately. Text in more
// fonts than it keeps, fonts telling apart only by weight, and the same
// texts again on another thread all come out as they did the first time.
TEST(GdiText, AThreadsRecentFontsDrawAsFreshOnes) {
  std::vector<LOGFONTA> fonts;
  for (LONG height = -12; height > -52; --height) {
    fonts.push_back(Font(height, "DejaVu Sans"));
    fonts.push_back(Font(height, "DejaVu Sans", 0, FW_BOLD));
  }
  const std::string text = "Ag";
  const auto drawAll = [&] {
    std::vector<Path> paths;
    for (const LOGFONTA& lf : fonts) paths.push_back(TextPath(lf, 3, 4, text));
    return paths;
  };
  const std::vector<Path> first = drawAll();
  std::vector<Path> onAnother;
  std::thread([&] { onAnother = drawAll(); }).join();
  const std::vector<Path> again = drawAll();
  for (size_t i = 0; i < fonts.size(); ++i) {
    SCOPED_TRACE("font " + std::to_string(fonts[i].lfHeight) + (i % 2 ? " bold" : ""));
    ASSERT_FALSE(first[i].points.empty());
    for (const std::vector<Path>* later : {&again, static_cast<const std::vector<Path>*>(&onAnother)}) {
      EXPECT_EQ((*later)[i].types, first[i].types);
      EXPECT_EQ((*later)[i].maxX, first[i].maxX);
      EXPECT_EQ((*later)[i].maxY, first[i].maxY);
    }
    if (i % 2) {
      EXPECT_GT(first[i].maxX - first[i].minX, first[i - 1].maxX - first[i - 1].minX);
    }
  }
}

TEST(GdiPath, GetPathCountsFailsAndCopiesAsDocumented) {
  FontDC c(Font(-40, "DejaVu Sans"));
  POINT pts[200];
  BYTE types[200];
  EXPECT_EQ(GetPath(c.dc, nullptr, nullptr, 0), -1);  // no path yet
  EXPECT_FALSE(EndPath(c.dc));                        // no bracket open
  ASSERT_TRUE(BeginPath(c.dc));
  TextOutA(c.dc, 0, 0, "H", 1);
  EXPECT_EQ(GetPath(c.dc, pts, types, 200), -1);  // the bracket is still open
  ASSERT_TRUE(EndPath(c.dc));
  const int n = GetPath(c.dc, nullptr, nullptr, 0);
  ASSERT_GT(n, 4);
  ASSERT_LT(n, 200);
  EXPECT_EQ(GetPath(c.dc, pts, types, n - 1), -1);  // too small
  EXPECT_EQ(GetPath(c.dc, pts, types, -5), -1);
  EXPECT_EQ(GetPath(c.dc, pts, types, 200), n);
  EXPECT_EQ(GetPath(c.dc, nullptr, nullptr, 0), n);  // reading keeps the path
  // A new bracket discards it; a space outlines nothing.
  ASSERT_TRUE(BeginPath(c.dc));
  TextOutA(c.dc, 0, 0, " ", 1);
  ASSERT_TRUE(EndPath(c.dc));
  EXPECT_EQ(GetPath(c.dc, nullptr, nullptr, 0), 0);
  EXPECT_EQ(GetPath(nullptr, nullptr, nullptr, 0), -1);
}

TEST(GdiText, WritesInTheTextColourOnTheOptionalBackground) {
  FontDC c(Font(40, kSong));  // a cell 40 pixels high
  CollectingSink sink;
  ASSERT_TRUE(InklineSetDCSink(c.dc, &sink));
  SetTextColor(c.dc, RGB(10, 20, 30));
  SetBkColor(c.dc, RGB(200, 210, 220));
  SetBkMode(c.dc, TRANSPARENT);
  const std::string two = std::string(kMiddle) + kMiddle;
  ASSERT_TRUE(TextOutA(c.dc, 100, 50, two.data(), 4));
  SetBkMode(c.dc, OPAQUE);
  ASSERT_TRUE(TextOutA(c.dc, 100, 50, "A", 1));
  ASSERT_EQ(sink.texts.size(), 2u);
  const auto& t = sink.texts[0];
  EXPECT_EQ(t.bytes, two);
  EXPECT_EQ(t.color, RGB(10, 20, 30));
  EXPECT_FALSE(t.opaque);
  // Two full-width characters: twice the em.
  EXPECT_NEAR(t.advance, 2 * t.em, 1.0);
  // The cell hangs from the reference point and holds every glyph point.
  EXPECT_DOUBLE_EQ(t.cell[0].x, 100);
  EXPECT_DOUBLE_EQ(t.cell[0].y, 50);
  EXPECT_NEAR(t.cell[3].y - t.cell[0].y, 40.0, 1e-9);
  ASSERT_FALSE(t.glyphs.empty());
  for (const GdiPoint& p : t.glyphs) {
    EXPECT_GE(p.x, 100 - 1.0);
    EXPECT_LE(p.x, 100 + t.advance + 1.0);
    EXPECT_GE(p.y, 50.0);
    EXPECT_LE(p.y, 90.0);
  }
  EXPECT_TRUE(sink.texts[1].opaque);
  EXPECT_EQ(sink.texts[1].background, RGB(200, 210, 220));
  // Text while a path is open goes into the path, not to the target.
  BeginPath(c.dc);
  TextOutA(c.dc, 0, 0, "A", 1);
  EndPath(c.dc);
  EXPECT_EQ(sink.texts.size(), 2u);
  EXPECT_GT(GetPath(c.dc, nullptr, nullptr, 0), 0);
  InklineSetDCSink(c.dc, nullptr);
}

// A sink may write text of its own from inside Text(), in more fonts than
// the thread and the process keep at hand: what it was handed for the
// outer text, glyph outlines included, stays as it was.
TEST(GdiText, TextWrittenFromInsideASinkLeavesTheOuterTextWhole) {
  struct NestingSink : GdiSink {
    std::vector<GdiPoint> origins, points, originsAfter, pointsAfter;
    static void Copy(const GdiTextOutput& t, std::vector<GdiPoint>* origins,
                     std::vector<GdiPoint>* points) {
      for (int i = 0; i < t.glyphCount; ++i) {
        origins->push_back(t.glyphList[i].origin);
        const GdiPath& outline = t.glyphList[i].outline;
        points->insert(points->end(), outline.points, outline.points + outline.count);
      }
      points->insert(points->end(), t.glyphs.points, t.glyphs.points + t.glyphs.count);
    }
    void Text(const GdiTextOutput& t) override {
      Copy(t, &origins, &points);
      for (int size = 10; size < 150; ++size) {
        FontDC sized(Font(-size, "DejaVu Sans"));
        EXPECT_TRUE(InklineSetDCSink(sized.dc, &quiet));
        EXPECT_TRUE(TextOutA(sized.dc, 7, 9, "i", 1));
      }
      Copy(t, &originsAfter, &pointsAfter);
    }
    void Stroke(const GdiStroke&) override {}
    CollectingSink quiet;
  };
  FontDC outer(Font(-60, "DejaVu Sans"));
  NestingSink sink;
  ASSERT_TRUE(InklineSetDCSink(outer.dc, &sink));
  ASSERT_TRUE(TextOutA(outer.dc, 100, 50, "AWAW", 4));
  InklineSetDCSink(outer.dc, nullptr);
  ASSERT_EQ(sink.origins.size(), 4u);
  ASSERT_FALSE(sink.points.empty());
  EXPECT_EQ(sink.originsAfter.size(), sink.origins.size());
  EXPECT_EQ(sink.pointsAfter.size(), sink.points.size());
  for (size_t i = 0; i < std::min(sink.origins.size(), sink.originsAfter.size()); ++i) {
    EXPECT_EQ(sink.originsAfter[i].x, sink.origins[i].x);
    EXPECT_EQ(sink.originsAfter[i].y, sink.origins[i].y);
  }
  for (size_t i = 0; i < std::min(sink.points.size(), sink.pointsAfter.size()); ++i) {
    EXPECT_EQ(sink.pointsAfter[i].x, sink.points[i].x);
    EXPECT_EQ(sink.pointsAfter[i].y, sink.points[i].y);
  }
}

TEST(GdiText, CharactersAFontLacksComeFromAChineseFont) {
  // The Latin stand-in has no Chinese; the Hei stand-in is whatever Chinese
  // font is installed. Both draw the character.
  for (const char* face : {"Arial", kHei}) {
    const Path p = TextPath(Font(-48, face), 0, 0, kMiddle);
    EXPECT_GT(p.points.size(), 8u) << face;
    EXPECT_GT(p.maxX - p.minX, 24.0) << face;
  }
}

TEST(GdiText, BadBytesAndBadCallsAreSurvived) {
  FontDC c(Font(-20, kSong));
  BeginPath(c.dc);
  EXPECT_TRUE(TextOutA(c.dc, 0, 0, "\xD6", 1));       // a lead byte cut off
  EXPECT_TRUE(TextOutA(c.dc, 0, 0, "\xFF\xFF", 2));   // no such character
  EXPECT_TRUE(TextOutA(c.dc, 0, 0, "abc", 0));
  EXPECT_FALSE(TextOutA(c.dc, 0, 0, "abc", -1));
  EXPECT_FALSE(TextOutA(c.dc, 0, 0, nullptr, 3));
  EXPECT_FALSE(TextOutA(nullptr, 0, 0, "a", 1));
  EndPath(c.dc);
  EXPECT_GE(GetPath(c.dc, nullptr, nullptr, 0), 0);
}

TEST(GdiPolyDraw, StrokesWithTheCurrentPenFromTheCurrentPosition) {
  HDC dc = CreateCompatibleDC(nullptr);
  CollectingSink sink;
  InklineSetDCSink(dc, &sink);
  HPEN pen = CreatePen(PS_SOLID, 3, RGB(1, 2, 3));
  HGDIOBJ oldPen = SelectObject(dc, reinterpret_cast<HGDIOBJ>(pen));
  const POINT square[] = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
  const BYTE closed[] = {PT_MOVETO, PT_LINETO, PT_LINETO, PT_LINETO | PT_CLOSEFIGURE};
  ASSERT_TRUE(PolyDraw(dc, square, closed, 4));
  // A figure that starts with a line starts at the current position, which
  // the closed square left at its first point.
  const POINT curve[] = {{30, 10}, {40, 20}, {50, 10}};
  const BYTE bezier[] = {PT_BEZIERTO, PT_BEZIERTO, PT_BEZIERTO};
  ASSERT_TRUE(PolyDraw(dc, curve, bezier, 3));
  ASSERT_EQ(sink.strokes.size(), 2u);
  EXPECT_EQ(sink.strokes[0].width, 3);
  EXPECT_EQ(sink.strokes[0].color, RGB(1, 2, 3));
  EXPECT_EQ(sink.strokes[0].types, std::vector<BYTE>(closed, closed + 4));
  ASSERT_EQ(sink.strokes[1].types.size(), 4u);
  EXPECT_EQ(sink.strokes[1].types[0], PT_MOVETO);
  EXPECT_DOUBLE_EQ(sink.strokes[1].points[0].x, 10);
  EXPECT_DOUBLE_EQ(sink.strokes[1].points[0].y, 10);

  // Malformed types draw nothing.
  const BYTE twoBeziers[] = {PT_MOVETO, PT_BEZIERTO, PT_BEZIERTO};
  const BYTE unknown[] = {PT_MOVETO, 0, PT_LINETO};
  const BYTE closingControl[] = {PT_BEZIERTO | PT_CLOSEFIGURE, PT_BEZIERTO, PT_BEZIERTO};
  EXPECT_FALSE(PolyDraw(dc, curve, twoBeziers, 3));
  EXPECT_FALSE(PolyDraw(dc, curve, unknown, 3));
  EXPECT_FALSE(PolyDraw(dc, curve, closingControl, 3));
  EXPECT_FALSE(PolyDraw(dc, nullptr, closed, 2));
  EXPECT_EQ(sink.strokes.size(), 2u);

  // While a path is open the figures go into it.
  BeginPath(dc);
  ASSERT_TRUE(PolyDraw(dc, square, closed, 4));
  EndPath(dc);
  EXPECT_EQ(sink.strokes.size(), 2u);
  POINT pts[4];
  BYTE types[4];
  ASSERT_EQ(GetPath(dc, pts, types, 4), 4);
  EXPECT_EQ(pts[2].x, 20);
  EXPECT_EQ(types[3], PT_LINETO | PT_CLOSEFIGURE);

  // A null pen draws nothing.
  SelectObject(dc, GetStockObject(NULL_PEN));
  EXPECT_TRUE(PolyDraw(dc, square, closed, 4));
  EXPECT_EQ(sink.strokes.size(), 2u);
  SelectObject(dc, oldPen);
  DeleteObject(reinterpret_cast<HGDIOBJ>(pen));
  DeleteDC(dc);
}

}  // namespace
