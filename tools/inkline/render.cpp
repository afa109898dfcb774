#include "render.h"

#include <string>
#include <vector>

#include "gbk.h"

namespace {

constexpr double kScreenPixelsPerMillimetre = 96.0 / 25.4;

std::string Feature(int index) { return "feature " + std::to_string(index); }

// The text in the library's code page, warning once per feature for
// characters it cannot represent.
std::string ToCodePage(const std::string& utf8, int feature, const char* property,
                       Diagnostics& diagnostics) {
  int lost = 0;
  std::string gbk = Utf8ToGbk(utf8, &lost);
  if (lost > 0)
    diagnostics.WarnOnce("gbk" + std::to_string(feature),
                         Feature(feature) + ": property \"" + property + "\": " +
                             std::to_string(lost) +
                             " character(s) have no GBK form and are drawn as '?'");
  return gbk;
}

// The font number to draw with: the named face or the given number, falling
// back to font 0 (and saying so once) when the library lacks it.
short ResolveFont(const PlainLabel& label, int feature, MapFontLib* fonts,
                  Diagnostics& diagnostics) {
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
  MapFont* font = nullptr;
  fonts->GetFontByNo(fontNo, &font);
  if (!font && fontNo != 0) {
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

}  // namespace

void SetViewScales(MapString& text, const View& view) {
  text.SetScale(view.scale, 1.0, kScreenPixelsPerMillimetre);
}

void RenderLayer(const Layer& layer, const RenderSetup& setup, Diagnostics& diagnostics) {
  // A string object keeps the font library of its last plain annotation and
  // uses it for rich text, so stroke-font labels get an object of their own.
  MapString* text = nullptr;
  MapString* strokeText = nullptr;
  CreateMapString(setup.device, &text);
  CreateMapString(setup.device, &strokeText);
  if (!text || !strokeText) {
    if (text) text->Free();
    if (strokeText) strokeText->Free();
    return;
  }
  for (MapString* s : {text, strokeText}) {
    SetViewScales(*s, setup.view);
    s->SetClipFlag(1.0);
  }

  const View& v = setup.view;
  const size_t total = layer.labels.size();
  for (size_t i = 0; i < total; ++i) {
    const Label& label = layer.labels[i];
    if (label.plain) {
      const PlainLabel& p = *label.plain;
      const bool stroke = p.strokeFont && setup.strokeFonts;
      MapFontLib* fonts = stroke ? setup.strokeFonts : setup.vectorFonts;
      MapString* target = stroke ? strokeText : text;
      if (p.strokeFont && !setup.strokeFonts)
        diagnostics.WarnOnce("stroke", "no stroke-font file; stroke labels use the vector fonts");
      std::string bytes = ToCodePage(p.text, label.featureIndex, "text", diagnostics);
      const short fontNo = ResolveFont(p, label.featureIndex, fonts, diagnostics);
      SetTextColour(*setup.device, p.textColor);
      target->StringOut(bytes.data(), v.X(p.x), v.Y(p.y), p.height, p.width, fontNo,
                      static_cast<short>(p.style), p.angle, p.space, p.arrangement, p.color,
                      p.extra, fonts);
    } else if (label.rich) {
      const RichLabel& r = *label.rich;
      std::string markup = ToCodePage(r.html, label.featureIndex, "html", diagnostics);
      // The box hangs from its top-left corner: left and top in device
      // units, width and height in map units (the library scales them).
      D_RECT box{v.X(r.xmin), v.Y(r.ymax), v.X(r.xmin) + (r.xmax - r.xmin),
                 v.Y(r.ymax) + (r.ymax - r.ymin)};
      SetTextColour(*setup.device, r.textColor);
      text->HTMLStringOut(markup.data(), 0.0, 0.0, &box, 0);
    }
    if (setup.progress && (i + 1) % 256 == 0) setup.progress(i + 1, total);
  }
  if (setup.progress) setup.progress(total, total);
  text->Free();
  strokeText->Free();
}
