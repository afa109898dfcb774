// An example Windows host: draws showcase annotations through inkline.dll on
// a GDI device (a DIB section) with a font library read from GDI, and writes
// the picture as a BMP file.
//   windows_host.exe [OUT.bmp]
#include <cstdio>
#include <string>

#include <inkline/host/gdi_dib_device.h>
#include <inkline/host/gdi_font_lib.h>
#include <inkline/host/hostlib.h>
#include <inkline/inkline.h>

namespace {

constexpr double kScale = 3.125;  // device pixels per map unit: 320 x 200 units

struct Annotation {
  const char* text;  // GBK
  double x, y, height, width, angle;
  short font, style, textColor, boxColor;
  double extra;
  char arrangement;
};

// Style bits: low byte the slant, 0x0400 outlined, 0x0800 hollow, 0x1000 bold,
// 0x2000 underline, 0x4000 strike-out.
const Annotation kAnnotations[] = {
    {"inkline \xB5\xD8\xCD\xBC\xD7\xA2\xBC\xC7 annotation text", 10, 182, 11, 11, 0, 0, 0, 4, 0, 0, 0},
    {"H#-2#=O + CO#-2", 10, 160, 7, 6, 0, 1, 0, 1, 0, 0, 0},
    {"X#+2#-3#=a", 80, 160, 7, 6, 0, 1, 0, 1, 0, 0, 0},
    {"/1/2/", 140, 160, 7, 6, 0, 1, 0, 1, 0, 0, 0},
    {"/a+b/c-d/", 165, 160, 7, 6, 0, 1, 0, 1, 0, 0, 0},
    {"upright", 10, 140, 6, 5, 0, 1, 0, 1, 0, 0, 0},
    {"backslant", 55, 140, 6, 5, 0, 1, 1, 2, 0, 0, 0},
    {"italic", 100, 140, 6, 5, 0, 1, 2, 4, 0, 0, 0},
    {"rising", 145, 140, 6, 5, 0, 1, 3, 3, 0, 0, 0},
    {"falling", 190, 140, 6, 5, 0, 1, 4, 9, 0, 0, 0},
    {"Shadow", 10, 125, 7, 6, 0, 1, 0x0100, 3, 0, 0, 0},
    {"Bold", 50, 125, 7, 6, 0, 1, 0x1000, 1, 0, 0, 0},
    {"Underline", 80, 125, 7, 6, 0, 1, 0x2000, 4, 0, 0, 0},
    {"Strike-out", 130, 125, 7, 6, 0, 1, 0x4000, 2, 0, 0, 0},
    {"Outlined", 185, 125, 7, 6, 0, 1, 0x0400, 5, 2, 2, 0},
    {"Hollow", 235, 125, 7, 6, 0, 1, 0x0800, 4, 0, 0, 0},
    {"Box", 275, 125, 7, 6, 0, 1, 0, 1, 6, 1.2, 0},
    {"TrueType \xD6\xD0\xCE\xC4", 10, 105, 9, 9, 0, 0, 0, 1, 0, 0, 0},
    {"Serif bold", 10, 92, 8, 8, 0, 2, 0x1000, 4, 0, 0, 0},
    {"Rotated 30 \xD0\xFD\xD7\xAA", 20, 60, 8, 8, 30, 0, 0, 9, 0, 0, 0},
    {"\xCA\xFA\xC5\xC5\xCE\xC4\xD7\xD6", 120, 105, 8, 8, 0, 0, 0, 2, 0, 0, 1},
    {"Vertical", 135, 105, 6, 6, 0, 1, 0, 4, 0, 0, 1},
    {"\xBA\xDA\xCC\xE5 \xBF\xAC\xCC\xE5 \xCB\xCE\xCC\xE5", 160, 75, 7, 7, 0, 0, 0, 2, 0, 0, 0},
};

const char kRichText[] =
    "<body size=6><font color=4>Rich text</font> in a box: <strong>bold</strong>, "
    "<em>italic</em>, <u>underlined</u>, H<sub>2</sub>O and x<sup>2</sup>.</body>";

}  // namespace

int main(int argc, char** argv) {
  const std::string out = argc > 1 ? argv[1] : "windows_host.bmp";
  GdiOutlineFontLib fonts;
  fonts.AddFont(0, "AR PL UMing CN");
  fonts.AddFont(1, "DejaVu Sans");
  fonts.AddFont(2, "Liberation Serif");
  ScopedMapFontLib installed(&fonts);

  GdiDibDevice::Options options;
  options.width = 1000;
  options.height = 625;
  GdiDibDevice device(options);
  if (!device.ok()) {
    std::fprintf(stderr, "windows_host: cannot make the picture\n");
    return 1;
  }
  MapString* s = nullptr;
  CreateMapString(&device, &s);
  if (!s) return 1;
  s->SetScale(kScale, 1.0, 1.0);  // sizes: map units times the first two scales
  for (const Annotation& a : kAnnotations) {
    // The host's current pen and brush colour the text.
    PEN pen{1.0, a.textColor, 0};
    BRUSH brush{a.textColor, 0, 0, 0};
    device.SetPen(&pen);
    device.SetBrush(&brush);
    std::string text = a.text;
    s->StringOut(&text[0], a.x * kScale, a.y * kScale, a.height, a.width, a.font, a.style,
                 a.angle, 0, a.arrangement, a.boxColor, a.extra, nullptr);
  }
  std::string markup = kRichText;
  D_RECT box{150 * kScale, 8 * kScale, 310 * kScale, 40 * kScale};
  PEN black{1.0, 1, 0};
  BRUSH blackFill{1, 0, 0, 0};
  device.SetPen(&black);
  device.SetBrush(&blackFill);
  s->HTMLStringOut(&markup[0], 0, 0, &box, 0);
  s->Free();

  if (!device.WriteBmp(out)) {
    std::fprintf(stderr, "windows_host: cannot write %s\n", out.c_str());
    return 1;
  }
  std::printf("wrote %s (%ld pixels inked)\n", out.c_str(), device.InkedPixels());
  return device.InkedPixels() > 1000 ? 0 : 1;
}
