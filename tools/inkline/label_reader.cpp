#include "label_reader.h"

#include "view.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include <inkline/constants.h>
#include <nlohmann/json.hpp>

#include "json_convert.h"

using nlohmann::json;

void Where::Fail(const std::string& property, const std::string& what) const {
  std::string msg = file;
  if (layer && !layer->empty()) msg += ": layer \"" + *layer + "\"";
  if (feature >= 0) msg += ": feature " + std::to_string(feature);
  if (!property.empty()) msg += ": property " + property;
  throw LayerError(msg + ": " + what);
}

std::string Describe(const JsonValue& value) {
  if (value.IsObject()) return "an object";
  if (value.IsArray()) return "an array";
  if (value.IsString() && value.String().size() > 40)
    return "\"" + std::string(value.String().substr(0, 40)) + "...\"";
  return ToNlohmann(value).dump();  // a scalar, written as JSON writes it
}

namespace {

constexpr std::string_view kPropertyNames[kLabelProperties] = {
    "text", "html", "height", "width", "angle", "space", "font", "style",
    "arrangement", "color", "extra", "textColor", "fontlib", "box", "priority"};

std::string_view NameOf(LabelProperty p) { return kPropertyNames[LabelFields::Index(p)]; }

// Whether name, known to be as long as word, is word: a compare of known
// length, which needs no call.
template <std::size_t N>
bool Is(std::string_view name, const char (&word)[N]) {
  return std::memcmp(name.data(), word, N - 1) == 0;
}

// The label property a member of this name gives, or -1. Told apart by
// length first: a feature's members are looked up one by one.
int LabelPropertyIndex(std::string_view name) {
  using P = LabelProperty;
  const auto found = [](P p) { return static_cast<int>(p); };
  switch (name.size()) {
    case 3: return Is(name, "box") ? found(P::kBox) : -1;
    case 4:
      if (Is(name, "text")) return found(P::kText);
      if (Is(name, "html")) return found(P::kHtml);
      return Is(name, "font") ? found(P::kFont) : -1;
    case 5:
      if (Is(name, "width")) return found(P::kWidth);
      if (Is(name, "angle")) return found(P::kAngle);
      if (Is(name, "space")) return found(P::kSpace);
      if (Is(name, "style")) return found(P::kStyle);
      if (Is(name, "color")) return found(P::kColor);
      return Is(name, "extra") ? found(P::kExtra) : -1;
    case 6: return Is(name, "height") ? found(P::kHeight) : -1;
    case 7: return Is(name, "fontlib") ? found(P::kFontlib) : -1;
    case 8: return Is(name, "priority") ? found(P::kPriority) : -1;
    case 9: return Is(name, "textColor") ? found(P::kTextColor) : -1;
    case 11: return Is(name, "arrangement") ? found(P::kArrangement) : -1;
    default: return -1;
  }
}

}  // namespace

LabelFields::LabelFields(const LayerOptions& options, const JsonValue& defaults) {
  for (int i = 0; i < kLabelProperties; ++i) {
    const std::string_view name = kPropertyNames[i];
    const auto field = options.fieldFor.find(std::string(name));
    const std::size_t at = static_cast<std::size_t>(i);
    fields_[at] = field == options.fieldFor.end() ? name : std::string_view(field->second);
    ownNames_ = ownNames_ && fields_[at] == name;
    defaults_[at] = defaults.Find(name);
  }
}

std::string LabelFields::Name(LabelProperty p) const {
  const std::string_view property = NameOf(p), field = Field(p);
  if (field == property) return "\"" + std::string(property) + "\"";
  return "\"" + std::string(property) + "\" (field \"" + std::string(field) + "\")";
}

FeatureProps::FeatureProps(const JsonValue& own, const LabelFields& fields) : own_(own), fields_(fields) {
  if (!fields.OwnNames() || !own.IsObject()) return;
  indexed_ = true;
  const JsonValue* name = own.First();
  for (std::size_t i = 0; i < own.Size(); ++i, name = name[1].Next()) {
    const int index = LabelPropertyIndex(name->String());
    if (index >= 0) ownValues_[static_cast<std::size_t>(index)] = &name[1];  // the last of a repeated name
  }
}

