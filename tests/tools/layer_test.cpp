#include <gtest/gtest.h>

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
