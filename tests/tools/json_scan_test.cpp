// The command's own JSON reader: what it accepts and refuses, how numbers
// and strings come out, and that a layer read feature by feature keeps each
// feature's values apart.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "json_scan.h"
#include "layer.h"
#include "layer_json.h"

namespace {

// The text read as one value (its strings pointing into the text kept
// here), or the scanner's complaint.
struct Scanned {
  std::unique_ptr<std::string> text;
  JsonDoc doc;
  std::string error;
};

Scanned Scan(const std::string& text, int maxDepth = 64) {
  Scanned s;
  s.text = std::make_unique<std::string>(text);
  JsonScanner scanner(s.text->data(), s.text->data() + s.text->size(), maxDepth);
  try {
    scanner.SkipByteOrderMark();
    scanner.Value(s.doc, 0);
    scanner.ExpectEnd();
    s.doc.Finish();
  } catch (const JsonSyntaxError& e) {
    s.error = e.what();
  } catch (const JsonTooDeep&) {
    s.error = "too deep";
  }
  return s;
}

TEST(JsonScan, AcceptsStandardJsonAndRefusesTheRest) {
  const struct {
    std::string text;
    bool valid;
  } cases[] = {
      {"\xEF\xBB\xBF{\"a\":[1,-2.5e+3,true,false,null,\"x\"]}", true},
      {" [ ] ", true},
      {std::string("{}\0garbage", 10), true},  // a NUL between values ends the text
      {"\"\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80\"", true},
      {"\"\\ud83d\\ude00\\n\\/\"", true},
      {"\xEF\xBB{}", false},  // a broken byte order mark
      {"{\"a\":1,}", false},
      {"[1 2]", false},
      {"01", false},
      {"1.", false},
      {"-", false},
      {"+1", false},
      {"1e", false},
      {"tru", false},
      {"{} x", false},
      {"", false},
      {"\"abc", false},
      {"\"a\x01\"", false},            // a raw control character
      {"\"\xC0\xAF\"", false},         // overlong
      {"\"\xED\xA0\x80\"", false},     // an encoded surrogate
      {"\"\xF4\x90\x80\x80\"", false}, // beyond U+10FFFF
      {"\"\xE4\xB8\"", false},         // cut short
      {"\"abcdefghij\x80\"", false},   // a stray continuation byte after a plain run
      {"\"\\x\"", false},
      {"\"\\u12G4\"", false},
      {"\"\\ud800\"", false},          // a lone high surrogate
      {"\"\\ud800\\u0041\"", false},
      {"\"\\udc00\"", false},          // a lone low surrogate
      {"1e400", false},
      {"-1e309", false},
  };
  for (const auto& c : cases) {
    const Scanned s = Scan(c.text);
    EXPECT_EQ(s.error.empty(), c.valid) << c.text << ": " << s.error;
  }
}

TEST(JsonScan, NumbersKeepTheirKindAndNearestValue) {
  using Kind = JsonValue::Kind;
  const struct {
    const char* text;
    Kind kind;
  } cases[] = {
      {"0", Kind::Unsigned}, {"-0", Kind::Integer}, {"18446744073709551615", Kind::Unsigned},
      {"18446744073709551616", Kind::Float}, {"-9223372036854775808", Kind::Integer},
      {"-9223372036854775809", Kind::Float}, {"0.1", Kind::Float}, {"-0.0", Kind::Float},
      {"526190.92", Kind::Float}, {"1e22", Kind::Float}, {"1e23", Kind::Float},
      {"9007199254740993.5", Kind::Float}, {"123456789012345678901234567890e-5", Kind::Float},
      {"2.2250738585072011e-308", Kind::Float}, {"1e-400", Kind::Float},
      {"0.000000000000000000000000000001", Kind::Float},
  };
  for (const auto& c : cases) {
    const Scanned s = Scan(c.text);
    ASSERT_EQ(s.error, "") << c.text;
    const JsonValue& v = s.doc.Root();
    EXPECT_EQ(v.kind(), c.kind) << c.text;
    if (c.kind == Kind::Float) {
      const double expected = std::strtod(c.text, nullptr);
      EXPECT_EQ(std::signbit(v.Number()), std::signbit(expected)) << c.text;
      EXPECT_EQ(v.Number(), expected) << c.text;
    } else {
      EXPECT_EQ(std::to_string(c.kind == Kind::Unsigned ? v.UnsignedWhole() : 0) +
                    std::to_string(c.kind == Kind::Integer ? v.Whole() : 0),
                std::to_string(c.kind == Kind::Unsigned ? std::strtoull(c.text, nullptr, 10) : 0) +
                    std::to_string(c.kind == Kind::Integer ? std::strtoll(c.text, nullptr, 10) : 0))
          << c.text;
    }
  }
  EXPECT_FALSE(std::signbit(Scan("-0").doc.Root().Number()));  // a whole zero has no sign
}

TEST(JsonScan, StringsDecodedAndLastOfRepeatedKeysFound) {
  const Scanned s = Scan(
      R"({"a":"plain","b":"t\u00e9\ud83d\ude00\"\\\/\b\f\n\r\t","a":"again","c":{"a":1}})");
  ASSERT_EQ(s.error, "");
  const JsonValue& root = s.doc.Root();
  ASSERT_NE(root.Find("a"), nullptr);
  EXPECT_EQ(root.Find("a")->String(), "again");
  EXPECT_EQ(root.Find("b")->String(), "t\xC3\xA9\xF0\x9F\x98\x80\"\\/\b\f\n\r\t");
  EXPECT_EQ(root.Find("c")->Find("a")->Whole(), 1);
  EXPECT_EQ(root.Find("missing"), nullptr);
  EXPECT_EQ(root.Size(), 4u);
}