namespace {

// JSON inside a text value (a command-line value, a field GDAL hands over as
// text): parsed with the same depth limit as a layer; discarded when it is
// not JSON or too deep.
json ParseNested(const std::string& text) {
  bool tooDeep = false;
  json parsed = json::parse(
      text,
      [&](int depth, json::parse_event_t, json&) {
        tooDeep = tooDeep || depth > 16;
        return !tooDeep;
      },
      false);
  return tooDeep ? json(json::value_t::discarded) : parsed;
}

}  // namespace

JsonDoc DefaultValues(const LayerOptions& options) {
  json values = json::object();
  for (const auto& [property, text] : options.defaults) {
    json parsed = ParseNested(text);
    values[property] = parsed.is_discarded() ? json(text) : std::move(parsed);
  }
  return ToJsonDoc(values);
}

namespace {

constexpr double kMaxMagnitude = 1e15;  // beyond any map's coordinates, inside double's exact range

struct Reader {
  const FeatureProps& props;
  const Where& at;

  [[noreturn]] void Fail(LabelProperty property, const std::string& what) const {
    at.Fail(props.Name(property), what);
  }

  double Number(LabelProperty key, double fallback, bool positive = false) const {
    const JsonValue* v = props.Find(key);
    if (!v) return fallback;
    double d = 0;
    if (v->IsNumber()) {
      d = v->Number();
    } else if (v->IsString() && !v->String().empty()) {
      const std::string text(v->String());
      char* end = nullptr;
      d = std::strtod(text.c_str(), &end);
      if (*end) Fail(key, "expected a number, got " + Describe(*v));
    } else {
      Fail(key, "expected a number, got " + Describe(*v));
    }
    if (!std::isfinite(d) || std::fabs(d) > kMaxMagnitude)
      Fail(key, "expected a finite number of at most 1e15, got " + Describe(*v));
    if (positive && !(d > 0)) Fail(key, "expected a number greater than 0, got " + Describe(*v));
    return d;
  }

  // A length: a number in map units, or text with a unit ("12px", "10pt", "3mm").
  double Length(LabelProperty key, double fallback, Unit fallbackUnit, Unit* unit,
                bool positive) const {
    *unit = fallbackUnit;
    const JsonValue* v = props.Find(key);
    if (!v || !v->IsString()) return Number(key, fallback, positive);
    const std::string s(v->String());
    char* end = nullptr;
    const double d = std::strtod(s.c_str(), &end);
    const std::string suffix = end;
    static const struct { const char* name; Unit unit; } units[] = {
        {"", Unit::Map}, {"px", Unit::Px}, {"pt", Unit::Pt}, {"mm", Unit::Mm}};
    bool known = false;
    for (const auto& u : units)
      if (suffix == u.name) *unit = u.unit, known = true;
    if (end == s.c_str() || !known)
      Fail(key, "expected a number in map units or with px, pt or mm, got " + Describe(*v));
    if (!std::isfinite(d) || std::fabs(d) > kMaxMagnitude)
      Fail(key, "expected a finite length, got " + Describe(*v));
    if (positive && !(d > 0)) Fail(key, "expected a length greater than 0, got " + Describe(*v));
    return d;
  }

  long Integer(LabelProperty key, long fallback, long lo, long hi) const {
    const JsonValue* v = props.Find(key);
    if (!v) return fallback;
    const bool whole = v->IsWhole() || (v->IsFloat() && std::nearbyint(v->Number()) == v->Number() &&
                                        std::fabs(v->Number()) < 1e15);
    if (!whole) Fail(key, "expected a whole number, got " + Describe(*v));
    const double d = v->Number();
    if (d < lo || d > hi)
      Fail(key, "expected a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) +
                    ", got " + Describe(*v));
    return static_cast<long>(d);
  }

