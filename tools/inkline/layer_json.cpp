// The command's own GeoJSON reader: walks the FeatureCollection's outer
// structure itself and reads one feature at a time into a flat value that
// is reused for the next, handing each straight to the label reader. The
// text is read once, never copied and never held as a tree.
#include "layer_json.h"

#include "geometry_json.h"
#include "json_scan.h"
#include "label_reader.h"

namespace {

// Deeper nesting than any real layer has is refused before it is built.
constexpr int kMaxDepth = 64;

class FeatureCollectionReader {
 public:
  FeatureCollectionReader(const std::string& file, const LayerOptions& options,
                          const LabelSink& sink)
      : file_(file), sink_(sink), defaults_(DefaultValues(options)), fields_(options, defaults_.Root()) {}

  // From now on the features are stepped over, only counted, but those the
  // sample takes (its sink the reader's).
  void SkimFeatures(std::size_t* count, const FeatureSample* sample) {
    skimmed_ = count;
    sample_ = sample;
  }

  // The document: an object of members, one of them the features.
  void Read(JsonScanner& s) {
    s.SkipByteOrderMark();
    if (s.Peek() != '{') {
      ReadValue(s, 0);
      return s.ExpectEnd();
    }
    isObject_ = true;
    s.Advance();
    if (s.Peek() == '}') {
      s.Advance();
      return s.ExpectEnd();
    }
    for (;;) {
      s.Key(&member_);
      if (member_ == "features" && s.Peek() == '[' && skimmed_) {
        SkimFeatureArray(s);
      } else if (member_ == "features" && s.Peek() == '[') {
        Features(s);
      } else {
        ReadValue(s, 1);
        Member(doc_.Root());
      }
      if (s.Peek() != ',') break;
      s.Advance();
    }
    s.Expect('}');
    s.ExpectEnd();
  }

  Layer Finish() {
    if (isObject_ && type_ == "Feature" && isFeature_)
      throw SingleFeatureError(file_ + ": a single Feature");
    if (!isObject_ || type_ != "FeatureCollection")
      throw LayerError(file_ + ": expected a GeoJSON FeatureCollection");
    if (!sawFeatures_) throw LayerError(file_ + ": property \"features\": expected an array");
    return std::move(layer_);
  }

 private:
  // One value, at nesting depth `depth`, into doc_.
  void ReadValue(JsonScanner& s, int depth) {
    doc_.Clear();
    try {
      s.Value(doc_, depth);
    } catch (const JsonTooDeep&) {
      Where{file_, inFeatures_ ? index_ : -1}.Fail(
          "", "nested deeper than " + std::to_string(kMaxDepth) + " levels");
    }
    doc_.Finish();
  }

  void Features(JsonScanner& s) {
    s.Advance();
    inFeatures_ = true;
    if (s.Peek() == ']') {
      s.Advance();
    } else {
      for (;;) {
        ReadValue(s, 2);
        Feature(doc_.Root());
        s.MarkProgress();
        if (s.Peek() != ',') break;
        s.Advance();
      }
      s.Expect(']');
    }
    inFeatures_ = false;
    sawFeatures_ = true;
  }

  void SkimFeatureArray(JsonScanner& s) {
    inFeatures_ = true;
    const JsonScanner::ObjectReader readTaken = [&] {
      if (!sample_->takes()) return false;
      index_ = static_cast<long long>(*skimmed_) - 1;
      ReadValue(s, 2);
      Feature(doc_.Root());
      return true;
    };
    s.SkipArray(skimmed_, sample_ ? &readTaken : nullptr);
    inFeatures_ = false;
    sawFeatures_ = true;
  }

  void Member(const JsonValue& value) {
    if (member_ == "type") {
      type_ = value.IsString() ? value.String() : "";
    } else if (member_ == "view") {
      layer_.view = ReadView(value, Where{file_, -1});
    } else if (member_ == "features") {
      throw LayerError(file_ + ": property \"features\": expected an array");
    } else if (member_ == "geometry" || member_ == "properties") {
      isFeature_ = true;
    }
  }

  void Feature(const JsonValue& f) {
    const Where at{file_, index_};
    if (!f.IsObject()) at.Fail("", "expected a Feature object");
    const JsonValue* p = f.Find("properties");
    const JsonValue& props = !p || p->IsNull() ? EmptyJsonObject() : *p;
    if (!props.IsObject()) at.Fail("\"properties\"", "expected an object");
    const JsonValue* g = f.Find("geometry");
    const auto anchor = [&](bool required) {
      return required ? JsonAnchor(g, at) : Anchor{};
    };
    Label label = ReadLabel(FeatureProps(props, fields_), anchor, at);
    if (sink_)
      sink_(std::move(label));
    else
      layer_.labels.push_back(std::move(label));
    ++index_;
  }

  const std::string& file_;
  const LabelSink& sink_;
  const JsonDoc defaults_;
  const LabelFields fields_;  // points into defaults_
  JsonDoc doc_;  // the value being read, reused
  Layer layer_;
  std::string member_, type_;
  bool isObject_ = false, inFeatures_ = false, sawFeatures_ = false, isFeature_ = false;
  std::size_t* skimmed_ = nullptr;
  const FeatureSample* sample_ = nullptr;
  long long index_ = 0;
};

}  // namespace

Layer ParseGeoJson(const char* begin, const char* end, const std::string& file,
                   const LayerOptions& options, const LabelSink& sink) {
  return ParseGeoJsonEach(begin, end, file, options, sink, nullptr);
}

Layer ParseGeoJsonEach(const char* begin, const char* end, const std::string& file,
                       const LayerOptions& options, const LabelSink& sink, const ReadMark& mark) {
  FeatureCollectionReader reader(file, options, sink);
  JsonScanner scanner(begin, end, kMaxDepth, &mark);
  try {
    reader.Read(scanner);
  } catch (const JsonSyntaxError& e) {
    throw LayerError(file + ": not valid JSON: " + e.what());
  }
  return reader.Finish();
}

Layer SkimGeoJson(const char* begin, const char* end, const std::string& file,
                  const LayerOptions& options, std::size_t* features,
                  const FeatureSample* sample) {
  *features = 0;
  static const LabelSink kNoSink;
  FeatureCollectionReader reader(file, options, sample ? sample->sink : kNoSink);
  reader.SkimFeatures(features, sample);
  JsonScanner scanner(begin, end, kMaxDepth);
  try {
    reader.Read(scanner);
  } catch (const JsonSyntaxError& e) {
    throw LayerError(file + ": not valid JSON: " + e.what());
  }
  return reader.Finish();
}
