// Place names in the world's scripts, drawn by the command to PNG, PDF and
// SVG, each compared with HarfBuzz's own shaping of the same text in the
// faces the command is to choose, drawn by Cairo: by the shape of their ink
// (glyph forms, order, joins and marks all show in it). The PDF's text and
// the SVG's text give each name in reading order.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <hb-ot.h>
#include <hb.h>

#include <gtest/gtest.h>

#include "extent_measure.h"
#include "fonts.h"
#include "placement/geometry.h"

namespace {

// One run of a name as it stands on the line, in the family it is drawn in.
struct TextRun {
  std::string text;
  const char* family;
};

struct Sample {
  const char* script;
  std::string name;
  std::vector<TextRun> runs;  // left to right
  bool cjkOnly = false;   // drawn in font 0's face, sized by its cell
  bool shaped = true;     // its script joins, reorders, stacks marks or reads right to left
};

const std::vector<Sample>& Samples() {
  static const std::vector<Sample> samples = {
      {"Latin", "S\xCC\xA7" "anl\xC4\xB1urfa", {{"S\xCC\xA7" "anl\xC4\xB1urfa", "Noto Sans"}}},
      {"Latin", "S\xC3\xA3o Paulo", {{"S\xC3\xA3o Paulo", "Noto Sans"}}, false, false},
      {"Cyrillic", "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", {{"\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", "Noto Sans"}}, false, false},
      {"Greek", "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1", {{"\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1", "Noto Sans"}}, false, false},
      {"Arabic", "\xD8\xA7\xD9\x84\xD9\x82\xD8\xA7\xD9\x87\xD8\xB1\xD8\xA9", {{"\xD8\xA7\xD9\x84\xD9\x82\xD8\xA7\xD9\x87\xD8\xB1\xD8\xA9", "Noto Sans Arabic"}}},
      {"Persian", "\xD8\xAA\xD9\x87\xD8\xB1\xD8\xA7\xD9\x86", {{"\xD8\xAA\xD9\x87\xD8\xB1\xD8\xA7\xD9\x86", "Noto Sans Arabic"}}},
      {"Urdu", "\xD9\x84\xD8\xA7\xDB\x81\xD9\x88\xD8\xB1", {{"\xD9\x84\xD8\xA7\xDB\x81\xD9\x88\xD8\xB1", "Noto Sans Arabic"}}},
      {"Hebrew", "\xD7\x99\xD7\xA8\xD7\x95\xD7\xA9\xD7\x9C\xD7\x99\xD7\x9D", {{"\xD7\x99\xD7\xA8\xD7\x95\xD7\xA9\xD7\x9C\xD7\x99\xD7\x9D", "Noto Sans Hebrew"}}},
      {"Devanagari", "\xE0\xA4\xA6\xE0\xA4\xBF\xE0\xA4\xB2\xE0\xA5\x8D\xE0\xA4\xB2\xE0\xA5\x80", {{"\xE0\xA4\xA6\xE0\xA4\xBF\xE0\xA4\xB2\xE0\xA5\x8D\xE0\xA4\xB2\xE0\xA5\x80", "Noto Sans Devanagari"}}},
      {"Bengali", "\xE0\xA6\xA2\xE0\xA6\xBE\xE0\xA6\x95\xE0\xA6\xBE", {{"\xE0\xA6\xA2\xE0\xA6\xBE\xE0\xA6\x95\xE0\xA6\xBE", "Noto Sans Bengali"}}},
      {"Tamil", "\xE0\xAE\x9A\xE0\xAF\x86\xE0\xAE\xA9\xE0\xAF\x8D\xE0\xAE\xA9\xE0\xAF\x88", {{"\xE0\xAE\x9A\xE0\xAF\x86\xE0\xAE\xA9\xE0\xAF\x8D\xE0\xAE\xA9\xE0\xAF\x88", "Noto Sans Tamil"}}},
      {"Thai", "\xE0\xB8\x81\xE0\xB8\xA3\xE0\xB8\xB8\xE0\xB8\x87\xE0\xB9\x80\xE0\xB8\x97\xE0\xB8\x9E", {{"\xE0\xB8\x81\xE0\xB8\xA3\xE0\xB8\xB8\xE0\xB8\x87\xE0\xB9\x80\xE0\xB8\x97\xE0\xB8\x9E", "Noto Sans Thai"}}},
      {"Khmer", "\xE1\x9E\x97\xE1\x9F\x92\xE1\x9E\x93\xE1\x9F\x86\xE1\x9E\x96\xE1\x9F\x81\xE1\x9E\x89", {{"\xE1\x9E\x97\xE1\x9F\x92\xE1\x9E\x93\xE1\x9F\x86\xE1\x9E\x96\xE1\x9F\x81\xE1\x9E\x89", "Noto Sans Khmer"}}},
      {"Myanmar", "\xE1\x80\x9B\xE1\x80\x94\xE1\x80\xBA\xE1\x80\x80\xE1\x80\xAF\xE1\x80\x94\xE1\x80\xBA", {{"\xE1\x80\x9B\xE1\x80\x94\xE1\x80\xBA\xE1\x80\x80\xE1\x80\xAF\xE1\x80\x94\xE1\x80\xBA", "Noto Sans Myanmar"}}},
      {"Ethiopic", "\xE1\x8A\xA0\xE1\x8B\xB2\xE1\x88\xB5 \xE1\x8A\xA0\xE1\x89\xA0\xE1\x89\xA3",
       {{"\xE1\x8A\xA0\xE1\x8B\xB2\xE1\x88\xB5", "Noto Sans Ethiopic"}, {" ", "Noto Sans"},
        {"\xE1\x8A\xA0\xE1\x89\xA0\xE1\x89\xA3", "Noto Sans Ethiopic"}}},
      {"Georgian", "\xE1\x83\x97\xE1\x83\x91\xE1\x83\x98\xE1\x83\x9A\xE1\x83\x98\xE1\x83\xA1\xE1\x83\x98", {{"\xE1\x83\x97\xE1\x83\x91\xE1\x83\x98\xE1\x83\x9A\xE1\x83\x98\xE1\x83\xA1\xE1\x83\x98", "Noto Sans Georgian"}}},
      {"Armenian", "\xD4\xB5\xD6\x80\xD6\x87\xD5\xA1\xD5\xB6", {{"\xD4\xB5\xD6\x80\xD6\x87\xD5\xA1\xD5\xB6", "Noto Sans Armenian"}}},
      {"Chinese", "\xE5\x8C\x97\xE4\xBA\xAC", {{"\xE5\x8C\x97\xE4\xBA\xAC", "AR PL UMing CN"}}, true, false},
      {"Japanese", "\xE6\x9D\xB1\xE4\xBA\xAC", {{"\xE6\x9D\xB1\xE4\xBA\xAC", "AR PL UMing CN"}}, true, false},
      {"Korean", "\xEC\x84\x9C\xEC\x9A\xB8", {{"\xEC\x84\x9C\xEC\x9A\xB8", "Noto Sans CJK KR"}}, true},
      // Right to left from its first letter: the Latin and the digits keep
      // their own order, on the left.
      {"Arabic, digits and Latin", "\xD8\xAF\xD8\xA8\xD9\x8A 2020 Dubai",
       {{"Dubai 2020 ", "Noto Sans"}, {"\xD8\xAF\xD8\xA8\xD9\x8A", "Noto Sans Arabic"}}},
  };
  return samples;
}

constexpr int kCellWidth = 500, kCellHeight = 100, kColumns = 2;
constexpr double kEm = 40;  // pixels per em of the labels' sans face

struct Face {
  std::string file;
  int index = 0;
  double upem = 1000, cell = 1000;  // font units: per em, and ascent + descent as GDI counts them
};

// The installed face of exactly this family.
Face FaceOf(const std::string& family) {
  Face face;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family.c_str()));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  FcChar8* got = nullptr;
  FcChar8* file = nullptr;
  if (match && FcPatternGetString(match, FC_FAMILY, 0, &got) == FcResultMatch &&
      FcStrCmpIgnoreCase(got, reinterpret_cast<const FcChar8*>(family.c_str())) == 0 &&
      FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
    face.file = reinterpret_cast<const char*>(file);
    FcPatternGetInteger(match, FC_INDEX, 0, &face.index);
  }
  if (match) FcPatternDestroy(match);
  FT_Library lib;
  FT_Face ft;
  if (!face.file.empty() && FT_Init_FreeType(&lib) == 0) {
    if (FT_New_Face(lib, face.file.c_str(), face.index, &ft) == 0) {
      face.upem = ft->units_per_EM;
      const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
      face.cell = os2 ? os2->usWinAscent + os2->usWinDescent : ft->ascender - ft->descender;
      FT_Done_Face(ft);
    }
    FT_Done_FreeType(lib);
  }
  return face;
}

