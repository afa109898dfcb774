// A host program built against the installed package: its own device and
// font library, a string object from the factory, calls through the
// interface's table, release with Free.
#include <cstdio>
#include <cstring>

#include <inkline/host/hostlib.h>
#include <inkline/inkline.h>

namespace {

class CountingDevice : public DeviceDriver {
 public:
  short GetDeviceType() override { return 8; }
  void SetPen(PEN*) override { ++calls; }
  void SetBrush(BRUSH*) override { ++calls; }
  void DrawLine(double, double, double, double) override { ++calls; }
  void DrawPolylines(D_POINT*, int*, short) override { ++calls; }
  void FillPolygon(D_POINT*, int*, int) override { ++calls; }
  void FillPolygons(D_POINT*, int*, short) override { ++calls; }
  short GetRationalDispMode() override { return 1; }
  int calls = 0;
};

class OneFont : public MapFont {
 public:
  short GetCharOutline(char*, double** p, int** s, short* n, double) override {
    static double pts[] = {0, 0, 20, 0, 20, 40};
    static int sizes[] = {3};
    *p = pts;
    *s = sizes;
    *n = 1;
    return 1;
  }
  double CharLength(char*) override { return 40.0; }
  short GetYOffset() override { return 0; }
};

class OneFontLib : public MapFontLib {
 public:
  short GetFontByName(char*, MapFont** f) override { *f = &font; return 1; }
  short GetFontByNo(short, MapFont** f) override { *f = &font; return 1; }
  short GetFontNoByName(char*) override { return 0; }
  short GetFontName(short, char** name) override { std::strcpy(*name, "One"); return 1; }
  short GetLibType() override { return 2; }
  OneFont font;
};

}  // namespace

int main() {
  CountingDevice device;
  OneFontLib fonts;
  SetMapFontLib(&fonts);

  MapString* s = nullptr;
  if (CreateMapString(&device, &s) != 1 || !s) return 1;
  if (s->SetScale(1.0, 1.0, 1.0) != 1 || s->SetClipFlag(0.0) != 1) return 2;
  char text[] = "AB";
  s->StringOut(text, 10, 10, 12, 12, 0, 0, 0, 0, 0, 0, 0, nullptr);
  s->Free();
  if (Inkline_ExportFunctionPTR() != nullptr) return 3;
  SetMapFontLib(nullptr);
  std::printf("consumer ok\n");
  return 0;
}