// Plain bytes go by many at a time: an escape, a multi-byte character, a
// control character or the closing quote is met wherever it stands.
TEST(JsonScan, StringsDecodeWhereverTheirSpecialBytesStand) {
  const struct {
    const char* written;
    const char* decoded;  // null: refused
  } kSpecials[] = {{R"(\")", "\""}, {R"(\n)", "\n"}, {"\xC3\xA9", "\xC3\xA9"},
                   {"", ""}, {"\x01", nullptr}, {"\xFF", nullptr}};
  for (int plain = 0; plain < 40; ++plain)
    for (const auto& special : kSpecials) {
      const std::string run(static_cast<size_t>(plain), 'a');
      // Room after the string, so that the reading may look far ahead.
      const Scanned s = Scan("\"" + run + special.written + "b\"" + std::string(40, ' '));
      SCOPED_TRACE(std::to_string(plain) + " plain bytes before \"" + special.written + "\"");
      if (!special.decoded) {
        EXPECT_NE(s.error, "");
        continue;
      }
      ASSERT_EQ(s.error, "");
      EXPECT_EQ(s.doc.Root().String(), run + special.decoded + "b");
    }
}

TEST(JsonScan, DepthLimitCountsContainersNotScalars) {
  EXPECT_EQ(Scan("[[[1]]]", 3).error, "");
  EXPECT_EQ(Scan("[[[[]]]]", 3).error, "too deep");
}

// The reused value of one feature must not leak into the next: a decoded
// string, a longer feature, then a shorter one.
TEST(LayerReading, FeaturesReadOneAfterAnotherKeepTheirOwnValues) {
  std::string layer = R"({"type":"FeatureCollection","features":[)";
  const char* texts[] = {R"(a\u00e9b)", "plain", R"(\"q\")", "x"};
  for (int i = 0; i < 4; ++i)
    layer += std::string(i ? "," : "") +
             R"({"type":"Feature","geometry":{"type":"LineString","coordinates":[)" +
             (i % 2 ? "[0,0],[1,1],[2,2]" : "[5,5],[6,7]") + R"(]},"properties":{"text":")" +
             texts[i] + R"(","height":)" + std::to_string(i + 1) + "}}";
  const Layer read = ParseLayer(layer + "]}", "many.geojson");
  ASSERT_EQ(read.labels.size(), 4u);
  const char* expected[] = {"a\xC3\xA9" "b", "plain", "\"q\"", "x"};
  for (int i = 0; i < 4; ++i) {
    const PlainLabel& p = *read.labels[static_cast<size_t>(i)].plain;
    EXPECT_EQ(p.text, expected[i]);
    EXPECT_EQ(p.height, i + 1);
    EXPECT_EQ(read.labels[static_cast<size_t>(i)].shape.parts[0].size(), i % 2 ? 3u : 2u);
    EXPECT_EQ(p.x, i % 2 ? 1 : 6);
  }
}

