// Glyphs per second through the vector path: real outlines from the font
// library over FreeType, drawn on a device that throws the geometry away, so
// the figure is the library's own cost (outline transform, pens, layout).
//
// And characters per second of a 1 MB label on a 1000 x 1000 window that
// bounds all the device shows (kClipToWindow): most of the label lies past
// it, so the figure is what walking (or not walking) the rest costs. Plain text stops once past the window, an underlined one
// walks on to find the underline's end, and one made of raise/lower codes is
// cut into a piece every six bytes.
#include <string>

#include <benchmark/benchmark.h>

#include <inkline/host/freetype_font_lib.h>
#include <inkline/host/hostlib.h>
#include <inkline/inkline.h>

namespace {

class NullDevice : public DeviceDriver {
 public:
  // Without a window the device's kind skips no glyph.
  explicit NullDevice(bool windowed) {
    if (!windowed) return;
    WinRect = D_RECT{0, 0, 1000, 1000};
    WinHeight = 1000;
  }
  short GetDeviceType() override { return 0; }
  void SetPen(PEN* pen) override { CurPen = *pen; }
  void SetBrush(BRUSH* brush) override { CurBrush = *brush; }
  void DrawLine(double, double, double, double) override {}
  void DrawPolylines(D_POINT* p, int*, short) override { benchmark::DoNotOptimize(p); }
  void FillPolygon(D_POINT* p, int*, int) override { benchmark::DoNotOptimize(p); }
  void FillPolygons(D_POINT* p, int*, short) override { benchmark::DoNotOptimize(p); }
  short GetRationalDispMode() override { return 0; }  // never the TrueType path
};

void DrawLabels(benchmark::State& state, const std::string& text, long long glyphsPerText,
                short style, bool windowed = false) {
  FreeTypeFontLib fonts;
  ScopedMapFontLib installed(&fonts);
  NullDevice device(windowed);
  MapString* s = nullptr;
  CreateMapString(&device, &s);
  s->SetScale(1, 1, 1);
  if (windowed) s->SetClipFlag(inkline::kClipToWindow);
  std::string buffer = text;
  const double angle = windowed ? 0.0 : 15.0;
  for (auto _ : state)
    s->StringOut(buffer.data(), 100, 100, 24, 20, 0, style, angle, 0, 0, 0, 0, &fonts);
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

constexpr size_t kMegabyte = 1 << 20;

void BM_LongLabelPlain(benchmark::State& state) {
  DrawLabels(state, std::string(kMegabyte, 'A'), kMegabyte, 0, true);
}
void BM_LongLabelUnderlined(benchmark::State& state) {
  DrawLabels(state, std::string(kMegabyte, 'A'), kMegabyte, 0x2000, true);
}
void BM_LongLabelCodes(benchmark::State& state) {
  std::string text;
  while (text.size() < kMegabyte) text += "A#+B#=";
  DrawLabels(state, text, static_cast<long long>(text.size()), 0, true);
}

BENCHMARK(BM_VectorGlyphsLatin);
BENCHMARK(BM_VectorGlyphsChinese);
BENCHMARK(BM_VectorGlyphsOutlinedBold);
BENCHMARK(BM_LongLabelPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongLabelUnderlined)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongLabelCodes)->Unit(benchmark::kMillisecond);

}  // namespace