  std::string_view Text(LabelProperty key) const {
    const JsonValue* v = props.Find(key);
    if (!v || !v->IsString()) Fail(key, "expected a string");
    return v->String();
  }
};

json StyleValue(const JsonValue& v) {
  if (!v.IsString()) return ToNlohmann(v);
  json parsed = ParseNested(std::string(v.String()));
  return parsed.is_discarded() ? ToNlohmann(v) : parsed;  // GDAL hands nested objects over as JSON text
}

// "style": the 16-bit style word as a number, or an object of named parts
// (taken in the order of their names, the last of a repeated name counting).
int Style(const Reader& r) {
  const JsonValue* found = r.props.Find(LabelProperty::kStyle);
  if (!found) return 0;
  const json value = StyleValue(*found);
  if (value.is_number()) return static_cast<int>(r.Integer(LabelProperty::kStyle, 0, 0, 0xFFFF));
  if (!value.is_object())
    r.Fail(LabelProperty::kStyle, "expected a style word or an object such as {\"bold\": true}");
  int style = 0;
  for (const auto& [name, part] : value.items()) {
    if (name == "slant") {
      if (!part.is_number_integer() || part.get<int>() < 0 || part.get<int>() > 4)
        r.at.Fail("\"style." + name + "\"", "expected 0 (upright) to 4");
      style += part.get<int>();
      continue;
    }
    static const struct {
      const char* name;
      int bits;
    } flags[] = {{"shadow", inkline::kStyleShadow},       {"outline", inkline::kStyleOutlined},
                 {"hollow", inkline::kStyleHollow},       {"bold", inkline::kStyleBold},
                 {"underline", inkline::kStyleUnderline}, {"strike", inkline::kStyleStrikeOut}};
    bool known = false;
    for (const auto& f : flags) {
      if (name != f.name) continue;
      known = true;
      if (!part.is_boolean()) r.at.Fail("\"style." + name + "\"", "expected true or false");
      if (part.get<bool>()) style += f.bits;
    }
    if (!known)
      r.at.Fail("\"style." + name + "\"",
                "unknown style part (use slant, shadow, outline, hollow, bold, underline, strike)");
  }
  return style;
}

char Arrangement(const Reader& r) {
  const JsonValue* v = r.props.Find(LabelProperty::kArrangement);
  if (!v) return inkline::kArrangementHorizontal;
  if (v->Is("horizontal")) return inkline::kArrangementHorizontal;
  if (v->Is("vertical")) return inkline::kArrangementVertical;
  if (v->IsWhole() && (v->Whole() == inkline::kArrangementHorizontal ||
                       v->Whole() == inkline::kArrangementVertical))
    return static_cast<char>(v->Whole());
  r.Fail(LabelProperty::kArrangement, "expected \"horizontal\", \"vertical\", 0 or 1");
}

// Fills l, a label's own, in place: a label is big enough that moving it costs.
void ReadPlain(const Reader& r, const AnchorFn& anchor, PlainLabel& l, FeatureShape* shape) {
  l.text = r.Text(LabelProperty::kText);
  Anchor a = anchor(true);
  l.x = a.x;
  l.y = a.y;
  *shape = std::move(a.shape);
  if (!r.props.Find(LabelProperty::kHeight))
    r.Fail(LabelProperty::kHeight, "missing; every text annotation needs one");
  l.height = r.Length(LabelProperty::kHeight, 0, Unit::Map, &l.heightUnit, true);
  l.width = r.Length(LabelProperty::kWidth, l.height, l.heightUnit, &l.widthUnit, true);
  l.angle = r.Number(LabelProperty::kAngle, 0);
  l.space = r.Length(LabelProperty::kSpace, 0, Unit::Map, &l.spaceUnit, false);
  const JsonValue* font = r.props.Find(LabelProperty::kFont);
  l.fontGiven = font != nullptr;
  if (font && font->IsString())
    l.fontFace = font->String();
  else
    l.fontNo = static_cast<short>(r.Integer(LabelProperty::kFont, 0, 0, 32767));
  l.style = Style(r);
  l.arrangement = Arrangement(r);
  l.color = static_cast<short>(r.Integer(LabelProperty::kColor, 0, -32768, 32767));
  l.extra = r.Number(LabelProperty::kExtra, 0);
  if (std::fabs(l.extra) > 1e4)
    r.Fail(LabelProperty::kExtra, "expected a factor or pixel width from -10000 to 10000");
  l.textColor = static_cast<int>(r.Integer(LabelProperty::kTextColor, 1, 0, 32767));
  if (const JsonValue* lib = r.props.Find(LabelProperty::kFontlib)) {
    if (lib->Is("stroke"))
      l.strokeFont = true;
    else if (!lib->Is("vector"))
      r.Fail(LabelProperty::kFontlib, "expected \"vector\" or \"stroke\"");
  }
}

RichLabel ReadRich(const Reader& r, const AnchorFn& anchor) {
  RichLabel rich;
  rich.html = r.Text(LabelProperty::kHtml);
  const JsonValue* box = r.props.Find(LabelProperty::kBox);
  double b[4];
  if (!box) {
    const Anchor a = anchor(false);  // a feature with an area: its envelope
    if (!a.hasEnvelope) r.Fail(LabelProperty::kBox, "expected [xmin, ymin, xmax, ymax] in map units");
    std::copy(a.envelope, a.envelope + 4, b);
  } else {
    if (!box->IsArray() || box->Size() != 4)
      r.Fail(LabelProperty::kBox, "expected [xmin, ymin, xmax, ymax] in map units");
    const JsonValue* v = box->First();
    for (size_t i = 0; i < 4; ++i, v = v->Next()) {
      if (!v->IsNumber() || !std::isfinite(v->Number()) || std::fabs(v->Number()) > kMaxMagnitude)
        r.Fail(LabelProperty::kBox, "expected four finite numbers");
      b[i] = v->Number();
    }
  }
  rich.xmin = b[0], rich.ymin = b[1], rich.xmax = b[2], rich.ymax = b[3];
  if (!(rich.xmax > rich.xmin) || !(rich.ymax > rich.ymin))
    r.Fail(LabelProperty::kBox, "expected xmin < xmax and ymin < ymax");
  rich.textColor = static_cast<int>(r.Integer(LabelProperty::kTextColor, 1, 0, 32767));
  return rich;
}

}  // namespace