// Dark pixels of an image: ink.
struct Ink {
  int width = 0, height = 0;
  std::vector<unsigned char> on;
  bool At(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height && on[static_cast<size_t>(y * width + x)];
  }
  int Count() const { return static_cast<int>(std::count(on.begin(), on.end(), 1)); }
};

Ink InkOf(cairo_surface_t* s, int x0, int y0, int w, int h) {
  Ink ink;
  ink.width = w;
  ink.height = h;
  ink.on.assign(static_cast<size_t>(w * h), 0);
  cairo_surface_flush(s);
  const int sw = cairo_image_surface_get_width(s), sh = cairo_image_surface_get_height(s);
  const int stride = cairo_image_surface_get_stride(s);
  const unsigned char* data = cairo_image_surface_get_data(s);
  const bool alpha = cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (x0 + x >= sw || y0 + y >= sh) continue;
      const unsigned char* p = data + (y0 + y) * stride + (x0 + x) * 4;
      const bool opaque = !alpha || p[3] > 127;
      ink.on[static_cast<size_t>(y * w + x)] = opaque && (p[0] + p[1] + p[2]) / 3 < 128;
    }
  return ink;
}

struct Box {
  int x0 = 1 << 20, y0 = 1 << 20, x1 = -1, y1 = -1;
  bool Empty() const { return x1 < x0; }
};

