#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <tuple>

#include "gbk.h"
#include "layer.h"
#include "view.h"

namespace {

Layer Parse(const std::string& json) { return ParseLayer(json, "test.geojson"); }

TEST(LayerParsing, PlainPropertiesAndDefaults) {
  const Layer layer = Parse(R"({"type":"FeatureCollection","features":[
    {"type":"Feature","geometry":{"type":"Point","coordinates":[1.5,2.5]},
     "properties":{"text":"A","height":4}},
    {"type":"Feature","geometry":{"type":"Point","coordinates":[0,0]},
     "properties":{"text":"B","height":4,"width":3,"angle":-30,"space":0.5,"font":"Arial",
                   "style":{"slant":2,"shadow":true,"bold":true,"underline":true,"strike":true,
                            "outline":true,"hollow":true},
                   "arrangement":"vertical","color":5,"extra":1.2,"textColor":3,
                   "fontlib":"stroke"}}]})");
  ASSERT_EQ(layer.labels.size(), 2u);
  const PlainLabel& a = *layer.labels[0].plain;
  EXPECT_EQ(a.x, 1.5);
  EXPECT_EQ(a.y, 2.5);
  EXPECT_EQ(a.width, 4.0);  // the height when not given
  EXPECT_EQ(a.style, 0);
  EXPECT_EQ(a.textColor, 1);
  EXPECT_FALSE(a.strokeFont);
  const PlainLabel& b = *layer.labels[1].plain;
  EXPECT_EQ(b.style, 2 + 5 + 0x0400 + 0x0800 + 0x1000 + 0x2000 + 0x4000);
  EXPECT_EQ(b.arrangement, 1);
  EXPECT_EQ(b.fontFace, "Arial");
  EXPECT_EQ(b.angle, -30.0);
  EXPECT_EQ(b.color, 5);
  EXPECT_TRUE(b.strokeFont);
}

// Every property reads the same from a field of its own name and from a
// field of another name given for it: the two ways of looking members up
// agree on which property each name is.
TEST(LayerParsing, EveryPropertyReadsTheSameUnderItsOwnNameOrAField) {
  const char* const kProperties[] = {"text", "height", "width", "angle", "space", "font",
                                     "style", "arrangement", "color", "extra", "textColor",
                                     "fontlib", "html", "box", "priority"};
  const std::string plain = R"("text":"A","height":4,"width":3,"angle":-30,"space":0.5,"font":7,)"
                            R"("style":12,"arrangement":1,"color":5,"extra":1.25,"textColor":9,)"
                            R"("fontlib":"stroke","priority":2)";
  const std::string rich = R"("html":"<b>B</b>","box":[1,2,3,4],"textColor":6,"priority":-1)";
  const auto layer = [](const std::string& props) {
    return R"({"type":"FeatureCollection","features":[{"type":"Feature","geometry":)"
           R"({"type":"Point","coordinates":[1,2]},"properties":{)" + props + "}}]}";
  };
  const auto renamed = [&](std::string props) {
    for (const char* p : kProperties) {
      const std::string from = "\"" + std::string(p) + "\":";
      for (size_t at = props.find(from); at != std::string::npos; at = props.find(from, at + 1))
        props.replace(at, from.size(), "\"f_" + std::string(p) + "\":");
    }
    return props;
  };
  LayerOptions fields;
  for (const char* p : kProperties) fields.fieldFor[p] = std::string("f_") + p;

  const Layer own = ParseLayer(layer(plain), "own.geojson", LayerOptions{});
  const Layer mapped = ParseLayer(layer(renamed(plain)), "mapped.geojson", fields);
  ASSERT_EQ(own.labels.size(), 1u);
  ASSERT_EQ(mapped.labels.size(), 1u);
  const PlainLabel& a = *own.labels[0].plain;
  const PlainLabel& b = *mapped.labels[0].plain;
  EXPECT_EQ(std::make_tuple(a.text, a.height, a.width, a.angle, a.space, a.fontNo, a.style,
                            a.arrangement, a.color, a.extra, a.textColor, a.strokeFont),
            std::make_tuple(std::string("A"), 4.0, 3.0, -30.0, 0.5, short{7}, 12, char{1},
                            short{5}, 1.25, 9, true));
  EXPECT_EQ(std::make_tuple(b.text, b.height, b.width, b.angle, b.space, b.fontNo, b.style,
                            b.arrangement, b.color, b.extra, b.textColor, b.strokeFont),
            std::make_tuple(a.text, a.height, a.width, a.angle, a.space, a.fontNo, a.style,
                            a.arrangement, a.color, a.extra, a.textColor, a.strokeFont));
  EXPECT_EQ(own.labels[0].priority, std::optional<double>(2));
  EXPECT_EQ(mapped.labels[0].priority, own.labels[0].priority);

  const Layer ownRich = ParseLayer(layer(rich), "own.geojson", LayerOptions{});
  const Layer mappedRich = ParseLayer(layer(renamed(rich)), "mapped.geojson", fields);
  for (const Layer* l : {&ownRich, &mappedRich}) {
    ASSERT_EQ(l->labels.size(), 1u);
    ASSERT_TRUE(l->labels[0].rich);
    const RichLabel& r = *l->labels[0].rich;
    EXPECT_EQ(std::make_tuple(r.html, r.xmin, r.ymin, r.xmax, r.ymax, r.textColor),
              std::make_tuple(std::string("<b>B</b>"), 1.0, 2.0, 3.0, 4.0, 6));
    EXPECT_EQ(l->labels[0].priority, std::optional<double>(-1));
  }
}

