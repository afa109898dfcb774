#include <gtest/gtest.h>

#include <cstdio>

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