Box BoxOf(const Ink& ink) {
  Box b;
  for (int y = 0; y < ink.height; ++y)
    for (int x = 0; x < ink.width; ++x)
      if (ink.At(x, y)) {
        b.x0 = std::min(b.x0, x), b.y0 = std::min(b.y0, y);
        b.x1 = std::max(b.x1, x), b.y1 = std::max(b.y1, y);
      }
  return b;
}

// How much of a's ink lies within a pixel of b's, their boxes' corners laid
// on each other.
double Covered(const Ink& a, const Box& boxA, const Ink& b, const Box& boxB) {
  int inside = 0, all = 0;
  for (int y = boxA.y0; y <= boxA.y1; ++y)
    for (int x = boxA.x0; x <= boxA.x1; ++x) {
      if (!a.At(x, y)) continue;
      ++all;
      const int bx = x - boxA.x0 + boxB.x0, by = y - boxA.y0 + boxB.y0;
      bool near = false;
      for (int dy = -1; dy <= 1 && !near; ++dy)
        for (int dx = -1; dx <= 1 && !near; ++dx) near = b.At(bx + dx, by + dy);
      inside += near;
    }
  return all ? static_cast<double>(inside) / all : 0.0;
}

// How much of either's ink must lie within a pixel of the other's: our own
// glyphs, and a viewer's shaping of our text (SVG), which hints and spaces
// words a little differently. A mark drawn beside its letter instead of
// under it leaves about 0.97; reversed, unjoined or unordered letters 0.3
// to 0.8.
constexpr double kOwnGlyphs = 0.98, kViewersGlyphs = 0.93;

// The verdict on a name drawn by us against its reference; empty when alike.
std::string Compare(const Ink& ours, const Ink& reference, double least) {
  const Box a = BoxOf(ours), b = BoxOf(reference);
  if (a.Empty()) return "nothing drawn";
  const int dw = std::abs((a.x1 - a.x0) - (b.x1 - b.x0)), dh = std::abs((a.y1 - a.y0) - (b.y1 - b.y0));
  const int slack = 2 + (b.x1 - b.x0) / 40;
  std::ostringstream why;
  if (dw > slack || dh > 2 + (b.y1 - b.y0) / 40)
    why << "ink box " << a.x1 - a.x0 << "x" << a.y1 - a.y0 << " against " << b.x1 - b.x0 << "x"
        << b.y1 - b.y0 << "; ";
  const double ourInk = Covered(ours, a, reference, b), theirInk = Covered(reference, b, ours, a);
  if (ourInk < least || theirInk < least)
    why << "ink within a pixel of the reference's: " << ourInk << ", reference's within ours: " << theirInk;
  return why.str();
}