TEST(LayerParsing, StyleWordAsANumber) {
  const Layer layer = Parse(R"({"type":"FeatureCollection","features":[
    {"type":"Feature","geometry":{"type":"Point","coordinates":[0,0]},
     "properties":{"text":"A","height":4,"style":12290}}]})");
  EXPECT_EQ(layer.labels[0].plain->style, 12290);
  EXPECT_THROW(Parse(R"({"type":"FeatureCollection","features":[
    {"type":"Feature","geometry":{"type":"Point","coordinates":[0,0]},
     "properties":{"text":"A","height":4,"style":70000}}]})"),
               LayerError);
}

TEST(LayerView, GivenViewKeepsTheAspectAndCentres) {
  const Layer layer = Parse(R"({"type":"FeatureCollection",
    "view":{"bbox":[0,0,100,50],"size":[400,400]},"features":[]})");
  const View v = MakeView(layer);
  EXPECT_EQ(v.width, 400);
  EXPECT_EQ(v.height, 400);
  EXPECT_DOUBLE_EQ(v.scale, 4.0);
  EXPECT_DOUBLE_EQ(v.X(0), 0.0);
  EXPECT_DOUBLE_EQ(v.Y(25), 200.0);  // the bbox's middle is the picture's middle
}

TEST(LayerView, DefaultViewIsTheExtentAt1024Pixels) {
  const Layer layer = Parse(R"({"type":"FeatureCollection","features":[
    {"type":"Feature","properties":{"html":"x","box":[0,0,200,100]}}]})");
  const View v = MakeView(layer);
  EXPECT_EQ(std::max(v.width, v.height), 1024);
  const double aspect = static_cast<double>(v.width) / v.height;  // 2:1, less the margin
  EXPECT_GT(aspect, 1.7);
  EXPECT_LE(aspect, 2.0);
  EXPECT_GT(v.X(0), 0.0);  // a margin around the features
  EXPECT_LT(v.X(200), v.width);
}

TEST(CodePage, Utf8AndGbkRoundTrip) {
  const std::string utf8 = "Map \xE5\x9C\xB0\xE5\x9B\xBE";  // "Map 地图"
  int lost = -1;
  const std::string gbk = Utf8ToGbk(utf8, &lost);
  EXPECT_EQ(lost, 0);
  EXPECT_EQ(gbk, "Map \xB5\xD8\xCD\xBC");
  EXPECT_EQ(GbkToUtf8(gbk), utf8);
  EXPECT_EQ(Utf8ToGbk("a\xFF" "b", &lost), "a?b");  // invalid UTF-8
  EXPECT_EQ(lost, 1);
}

}  // namespace

namespace {

// Heights, widths and spaces in map units or with a unit on the picture;
// the view turns the latter into map units (here 2 pixels per map unit).
TEST(LayerUnits, LengthsWithUnitsBecomeMapUnits) {
  const struct {
    const char* height;
    double mapUnits;  // at scale 2, 96 dpi
  } cases[] = {{"4", 4}, {"\"4\"", 4}, {"\"12px\"", 6}, {"\"9pt\"", 6}, {"\"3.175mm\"", 6}};
  for (const auto& c : cases) {
    Layer layer = Parse(std::string(R"({"type":"FeatureCollection","features":[
      {"type":"Feature","geometry":{"type":"Point","coordinates":[0,0]},
       "properties":{"text":"A","height":)") + c.height + R"(,"space":"2px"}}]})");
    ResolveUnits(layer, 2.0, 96.0);
    const PlainLabel& p = *layer.labels[0].plain;
    EXPECT_NEAR(p.height, c.mapUnits, 1e-9) << c.height;
    EXPECT_NEAR(p.width, c.mapUnits, 1e-9) << c.height << ": the width follows the height";
    EXPECT_NEAR(p.space, 1.0, 1e-9) << c.height;
  }
  for (const char* bad : {"\"12 px\"", "\"12em\"", "\"px\"", "\"-3mm\"", "\"1e400px\""})
    EXPECT_THROW(Parse(std::string(R"({"type":"FeatureCollection","features":[
      {"type":"Feature","geometry":{"type":"Point","coordinates":[0,0]},
       "properties":{"text":"A","height":)") + bad + "}}]}"),
                 LayerError)
        << bad;
}

