// Draws one annotation through the library on this platform's GDI and reads
// back what GDI drew: the strokes from the recording device's GDI calls on
// both platforms; the text's ink from the glyph outlines the portable layer
// hands its sink, or on Windows from the pixels GDI set in a DIB section.
#include "draw_annotation.h"

#include <sstream>
#include <string>

#include <inkline/host/hostlib.h>
#include <inkline/host/recording_device.h>
#include <inkline/host/synthetic_font_lib.h>
#include <inkline/inkline.h>

#if defined(_WIN32)
#include <inkline/host/gdi_dib_device.h>
#endif

namespace {

void DrawOn(DeviceDriver* device, const Annotation& a) {
  MapString* s = nullptr;
  CreateMapString(device, &s);
  if (!s) return;
  s->SetScale(1.0, 1.0, 1.0);
  std::string text = a.text;
  s->StringOut(&text[0], a.x, a.y, a.height, a.height, a.font, a.style, a.angle, 0.0, 0, a.color,
               a.extra, nullptr);
  s->Free();
}

#if defined(_WIN32)
// Only the library's GDI text reaches the pixels: no device lines, and the
// context keeps its null pen, so outline strokes draw nothing here.
class TextOnlyDevice : public GdiDibDevice {
 public:
  using GdiDibDevice::GdiDibDevice;
  void SetPen(PEN* pen) override { CurPen = *pen; }
  void DrawLine(double, double, double, double) override {}
  void DrawPolylines(D_POINT*, int*, short) override {}
  void FillPolygon(D_POINT*, int*, int) override {}
  void FillPolygons(D_POINT*, int*, short) override {}
};

InkBox TextInk(const Annotation& a, const RecordingDevice&) {
  GdiDibDevice::Options options;
  options.width = kDeviceWidth;
  options.height = kDeviceHeight;
  TextOnlyDevice device(options);
  DrawOn(&device, a);
  InkBox box;
  const uint32_t paper = device.Pixel(0, 0);
  for (int row = 0; row < device.height(); ++row)
    for (int x = 0; x < device.width(); ++x)
      if (device.Pixel(x, row) != paper) {
        box.Add(x, row);
        box.Add(x + 1, row + 1);  // the pixel's far edges
      }
  return box;
}
#else
InkBox TextInk(const Annotation&, const RecordingDevice& recorded) {
  InkBox box;
  for (const auto& text : recorded.CallsNamed("GdiText"))
    for (const D_POINT& p : text.runs.at(0)) box.Add(p.x, p.y);
  return box;
}
#endif

}  // namespace

GdiDrawing DrawAnnotation(const Annotation& a) {
  SyntheticFontLib fonts;
  fonts.AddFont(kFont, kFace).defaultAdvance = 24.0;
  ScopedMapFontLib installed(&fonts);

  RecordingDevice::Settings settings;
  settings.kind = 0;
  settings.rationalDispMode = 1;
  settings.winHeight = kDeviceHeight;
  settings.winRect = D_RECT{0.0, 0.0, double(kDeviceWidth), double(kDeviceHeight)};
  RecordingDevice recorded(settings);
  DrawOn(&recorded, a);

  GdiDrawing drawing{a.name, a.textTolerance, TextInk(a, recorded), {}};
  for (const auto& stroke : recorded.CallsNamed("GdiPolyDraw")) {
    // The trace line gives each point's type: " M x,y", " L x,y", " C x,y".
    std::vector<StrokePoint> points;
    std::istringstream words(stroke.line);
    std::string word;
    size_t at = 0;
    while (words >> word)
      if ((word == "M" || word == "L" || word == "C") && at < stroke.runs.at(0).size()) {
        const D_POINT& p = stroke.runs[0][at++];
        points.push_back(StrokePoint{word[0], p.x, p.y});
      }
    drawing.strokes.push_back(std::move(points));
  }
  return drawing;
}