// HarfBuzz's glyphs of a run of text in a face, positions in font units.
struct HarfBuzzRun {
  std::vector<hb_glyph_info_t> info;
  std::vector<hb_glyph_position_t> pos;
};

HarfBuzzRun ShapedByHarfBuzz(const Face& face, const std::string& text) {
  hb_blob_t* blob = hb_blob_create_from_file(face.file.c_str());
  hb_face_t* hbFace = hb_face_create(blob, static_cast<unsigned>(face.index));
  hb_font_t* font = hb_font_create(hbFace);
  hb_buffer_t* buffer = hb_buffer_create();
  hb_buffer_add_utf8(buffer, text.data(), static_cast<int>(text.size()), 0, -1);
  hb_buffer_guess_segment_properties(buffer);
  hb_shape(font, buffer, nullptr, 0);
  unsigned n = 0;
  const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &n);
  const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, nullptr);
  HarfBuzzRun run{std::vector<hb_glyph_info_t>(info, info + n), std::vector<hb_glyph_position_t>(pos, pos + n)};
  hb_buffer_destroy(buffer);
  hb_font_destroy(font);
  hb_face_destroy(hbFace);
  hb_blob_destroy(blob);
  return run;
}

// HarfBuzz's shaping of the sample's runs, each in its face, drawn one after
// the other by Cairo at em pixels per em (unhinted), in black on white.
Ink Reference(const Sample& sample, double em, bool hinted = false) {
  const int w = kCellWidth, h = kCellHeight;
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  // Pictures grid-fit glyphs at whole pixels per em, as GDI does.
  cairo_font_options_set_hint_style(options, hinted ? CAIRO_HINT_STYLE_FULL : CAIRO_HINT_STYLE_NONE);
  double pen = 10;
  const double baseline = 70;
  for (const TextRun& run : sample.runs) {
    const Face face = FaceOf(run.family);
    const HarfBuzzRun shaped = ShapedByHarfBuzz(face, run.text);
    const double scale = em / face.upem;
    std::vector<cairo_glyph_t> glyphs;
    for (size_t i = 0; i < shaped.info.size(); ++i) {
      glyphs.push_back(cairo_glyph_t{shaped.info[i].codepoint, pen + shaped.pos[i].x_offset * scale,
                                     baseline - shaped.pos[i].y_offset * scale});
      pen += shaped.pos[i].x_advance * scale;
    }
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(face.file.c_str()));
    FcPatternAddInteger(pattern, FC_INDEX, face.index);
    cairo_font_face_t* cairoFace = cairo_ft_font_face_create_for_pattern(pattern);
    cairo_set_font_face(cr, cairoFace);
    cairo_set_font_size(cr, em);
    cairo_set_font_options(cr, options);
    cairo_show_glyphs(cr, glyphs.data(), static_cast<int>(glyphs.size()));
    cairo_font_face_destroy(cairoFace);
    FcPatternDestroy(pattern);
  }
  cairo_font_options_destroy(options);
  cairo_destroy(cr);
  Ink ink = InkOf(s, 0, 0, w, h);
  cairo_surface_destroy(s);
  return ink;
}