// The automatic view keeps room for the text where it goes: right of and
// above a row, below a column only.
TEST(LayerView, AutomaticViewFollowsTheTextsDirection) {
  const auto extent = [](const char* arrangement) {
    const Layer layer = Parse(std::string(R"({"type":"FeatureCollection","features":[
      {"type":"Feature","geometry":{"type":"Point","coordinates":[0,0]},
       "properties":{"text":"ABCDEFGHIJ","height":10,"arrangement":")") + arrangement + R"("}}]})");
    const View v = MakeView(layer);
    return std::make_pair(v.width / v.scale, v.height / v.scale);  // map units across
  };
  const auto row = extent("horizontal"), column = extent("vertical");
  EXPECT_GT(row.first, 3 * row.second) << "a row is wide and low";
  EXPECT_GT(column.second, 3 * column.first) << "a column is tall and narrow";
}

}  // namespace

namespace {

// A file big enough that the label-by-label reading lets go of its first
// pages while it still reads the rest.
std::string WriteBigLayer(int features) {
  const std::string path = ::testing::TempDir() + "/each_layer.geojson";
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fputs(R"({"type":"FeatureCollection","features":[)", f);
  for (int i = 0; i < features; ++i)
    std::fprintf(f, R"(%s{"type":"Feature","geometry":{"type":"Point","coordinates":[%d,%d]},)"
                    R"("properties":{"text":"label %d with a long enough text","height":%d,)"
                    R"("angle":%d,"pad":"%0100d"}})",
                 i ? "," : "", i % 997, i / 7, i, 1 + i % 9, i % 90, i);
  std::fputs("]}", f);
  std::fclose(f);
  return path;
}

TEST(LayerReadEach, SameLabelsInOrderAndSameViewAsTheWholeLayer) {
  const std::string path = WriteBigLayer(60000);  // about 13 MB
  ASSERT_TRUE(CanReadEach(path, {}));
  const Layer whole = ReadLayer(path);
  LabelsExtent extent;
  size_t n = 0;
  size_t mismatches = 0;
  const Layer each = ReadLayerEach(path, {}, [&](Label&& label) {
    extent.Add(label);
    const Label& w = whole.labels.at(n++);
    mismatches += label.featureIndex != w.featureIndex || label.plain->text != w.plain->text ||
                  label.plain->x != w.plain->x || label.plain->height != w.plain->height;
  });
  EXPECT_TRUE(each.labels.empty());
  EXPECT_EQ(n, whole.labels.size());
  EXPECT_EQ(mismatches, 0u);
  const View a = MakeView(whole), b = MakeView(each.view, extent);
  EXPECT_EQ(a.width, b.width);
  EXPECT_EQ(a.height, b.height);
  EXPECT_DOUBLE_EQ(a.scale, b.scale);
  EXPECT_DOUBLE_EQ(a.minx, b.minx);
  EXPECT_DOUBLE_EQ(a.miny, b.miny);
  std::remove(path.c_str());
}

// GDAL's path and the command's own reader take the same properties.
TEST(LayerReaders, GdalAndOwnReaderAgreeOnPriority) {
  const std::string path = ::testing::TempDir() + "/priority_layer.geojson";
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fputs(R"({"type":"FeatureCollection","features":[{"type":"Feature","geometry":)"
             R"({"type":"Point","coordinates":[1,2]},"properties":{"text":"A","height":3,)"
             R"("priority":7}}]})", f);
  std::fclose(f);
  LayerOptions throughGdal;
  throughGdal.forceGdal = true;
  for (const LayerOptions& options : {LayerOptions{}, throughGdal}) {
    const Layer layer = ReadLayer(path, options);
    ASSERT_EQ(layer.labels.size(), 1u);
    ASSERT_TRUE(layer.labels[0].priority.has_value()) << "through GDAL: " << options.forceGdal;
    EXPECT_EQ(*layer.labels[0].priority, 7);
  }
  std::remove(path.c_str());
}

TEST(LayerReadEach, OnlyFilesTheOwnReaderTakes) {
  EXPECT_FALSE(CanReadEach("-", {}));
  EXPECT_FALSE(CanReadEach("roads.shp", {}));
  LayerOptions filtered;
  filtered.where = "pop > 1";
  EXPECT_FALSE(CanReadEach("a.geojson", filtered));
  EXPECT_TRUE(CanReadEach("a.geojson", {}));
}

}  // namespace
