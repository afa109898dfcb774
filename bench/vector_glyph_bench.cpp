// Glyphs per second through the vector path: real outlines from the font
// library over FreeType, drawn on a device that throws the geometry away, so
// the figure is the library's own cost (outline transform, pens, layout).
#include <benchmark/benchmark.h>

#include <inkline/host/freetype_font_lib.h>
#include <inkline/host/hostlib.h>
#include <inkline/inkline.h>

namespace {

class NullDevice : public DeviceDriver {
 public:
  short GetDeviceType() override { return 0; }
  void SetPen(PEN* pen) override { CurPen = *pen; }
  void SetBrush(BRUSH* brush) override { CurBrush = *brush; }
  void DrawLine(double, double, double, double) override {}
  void DrawPolylines(D_POINT* p, int*, short) override { benchmark::DoNotOptimize(p); }
  void FillPolygon(D_POINT* p, int*, int) override { benchmark::DoNotOptimize(p); }
  void FillPolygons(D_POINT* p, int*, short) override { benchmark::DoNotOptimize(p); }
  short GetRationalDispMode() override { return 0; }  // never the TrueType path
};

void DrawLabels(benchmark::State& state, const char* text, int glyphsPerText, short style) {
  FreeTypeFontLib fonts;
  ScopedMapFontLib installed(&fonts);
  NullDevice device;
  MapString* s = nullptr;
  CreateMapString(&device, &s);
  s->SetScale(1, 1, 1);
  std::string buffer = text;
  for (auto _ : state)
    s->StringOut(buffer.data(), 100, 100, 24, 20, 0, style, 15.0, 0, 0, 0, 0, &fonts);
  state.SetItemsProcessed(state.iterations() * glyphsPerText);
  s->Free();
}

void BM_VectorGlyphsLatin(benchmark::State& state) {
  DrawLabels(state, "Annotation text 123", 19, 0);
}
void BM_VectorGlyphsChinese(benchmark::State& state) {
  // "地图注记文字" in the host code page
  DrawLabels(state, "\xB5\xD8\xCD\xBC\xD7\xA2\xBC\xC7\xCE\xC4\xD7\xD6", 6, 0);
}
void BM_VectorGlyphsOutlinedBold(benchmark::State& state) {
  DrawLabels(state, "Annotation text 123", 19, 0x0400 | 0x1000);
}

BENCHMARK(BM_VectorGlyphsLatin);
BENCHMARK(BM_VectorGlyphsChinese);
BENCHMARK(BM_VectorGlyphsOutlinedBold);

}  // namespace