TEST(LayerReading, ProblemsNameTheFileAndWhereTheyAre) {
  const std::string deep = std::string(70, '[') + std::string(70, ']');
  const struct {
    std::string text;
    const char* message;
  } cases[] = {
      {R"({"type":"FeatureCollection","features":[{"type":"Feature","properties":{"x":)" + deep + "}}]}",
       "l.geojson: feature 0: nested deeper than 64 levels"},
      {"{\"type\":\"FeatureCollection\",\n \"features\":[}", "l.geojson: not valid JSON: line 2, column 14: "},
      {R"({"type":"FeatureCollection","x":1e400,"features":[]})",
       "l.geojson: not valid JSON: number overflow parsing '1e400' (beyond the range of a number)"},
      {R"({"type":"FeatureCollection","features":{}})", "l.geojson: property \"features\": expected an array"},
      {R"({"type":"FeatureCollection","features":[{"type":"Feature","geometry":{"type":1,"coordinates":[1,2]},)"
       R"("properties":{"text":"A","height":1}}]})",
       "l.geojson: type must be string, but is number"},
  };
  for (const auto& c : cases) {
    try {
      ParseLayer(c.text, "l.geojson");
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const LayerError& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
    }
  }
}

// Skimming steps over the features only following strings and brackets:
// it finds the view a reading finds, wherever it stands, and as many
// features as a reading gives labels, whatever the strings hold.
TEST(LayerReading, SkimmingFindsTheViewAndCountOfAReading) {
  const std::string feature =
      R"({"type":"Feature","geometry":{"type":"Point","coordinates":[1,2]},"properties":{"text":"T"}})";
  const auto withText = [&](const std::string& text) {
    std::string f = feature;
    return f.replace(f.find("\"T\""), 3, "\"" + text + "\"");
  };
  const std::string view = R"("view":{"bbox":[0,0,10,20],"size":[30,40]})";
  const std::string otherView = R"("view":{"bbox":[1,1,5,5]})";
  const std::string tricky = withText(R"(a\\\"]}{[b\\)") + "," + withText(R"(\"{\")") + "," +
                             withText(R"(}}]])") + "," + feature;
  std::vector<std::string> cases = {
      R"({"type":"FeatureCollection",)" + view + R"(,"features":[)" + feature + "]}",
      R"({"features":[)" + tricky + "]," + view + "," + otherView + R"(,"type":"FeatureCollection"})",
      R"({"type":"FeatureCollection","features":[],)" + view + "}",
      R"({"type":"FeatureCollection","features":[)" + feature + "]}",
  };
  // Strings, escapes and brackets at every place in a block of bytes the
  // skim looks at together.
  for (int pad = 0; pad < 64; ++pad)
    cases.push_back(R"({"type":"FeatureCollection","features":[)" + std::string(pad, ' ') + tricky +
                    "," + tricky + "]," + view + "}");
  LayerOptions options;
  options.defaults["height"] = "1";
  for (const std::string& text : cases) {
    SCOPED_TRACE(text);
    const Layer read = ParseGeoJson(text.data(), text.data() + text.size(), "l.geojson", options);
    size_t features = 99;
    const Layer skimmed = SkimGeoJson(text.data(), text.data() + text.size(), "l.geojson", options,
                                      &features);
    EXPECT_EQ(features, read.labels.size());
    EXPECT_TRUE(skimmed.labels.empty());
    EXPECT_EQ(skimmed.view.hasBbox, read.view.hasBbox);
    EXPECT_EQ(skimmed.view.hasSize, read.view.hasSize);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(skimmed.view.bbox[i], read.view.bbox[i]);
    EXPECT_EQ(skimmed.view.size[0], read.view.size[0]);
    // A sample taking every other feature gets their labels, read in full
    // wherever they start, and the skim still counts them all.
    std::vector<std::string> sampled;
    size_t offered = 0;
    const FeatureSample everyOther{[&offered] { return offered++ % 2 == 0; },
                                   [&sampled](Label&& label) { sampled.push_back(label.plain->text); }};
    size_t counted = 0;
    SkimGeoJson(text.data(), text.data() + text.size(), "l.geojson", options, &counted, &everyOther);
    EXPECT_EQ(counted, read.labels.size());
    ASSERT_EQ(sampled.size(), (read.labels.size() + 1) / 2);
    for (size_t i = 0; i < sampled.size(); ++i) EXPECT_EQ(sampled[i], read.labels[2 * i].plain->text);
  }
  // A features array that never ends is refused, not run past.
  const std::string open = R"({"type":"FeatureCollection","features":[)" + feature + ",[\"]\"";
  size_t features = 0;
  EXPECT_THROW(SkimGeoJson(open.data(), open.data() + open.size(), "l.geojson", options, &features),
               LayerError);
}

}  // namespace