Label ReadLabel(const FeatureProps& props, const AnchorFn& anchor, const Where& at) {
  const Reader r{props, at};
  Label label;
  label.featureIndex = at.feature;
  if (props.Find(LabelProperty::kText))
    ReadPlain(r, anchor, label.plain.emplace(), &label.shape);
  else if (props.Find(LabelProperty::kHtml))
    label.rich = ReadRich(r, anchor);
  else
    at.Fail("", "has neither " + props.Name(LabelProperty::kText) + " nor " +
                    props.Name(LabelProperty::kHtml));
  if (props.Find(LabelProperty::kPriority)) label.priority = r.Number(LabelProperty::kPriority, 0);
  return label;
}

ViewRequest ReadView(const JsonValue& view, const Where& at) {
  ViewRequest v;
  if (!view.IsObject()) at.Fail("\"view\"", "expected an object with \"bbox\" and \"size\"");
  if (const JsonValue* b = view.Find("bbox")) {
    if (!b->IsArray() || b->Size() != 4) at.Fail("\"view.bbox\"", "expected [minx, miny, maxx, maxy]");
    const JsonValue* n = b->First();
    for (size_t i = 0; i < 4; ++i, n = n->Next()) {
      if (!n->IsNumber() || !std::isfinite(n->Number()) || std::fabs(n->Number()) > kMaxMagnitude)
        at.Fail("\"view.bbox\"", "expected four finite numbers of at most 1e15");
      v.bbox[i] = n->Number();
    }
    v.hasBbox = true;
  }
  if (const JsonValue* s = view.Find("size")) {
    if (!s->IsArray() || s->Size() != 2 || !(*s)[0].IsWhole() || !(*s)[1].IsWhole())
      at.Fail("\"view.size\"", "expected [width, height] in pixels");
    const long long w = (*s)[0].Whole(), h = (*s)[1].Whole();
    if (w < 1 || h < 1 || w > 20000 || h > 20000)
      at.Fail("\"view.size\"", "expected 1 to 20000 pixels each way");
    v.size[0] = static_cast<int>(w);
    v.size[1] = static_cast<int>(h);
    v.hasSize = true;
  }
  if (v.hasBbox) {
    const std::string problem = CheckBbox(v.bbox);
    if (!problem.empty()) at.Fail("\"view.bbox\"", problem);
  }
  return v;
}
