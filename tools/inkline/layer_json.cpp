// The command's own GeoJSON reader: streams a FeatureCollection, building
// one feature at a time and handing it straight to the label reader, so the
// file is read once and never held as a whole tree.
#include "layer_json.h"

#include <cmath>
#include <cstring>
#include <iterator>

#include "geometry_json.h"
#include "label_reader.h"

using nlohmann::json;

namespace {

// Deeper nesting than any real layer has is refused before it is built
// (a deep value would otherwise cost stack in every later walk of it).
constexpr int kMaxDepth = 64;

// A parser message without the library's "[json.exception...] " prefix.
std::string Plain(const char* what) {
  const char* close = std::strstr(what, "] ");
  return close ? close + 2 : what;
}

class FeatureCollectionReader {
 public:
  FeatureCollectionReader(const std::string& file, const LayerOptions& options,
                          const LabelSink& sink)
      : file_(file), options_(options), sink_(sink), defaults_(DefaultValues(options)) {}

  // The parser's callback: depth 0 is the document, 1 its members, 2 the
  // features. Returning false drops a value once it has been used.
  bool OnEvent(int depth, json::parse_event_t event, json& parsed) {
    using E = json::parse_event_t;
    if ((event == E::object_start || event == E::array_start) && depth >= kMaxDepth)
      Where{file_, inFeatures_ ? index_ : -1}.Fail(
          "", "nested deeper than " + std::to_string(kMaxDepth) + " levels");
    if (depth == 1 && event == E::key) {
      member_ = parsed.get<std::string>();
      return true;
    }
    if (depth == 1 && event == E::array_start && member_ == "features") inFeatures_ = true;
    if (depth == 1 && event == E::array_end && member_ == "features") {
      inFeatures_ = false;
      sawFeatures_ = true;
      return false;
    }
    if (depth == 2 && inFeatures_ && (event == E::object_end || event == E::value ||
                                      event == E::array_end)) {
      Feature(parsed);
      return false;
    }
    if (depth == 1 && (event == E::object_end || event == E::array_end || event == E::value))
      return Member(parsed);
    return true;
  }

  Layer Finish(const json& document) {
    if (document.is_object() && type_ == "Feature" && isFeature_)
      throw SingleFeatureError(file_ + ": a single Feature");
    if (!document.is_object() || type_ != "FeatureCollection")
      throw LayerError(file_ + ": expected a GeoJSON FeatureCollection");
    if (!sawFeatures_) throw LayerError(file_ + ": property \"features\": expected an array");
    return std::move(layer_);
  }

 private:
  bool Member(const json& value) {
    if (member_ == "type") {
      type_ = value.is_string() ? value.get<std::string>() : "";
    } else if (member_ == "view") {
      layer_.view = ReadView(value, Where{file_, -1});
    } else if (member_ == "features") {
      throw LayerError(file_ + ": property \"features\": expected an array");
    } else if (member_ == "geometry" || member_ == "properties") {
      isFeature_ = true;
    }
    return false;
  }

  void Feature(const json& f) {
    const Where at{file_, index_};
    if (!f.is_object()) at.Fail("", "expected a Feature object");
    static const json kNoProperties = json::object();
    const auto p = f.find("properties");
    const json& props = p == f.end() || p->is_null() ? kNoProperties : *p;
    if (!props.is_object()) at.Fail("\"properties\"", "expected an object");
    const auto g = f.find("geometry");
    const AnchorFn anchor = [&](bool required) {
      return required ? JsonAnchor(g == f.end() ? nullptr : &*g, at) : Anchor{};
    };
    Label label = ReadLabel(FeatureProps(props, options_, defaults_), anchor, at);
    if (sink_)
      sink_(std::move(label));
    else
      layer_.labels.push_back(std::move(label));
    ++index_;
  }

  const std::string& file_;
  const LayerOptions& options_;
  const LabelSink& sink_;
  const json defaults_;
  Layer layer_;
  std::string member_, type_;
  bool inFeatures_ = false, sawFeatures_ = false, isFeature_ = false;
  long long index_ = 0;
};

// A position in the text that tells the mark every few megabytes how far
// the parser has come.
class MarkingCursor {
 public:
  using iterator_category = std::input_iterator_tag;
  using value_type = char;
  using difference_type = std::ptrdiff_t;
  using pointer = const char*;
  using reference = const char&;

  MarkingCursor(const char* at, const ReadMark* mark) : at_(at), marked_(at), mark_(mark) {}
  reference operator*() const { return *at_; }
  MarkingCursor& operator++() {
    constexpr std::ptrdiff_t kMarkEvery = std::ptrdiff_t{8} << 20;
    if (++at_ - marked_ >= kMarkEvery && mark_ && *mark_) {
      (*mark_)(at_);
      marked_ = at_;
    }
    return *this;
  }
  MarkingCursor operator++(int) {
    MarkingCursor before = *this;
    ++*this;
    return before;
  }
  bool operator==(const MarkingCursor& other) const { return at_ == other.at_; }
  bool operator!=(const MarkingCursor& other) const { return at_ != other.at_; }

 private:
  const char* at_;
  const char* marked_;
  const ReadMark* mark_;
};

}  // namespace

Layer ParseGeoJson(const char* begin, const char* end, const std::string& file,
                   const LayerOptions& options, const LabelSink& sink) {
  return ParseGeoJsonEach(begin, end, file, options, sink, nullptr);
}

Layer ParseGeoJsonEach(const char* begin, const char* end, const std::string& file,
                       const LayerOptions& options, const LabelSink& sink, const ReadMark& mark) {
  FeatureCollectionReader reader(file, options, sink);
  json document;
  try {
    document = json::parse(
        MarkingCursor(begin, &mark), MarkingCursor(end, &mark),
        [&](int depth, json::parse_event_t event, json& parsed) {
          return reader.OnEvent(depth, event, parsed);
        });
  } catch (const json::parse_error& e) {
    throw LayerError(file + ": not valid JSON: " + Plain(e.what()));
  } catch (const json::out_of_range& e) {  // a number beyond double's range, such as 1e400
    throw LayerError(file + ": not valid JSON: " + Plain(e.what()) +
                     " (beyond the range of a number)");
  } catch (const json::exception& e) {
    throw LayerError(file + ": " + Plain(e.what()));
  }
  return reader.Finish(document);
}
