#include "render.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

#include <inkline/user_chars.h>

#include "gbk.h"
#include "label_checks.h"

namespace {

constexpr double kScreenPixelsPerMillimetre = 96.0 / 25.4;

std::string Feature(long long index) { return "feature " + std::to_string(index); }

// The text in the library's code page; what could not be kept is counted.
std::string ToCodePage(const std::string& utf8, long long feature,
                       LabelChecks& checks) {
  CodePageLosses losses;
  std::string gbk = Utf8ToGbkWithUserChars(utf8, &losses);
  if (losses.invalid > 0) checks.Count(LabelChecks::kNotUtf8, feature);
  for (const auto& [c, n] : losses.replaced) checks.Replaced(c, n);
  const size_t nul = gbk.find('\0');
  if (nul != std::string::npos) {
    checks.Count(LabelChecks::kNul, feature);
    gbk.resize(nul);
  }
  return gbk;
}

// The font number to draw with: the named face or the given number, falling
// back to font 0 (and saying so once) when the table lacks it.
short ResolveFont(const PlainLabel& label, long long feature, MapFontLib* fonts,
                  const RenderSetup& setup, Diagnostics& diagnostics) {
  short fontNo = label.fontNo;
  if (!label.fontFace.empty()) {
    std::string face = Utf8ToGbk(label.fontFace);
    fontNo = fonts->GetFontNoByName(face.data());
    if (fontNo < 0) {
      diagnostics.WarnOnce("face:" + label.fontFace,
                           Feature(feature) + ": font \"" + label.fontFace +
                               "\" is not in the font table; using font 0");
      return 0;
    }
  }
  if (fontNo != 0 && setup.hasFont && !setup.hasFont(fontNo)) {
    diagnostics.WarnOnce("font:" + std::to_string(fontNo),
                         Feature(feature) + ": font " + std::to_string(fontNo) +
                             " is not in the font table; using font 0");
    return 0;
  }
  return fontNo;
}

// The host's current colour: pen and brush, so text fills and strokes in it.
void SetTextColour(DeviceDriver& device, int colour) {
  PEN pen{1.0, colour, 0};
  BRUSH brush{colour, 0, 0, 0};
  device.SetPen(&pen);
  device.SetBrush(&brush);
}

struct Strings {
  MapString* text = nullptr;
  MapString* stroke = nullptr;
  ~Strings() {
    if (text) text->Free();
    if (stroke) stroke->Free();
  }
};

void DrawPlain(const Label& label, const RenderSetup& setup, Strings& strings,
               LabelChecks& checks, Diagnostics& diagnostics) {
  const PlainLabel& p = *label.plain;
  const View& v = setup.view;
  if (!checks.Drawable(p, v, label.featureIndex)) return;
  const bool stroke = p.strokeFont && setup.strokeFonts;
  MapFontLib* fonts = stroke ? setup.strokeFonts : setup.vectorFonts;
  MapString* target = stroke ? strings.stroke : strings.text;
  if (p.strokeFont && !setup.strokeFonts)
    diagnostics.WarnOnce("stroke", "no stroke-font file; stroke labels use the vector fonts");
  std::string bytes = ToCodePage(p.text, label.featureIndex, checks);
  const short fontNo = ResolveFont(p, label.featureIndex, fonts, setup, diagnostics);
  SetTextColour(*setup.device, p.textColor);
  target->StringOut(bytes.data(), v.X(p.x), v.Y(p.y), p.height, p.width, fontNo,
                    static_cast<short>(p.style), p.angle, p.space, p.arrangement, p.color,
                    p.extra, fonts);
}

void DrawRich(const Label& label, const RenderSetup& setup, Strings& strings,
              LabelChecks& checks) {
  const RichLabel& r = *label.rich;
  const View& v = setup.view;
  std::string markup = ToCodePage(r.html, label.featureIndex, checks);
  if (!checks.RichDrawable(r, markup, v, label.featureIndex)) return;
  // The box hangs from its top-left corner: left and top in device
  // units, width and height in map units (the library scales them).
  D_RECT box{v.X(r.xmin), v.Y(r.ymax), v.X(r.xmin) + (r.xmax - r.xmin),
             v.Y(r.ymax) + (r.ymax - r.ymin)};
  SetTextColour(*setup.device, r.textColor);
  strings.text->HTMLStringOut(markup.data(), 0.0, 0.0, &box, 0);
}

}  // namespace

void SetViewScales(MapString& text, const View& view) {
  text.SetScale(view.scale, 1.0, kScreenPixelsPerMillimetre);
}

void RenderLayer(const Layer& layer, const RenderSetup& setup, Diagnostics& diagnostics) {
  // A string object keeps the font library of its last plain annotation and
  // uses it for rich text, so stroke-font labels get an object of their own.
  Strings strings;
  CreateMapString(setup.device, &strings.text);
  CreateMapString(setup.device, &strings.stroke);
  if (!strings.text || !strings.stroke) return;
  for (MapString* s : {strings.text, strings.stroke}) {
    SetViewScales(*s, setup.view);
    s->SetClipFlag(1.0);
  }
  LabelChecks checks;
  const size_t total = layer.labels.size();
  for (size_t i = 0; i < total; ++i) {
    const Label& label = layer.labels[i];
    if (label.plain) DrawPlain(label, setup, strings, checks, diagnostics);
    if (label.rich) DrawRich(label, setup, strings, checks);
    if (setup.progress && (i + 1) % 256 == 0) setup.progress(i + 1, total);
  }
  if (setup.progress) setup.progress(total, total);
  checks.Report(diagnostics);
}
