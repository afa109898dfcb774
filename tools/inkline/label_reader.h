// Turning one feature's properties into a label, whichever reader found them.
#ifndef INKLINE_TOOLS_LABEL_READER_H
#define INKLINE_TOOLS_LABEL_READER_H

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "json_value.h"
#include "layer.h"

// Where in the input a value came from, for messages.
struct Where {
  const std::string& file;
  long long feature;                 // -1: the layer as a whole
  const std::string* layer = nullptr;  // the GDAL layer's name, when there is one
  [[noreturn]] void Fail(const std::string& property, const std::string& what) const;
};

// A short description of a value for messages: scalars as written (long
// strings cut), containers by kind, so a huge or deep value is never dumped.
std::string Describe(const JsonValue& value);

// The properties a label is read from.
enum class LabelProperty {
  kText, kHtml, kHeight, kWidth, kAngle, kSpace, kFont, kStyle, kArrangement,
  kColor, kExtra, kTextColor, kFontlib, kBox, kPriority, kCount
};
constexpr int kLabelProperties = static_cast<int>(LabelProperty::kCount);

// How the command's options say to find each label property, worked out
// once for a layer: the field it is read from and its default value.
class LabelFields {
 public:
  // defaults: DefaultValues(options), which must outlive this.
  LabelFields(const LayerOptions& options, const JsonValue& defaults);
  // True when every property is read from the field of its own name.
  bool OwnNames() const { return ownNames_; }
  std::string_view Field(LabelProperty p) const { return fields_[Index(p)]; }
  const JsonValue* Default(LabelProperty p) const { return defaults_[Index(p)]; }
  // The property's name in messages, with its field when that differs.
  std::string Name(LabelProperty p) const;

  static std::size_t Index(LabelProperty p) { return static_cast<std::size_t>(p); }

 private:
  bool ownNames_ = true;
  std::array<std::string_view, kLabelProperties> fields_{};
  std::array<const JsonValue*, kLabelProperties> defaults_{};
};

// The feature's own properties seen through the command's options: a
// property may come from a field of another name, or from a default value.
class FeatureProps {
 public:
  FeatureProps(const JsonValue& own, const LabelFields& fields);
  // Null when neither the feature nor the defaults give the property.
  const JsonValue* Find(LabelProperty property) const {
    const std::size_t i = LabelFields::Index(property);
    const JsonValue* own = indexed_ ? ownValues_[i] : own_.Find(fields_.Field(property));
    return own && !own->IsNull() ? own : fields_.Default(property);
  }
  std::string Name(LabelProperty property) const { return fields_.Name(property); }

 private:
  const JsonValue& own_;
  const LabelFields& fields_;
  // The label's own properties looked up in one pass over the members, when
  // each is read from the field of its own name.
  bool indexed_ = false;
  std::array<const JsonValue*, kLabelProperties> ownValues_{};
};

// The command line's default values as a JSON object: text that reads as
// JSON is taken as such ("12", "true", "{...}"), anything else as a string.
JsonDoc DefaultValues(const LayerOptions& options);

// The point a plain label hangs from, by the reader's own geometry rules.
// With required set it throws when the geometry gives none; without, it
// returns an anchor without envelope instead.
struct Anchor {
  double x = 0, y = 0;
  bool hasEnvelope = false;
  double envelope[4] = {0, 0, 0, 0};  // minx, miny, maxx, maxy: a rich label's box when none is given
  FeatureShape shape;                 // the geometry itself, for placement
};
// The anchor of the feature being read, as a call borrowed for one
// ReadLabel: unlike a std::function it is built for each feature at no cost.
// It refers to the callable it was made from, which must outlive it.
class AnchorFn {
 public:
  template <typename Callable>
  AnchorFn(const Callable& callable)  // not explicit: made from a lambda where one is passed
      : callable_(&callable),
        call_([](const void* c, bool required) { return (*static_cast<const Callable*>(c))(required); }) {}
  template <typename Callable>
  AnchorFn(const Callable&& callable) = delete;  // a temporary would be gone before the call
  Anchor operator()(bool required) const { return call_(callable_, required); }

 private:
  const void* callable_;
  Anchor (*call_)(const void* callable, bool required);
};

// The label of a feature; throws LayerError naming what is wrong.
Label ReadLabel(const FeatureProps& props, const AnchorFn& anchor, const Where& at);

// Reads the layer's "view" block.
ViewRequest ReadView(const JsonValue& view, const Where& at);

#endif  // INKLINE_TOOLS_LABEL_READER_H
