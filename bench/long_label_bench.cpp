// Characters per second of a 1 MB label on a 1000 x 1000 window: most of it
// lies past the window, so the figure is what walking (or not walking) the
// rest costs. Plain text stops once past the window, an underlined one walks
// on to find the underline's end, and one made of raise/lower codes is cut
// into a piece every six bytes.
#include <string>

#include <benchmark/benchmark.h>

#include <inkline/host/freetype_font_lib.h>
#include <inkline/host/hostlib.h>
#include <inkline/inkline.h>

namespace {

class WindowDevice : public DeviceDriver {
 public:
  WindowDevice() {
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
  short GetRationalDispMode() override { return 0; }
};

void DrawLongLabel(benchmark::State& state, const std::string& text, short style) {
  FreeTypeFontLib fonts;
  ScopedMapFontLib installed(&fonts);
  WindowDevice device;
  MapString* s = nullptr;
  CreateMapString(&device, &s);
  s->SetScale(1, 1, 1);
  std::string buffer = text;
  for (auto _ : state)
    s->StringOut(buffer.data(), 100, 500, 24, 20, 0, style, 0.0, 0, 0, 0, 0, &fonts);
  state.SetItemsProcessed(state.iterations() * static_cast<long long>(text.size()));
  s->Free();
}

constexpr size_t kMegabyte = 1 << 20;

void BM_LongLabelPlain(benchmark::State& state) {
  DrawLongLabel(state, std::string(kMegabyte, 'A'), 0);
}
void BM_LongLabelUnderlined(benchmark::State& state) {
  DrawLongLabel(state, std::string(kMegabyte, 'A'), 0x2000);
}
void BM_LongLabelCodes(benchmark::State& state) {
  std::string text;
  while (text.size() < kMegabyte) text += "A#+B#=";
  DrawLongLabel(state, text, 0);
}

BENCHMARK(BM_LongLabelPlain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongLabelUnderlined)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongLabelCodes)->Unit(benchmark::kMillisecond);

}  // namespace
