#include "render.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

#include <inkline/constants.h>

#include "gbk.h"
#include "label_checks.h"

namespace {

constexpr double kScreenPixelsPerMillimetre = 96.0 / 25.4;

std::string Feature(long long index) { return "feature " + std::to_string(index); }

// ASCII without a NUL: the code page has each of its characters as itself.
bool AsciiWithoutNul(const std::string& text) {
  for (const char c : text)
    if (c == '\0' || static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// The text in the library's code page, shaped where its script needs it;
// what could not be kept is counted.
LabelText ToCodePage(const std::string& utf8, const LabelTextOptions& options, long long feature,
                     const RenderSetup& setup, LabelChecks& checks) {
  LabelText text;
  text.fontNo = options.fontNo;
  if (AsciiWithoutNul(utf8)) {  // most labels: nothing to convert, shape or count
    text.bytes = utf8;
    return text;
  }
  if (setup.shaper) {
    text = setup.shaper->Convert(utf8, options);
  } else {
    CodePageLosses losses;
    text.bytes = Utf8ToGbkWithUserChars(utf8, &losses);
    text.invalid = losses.invalid;
    for (const auto& [c, n] : losses.replaced) text.replaced[c] += n;
  }
  if (text.invalid > 0) checks.Count(LabelChecks::kNotUtf8, feature);
  for (const auto& [c, n] : text.replaced) checks.Replaced(c, n);
  if (setup.explain)
    for (const std::string& note : text.notes) setup.explain("feature " + std::to_string(feature) + ": " + note);
  const size_t nul = text.bytes.find('\0');
  if (nul != std::string::npos) {
    checks.Count(LabelChecks::kNul, feature);
    text.bytes.resize(nul);
  }
  return text;
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

void DrawPlain(const PlainLabel& p, const ReadyPart& ready, char* text, const RenderSetup& setup,
               MapString& target, DeviceDriver& device) {
  const View& v = setup.view;
  MapFontLib* fonts = ready.stroke ? setup.strokeFonts : setup.vectorFonts;
  SetTextColour(device, p.textColor);
  target.StringOut(text, v.X(p.x), v.Y(p.y), p.height, p.width,
                   ready.fontNo, static_cast<short>(p.style), p.angle, p.space, p.arrangement,
                   p.color, p.extra, fonts);
}

void DrawRich(const RichLabel& r, char* markup, const RenderSetup& setup, MapString& target,
              DeviceDriver& device) {
  const View& v = setup.view;
  // The box hangs from its top-left corner: left and top in device
  // units, width and height in map units (the library scales them).
  D_RECT box{v.X(r.xmin), v.Y(r.ymax), v.X(r.xmin) + (r.xmax - r.xmin),
             v.Y(r.ymax) + (r.ymax - r.ymin)};
  SetTextColour(device, r.textColor);
  target.HTMLStringOut(markup, 0.0, 0.0, &box, 0);
}

}  // namespace

ReadyLabel PrepareLabel(const Label& label, const RenderSetup& setup, LabelChecks& checks,
                        Diagnostics& diagnostics) {
  ReadyLabel ready;
  const View& v = setup.view;
  if (label.plain && checks.Drawable(*label.plain, v, label.featureIndex)) {
    const PlainLabel& p = *label.plain;
    ready.plain.drawable = true;
    ready.plain.stroke = p.strokeFont && setup.strokeFonts;
    if (p.strokeFont && !setup.strokeFonts)
      diagnostics.WarnOnce("stroke", "no stroke-font file; stroke labels use the vector fonts");
    MapFontLib* fonts = ready.plain.stroke ? setup.strokeFonts : setup.vectorFonts;
    LabelTextOptions options;
    // The stroke font is font 0 of its library, named or not.
    options.fontGiven = p.fontGiven || setup.unnamedFont < 0 || ready.plain.stroke;
    options.fontNo = options.fontGiven ? ResolveFont(p, label.featureIndex, fonts, setup, diagnostics)
                                       : setup.unnamedFont;
    options.vertical = p.arrangement != 0;
    options.explain = static_cast<bool>(setup.explain);
    LabelText text = ToCodePage(p.text, options, label.featureIndex, setup, checks);
    // The stroke font has no glyphs to shape: such labels take the outlines.
    if (ready.plain.stroke && text.shaped) {
      ready.plain.stroke = false;
      checks.Count(LabelChecks::kStrokeShaped, label.featureIndex);
      if (setup.explain)
        setup.explain("feature " + std::to_string(label.featureIndex) +
                      ": drawn from outlines: the stroke font has no glyphs to shape");
    }
    ready.plain.fontNo = text.fontNo;
    ready.plain.bytes = std::move(text.bytes);
    ready.plain.codes = std::move(text.codes);
  }
  if (label.rich) {
    LabelTextOptions options;
    options.markup = true;
    options.explain = static_cast<bool>(setup.explain);
    LabelText text = ToCodePage(label.rich->html, options, label.featureIndex, setup, checks);
    ready.rich.bytes = std::move(text.bytes);
    ready.rich.codes = std::move(text.codes);
    ready.rich.drawable = checks.RichDrawable(*label.rich, ready.rich.bytes, v, label.featureIndex);
  }
  return ready;
}

LabelDrawer::LabelDrawer(DeviceDriver& device, const RenderSetup& setup)
    : device_(device), setup_(setup) {
  CreateMapString(&device, &text_);
  CreateMapString(&device, &stroke_);
  for (MapString* s : {text_, stroke_}) {
    if (!s) continue;
    SetViewScales(*s, setup.view);
    // The command's devices show nothing outside their window: glyphs too
    // far outside it are passed over, on every kind.
    s->SetClipFlag(inkline::kClipToWindow);
  }
}

LabelDrawer::~LabelDrawer() {
  if (text_) text_->Free();
  if (stroke_) stroke_->Free();
}

void LabelDrawer::Draw(const Label& label, const ReadyLabel& ready) {
  // The library takes writable text; the prepared label may be shared
  // between threads, so each draws from its own copy.
  if (ready.plain.drawable) {
    scratch_ = ready.plain.bytes;
    const inkline::ScopedLabelCodes codes(&ready.plain.codes);
    DrawPlain(*label.plain, ready.plain, scratch_.data(), setup_,
              ready.plain.stroke ? *stroke_ : *text_, device_);
  }
  if (ready.rich.drawable) {
    scratch_ = ready.rich.bytes;
    const inkline::ScopedLabelCodes codes(&ready.rich.codes);
    DrawRich(*label.rich, scratch_.data(), setup_, *text_, device_);
  }
}

void SetViewScales(MapString& text, const View& view) {
  text.SetScale(view.scale, 1.0, kScreenPixelsPerMillimetre);
}

LayerDrawing::LayerDrawing(const RenderSetup& setup, Diagnostics& diagnostics, size_t total)
    : setup_(setup), diagnostics_(diagnostics), drawer_(*setup.device, setup), total_(total) {}

void LayerDrawing::Draw(const Label& label) {
  if (!drawer_.Ready()) return;
  drawer_.Draw(label, PrepareLabel(label, setup_, checks_, diagnostics_));
  if (setup_.progress && ++drawn_ % 256 == 0) setup_.progress(drawn_, total_);
}

void LayerDrawing::Finish() {
  if (!drawer_.Ready()) return;
  if (setup_.progress) setup_.progress(total_, total_);
  checks_.Report(diagnostics_);
}

void RenderLayer(const Layer& layer, const RenderSetup& setup, Diagnostics& diagnostics) {
  LayerDrawing drawing(setup, diagnostics, layer.labels.size());
  for (const Label& label : layer.labels) drawing.Draw(label);
  drawing.Finish();
}