class ScriptSheet : public ::testing::Test {
 protected:
  void SetUp() override {
    char templ[] = "/tmp/inkline-scripts-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = templ;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  static int Run(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  static std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  int Rows() const { return (static_cast<int>(Samples().size()) + kColumns - 1) / kColumns; }

  // The sheet: a label a cell, none naming a font, with the sans face's em
  // at kEm pixels.
  std::string Layer(double sansCellPerEm) const {
    const int height = Rows() * kCellHeight;
    std::ostringstream out;
    out.precision(10);
    out << "{\"type\":\"FeatureCollection\",\"view\":{\"bbox\":[0,0," << kColumns * kCellWidth << ","
        << height << "],\"size\":[" << kColumns * kCellWidth << "," << height << "]},\"features\":[";
    for (size_t i = 0; i < Samples().size(); ++i) {
      const int col = static_cast<int>(i) % kColumns, row = static_cast<int>(i) / kColumns;
      out << (i ? "," : "") << "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":["
          << col * kCellWidth + 10 << "," << height - (row + 1) * kCellHeight + 15
          << "]},\"properties\":{\"text\":\"" << Samples()[i].name << "\",\"height\":\""
          << kEm * sansCellPerEm << "px\"}}";
    }
    out << "]}";
    return out.str();
  }

  // Draws the sheet to out with the command and reads the picture back,
  // one pixel a point.
  cairo_surface_t* Picture(const std::string& layer, const std::string& out) {
    const std::string path = dir_ + "/" + out;
    EXPECT_EQ(Run(std::string(INKLINE_COMMAND) + " render '" + layer + "' -q -o '" + path + "'"), 0) << out;
    std::string png = path;
    if (out.find(".pdf") != std::string::npos) {
      EXPECT_EQ(Run("pdftoppm -r 72 -png -singlefile '" + path + "' '" + dir_ + "/pdf'"), 0);
      png = dir_ + "/pdf.png";
    } else if (out.find(".svg") != std::string::npos) {
      EXPECT_EQ(Run("rsvg-convert -d 72 -p 72 -b white '" + path + "' -o '" + dir_ + "/svg.png'"), 0);
      png = dir_ + "/svg.png";
    }
    return cairo_image_surface_create_from_png(png.c_str());
  }

  // The references of every sample in its cell, as one picture.
  void KeepReferences(const std::string& path, bool png, double sansCell, const Face& song) const {
    cairo_surface_t* sheet =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, kColumns * kCellWidth, Rows() * kCellHeight);
    unsigned char* data = cairo_image_surface_get_data(sheet);
    const int stride = cairo_image_surface_get_stride(sheet);
    std::memset(data, 255, static_cast<size_t>(stride) * static_cast<size_t>(Rows() * kCellHeight));
    for (size_t i = 0; i < Samples().size(); ++i) {
      const Sample& s = Samples()[i];
      double em = s.cjkOnly ? kEm * sansCell * song.upem / song.cell : kEm;
      if (png) em = std::round(em);
      const Ink ink = Reference(s, em, png);
      const int x0 = static_cast<int>(i) % kColumns * kCellWidth, y0 = static_cast<int>(i) / kColumns * kCellHeight;
      for (int y = 0; y < kCellHeight; ++y)
        for (int x = 0; x < kCellWidth; ++x)
          std::memset(data + (y0 + y) * stride + (x0 + x) * 4, ink.At(x, y) ? 0 : 255, 4);
    }
    cairo_surface_mark_dirty(sheet);
    cairo_surface_write_to_png(sheet, path.c_str());
    cairo_surface_destroy(sheet);
  }

  std::string dir_;
};

TEST_F(ScriptSheet, EveryScriptInEveryOutputLooksAsHarfBuzzShapesIt) {
  const Face sans = FaceOf("Noto Sans"), song = FaceOf("AR PL UMing CN");
  ASSERT_FALSE(sans.file.empty() || song.file.empty()) << "Noto Sans or AR PL UMing is not installed";
  for (const Sample& s : Samples())
    for (const TextRun& r : s.runs) ASSERT_FALSE(FaceOf(r.family).file.empty()) << r.family << " is not installed";
  const double sansCell = sans.cell / sans.upem;
  const std::string layer = dir_ + "/scripts.geojson";
  std::ofstream(layer) << Layer(sansCell);

  // INKLINE_SCRIPT_SHEET=DIR keeps the three pictures and the references
  // drawn in their place, to look at side by side.
  const char* keep = std::getenv("INKLINE_SCRIPT_SHEET");
  for (const char* out : {"sheet.png", "sheet.pdf", "sheet.svg"}) {
    cairo_surface_t* picture = Picture(layer, out);
    if (keep) cairo_surface_write_to_png(picture, (std::string(keep) + "/" + out + ".png").c_str());
    ASSERT_EQ(cairo_surface_status(picture), CAIRO_STATUS_SUCCESS) << out;
    const bool png = std::string(out) == "sheet.png", svg = std::string(out) == "sheet.svg";
    int passed = 0;
    for (size_t i = 0; i < Samples().size(); ++i) {
      const Sample& s = Samples()[i];
      // A CJK name is sized by font 0's cell; the portable GDI writes whole pixels per em.
      double em = s.cjkOnly ? kEm * sansCell * song.upem / song.cell : kEm;
      if (png) em = std::round(em);
      const int col = static_cast<int>(i) % kColumns, row = static_cast<int>(i) / kColumns;
      const Ink ours = InkOf(picture, col * kCellWidth, row * kCellHeight, kCellWidth, kCellHeight);
      const std::string why = Compare(ours, Reference(s, em, png), svg ? kViewersGlyphs : kOwnGlyphs);
      EXPECT_EQ(why, "") << out << ": " << s.script << " " << s.name;
      passed += why.empty();
    }
    EXPECT_EQ(passed, static_cast<int>(Samples().size())) << out;
    if (keep) KeepReferences(std::string(keep) + "/" + out + ".reference.png", png, sansCell, song);
    cairo_surface_destroy(picture);
  }
}

// Strips the marks a text extractor wraps right-to-left words in.
std::string WithoutDirectionMarks(std::string text) {
  for (const char* mark : {"\xE2\x80\xAA", "\xE2\x80\xAB", "\xE2\x80\xAC", "\xE2\x80\x8E", "\xE2\x80\x8F"}) {
    for (size_t at = text.find(mark); at != std::string::npos; at = text.find(mark)) text.erase(at, 3);
  }
  return text;
}

TEST_F(ScriptSheet, PdfAndSvgTextGiveEveryNameInReadingOrder) {
  const Face sans = FaceOf("Noto Sans");
  const std::string layer = dir_ + "/scripts.geojson";
  std::ofstream(layer) << Layer(sans.cell / sans.upem);
  ASSERT_EQ(Run(std::string(INKLINE_COMMAND) + " render '" + layer + "' -q -o '" + dir_ + "/t.pdf'"), 0);
  ASSERT_EQ(Run("pdftotext -layout '" + dir_ + "/t.pdf' '" + dir_ + "/t.txt'"), 0);
  const std::string pdfText = WithoutDirectionMarks(Slurp(dir_ + "/t.txt"));
  ASSERT_EQ(Run(std::string(INKLINE_COMMAND) + " render '" + layer + "' -q -o '" + dir_ + "/t.svg'"), 0);
  std::string svgText;  // the native text's characters, tags left out
  const std::string svg = Slurp(dir_ + "/t.svg");
  bool inTag = false;
  for (size_t i = svg.find("<g id=\"native-text\">"); i < svg.size(); ++i) {
    if (svg[i] == '<') inTag = true;
    else if (svg[i] == '>') inTag = false;
    else if (!inTag && svg[i] != '\n') svgText += svg[i];
  }
  for (const Sample& s : Samples()) {
    EXPECT_NE(svgText.find(s.name), std::string::npos) << "SVG: " << s.script << " " << s.name;
    // A name that is shaped stays one piece of text, marks with their letters.
    if (s.shaped) {
      EXPECT_NE(svg.find(">" + s.name + "</tspan>"), std::string::npos) << "SVG: " << s.name;
    }
    // A line of mixed directions comes out of a PDF in its reader's order;
    // each of its words reads right.
    std::istringstream words(s.name);
    for (std::string word; words >> word;)
      EXPECT_NE(pdfText.find(word), std::string::npos) << "PDF: " << s.script << " " << word;
    if (s.runs.size() == 1 || s.name.find(' ') == std::string::npos) {
      EXPECT_NE(pdfText.find(s.name), std::string::npos) << "PDF: " << s.script << " " << s.name;
    }
  }
}

// A name the label's Latin font lacks draws in PDF and SVG as in the PNG:
// from the face the PNG falls back to, never as boxes.
TEST_F(ScriptSheet, NativeTextFallsBackAsThePictureDoes) {
  const std::string layer = dir_ + "/latin.geojson";
  std::ofstream(layer) << "{\"type\":\"FeatureCollection\",\"view\":{\"bbox\":[0,0,300,100],\"size\":[300,100]},"
                          "\"features\":[{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[10,20]},"
                          "\"properties\":{\"text\":\"\xE5\x8C\x97\xE4\xBA\xAC Beijing\",\"height\":\"40px\",\"font\":\"Arial\"}}]}";
  cairo_surface_t* png = Picture(layer, "latin.png");
  const Ink reference = InkOf(png, 0, 0, 300, 100);
  for (const char* out : {"latin.pdf", "latin.svg"}) {
    cairo_surface_t* picture = Picture(layer, out);
    EXPECT_EQ(Compare(InkOf(picture, 0, 0, 300, 100), reference, kViewersGlyphs), "") << out;
    cairo_surface_destroy(picture);
  }
  cairo_surface_destroy(png);
}

// Bold and italic rich text: PDF and SVG native text look as the PNG, whose
// GDI makes both up; the same words upright and regular do not.
TEST_F(ScriptSheet, NativeTextKeepsBoldAndItalic) {
  const auto layer = [&](const std::string& name, const std::string& body) {
    const std::string path = dir_ + "/" + name;
    std::ofstream(path) << "{\"type\":\"FeatureCollection\",\"view\":{\"bbox\":[0,0,400,60],\"size\":[400,60]},"
                           "\"features\":[{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[0,0]},"
                           "\"properties\":{\"html\":\"<body size=32 space=0 hvpl=0 bgcolor=0>"
                        << body << "</body>\",\"box\":[10,5,390,55]}}]}";
    return path;
  };
  const std::string styled = layer("styled.geojson", "<strong>Bold</strong> <em>slanted</em>");
  const std::string plain = layer("plain.geojson", "Bold slanted");
  cairo_surface_t* png = Picture(styled, "styled.png");
  const Ink reference = InkOf(png, 0, 0, 400, 60);
  for (const char* out : {"styled.pdf", "styled.svg"}) {
    cairo_surface_t* picture = Picture(styled, out);
    EXPECT_EQ(Compare(InkOf(picture, 0, 0, 400, 60), reference, kViewersGlyphs), "") << out;
    cairo_surface_destroy(picture);
  }
  cairo_surface_t* upright = Picture(plain, "plain.pdf");
  EXPECT_NE(Compare(InkOf(upright, 0, 0, 400, 60), reference, kViewersGlyphs), "");
  cairo_surface_destroy(upright);
  cairo_surface_destroy(png);
}

// HarfBuzz's advance of a run of text in a family, in ems.
double AdvanceOf(const std::string& text, const char* family) {
  const Face face = FaceOf(family);
  double advance = 0;
  for (const hb_glyph_position_t& p : ShapedByHarfBuzz(face, text).pos) advance += p.x_advance;
  return advance / face.upem;
}

// Placement measures a shaped label by its shaped advances, not by the
// advances its letters would have one by one.
TEST(ScriptExtents, PlacementMeasuresTheShapedText) {
  Diagnostics diagnostics;
  std::string error;
  std::unique_ptr<FontSet> fonts = LoadFonts(FontOptions{}, diagnostics, &error);
  ASSERT_TRUE(fonts) << error;
  const Face sans = FaceOf("Noto Sans");
  View view;  // one pixel a map unit
  ExtentMeasurer measurer(view, PlaceFonts{fonts->vector(), fonts->stroke(), &fonts->Shaper(),
                                          fonts->NumberOf(kUnnamedLabelsFont)});
  for (const Sample& s : Samples()) {
    if (!s.shaped || s.cjkOnly || s.runs.size() != 1) continue;
    Label label;
    label.plain = PlainLabel{};
    label.plain->text = s.name;
    label.plain->height = label.plain->width = kEm * sans.cell / sans.upem;
    const placement::Box box = placement::BoundsOf(measurer.Measure(label, 0));
    // The run's box is whole device units.
    EXPECT_NEAR(box.maxx - box.minx, kEm * AdvanceOf(s.name, s.runs[0].family), 1.0) << s.script;
  }
}

}  // namespace
