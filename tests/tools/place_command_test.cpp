// `inkline place` and `render --place` on real fonts: the placed layer reads
// back, its labels' measured extents never overlap, and a second run writes
// the same bytes.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "extent_measure.h"
#include "fonts.h"
#include "layer.h"
#include "view.h"

namespace {

using nlohmann::json;

class PlaceCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    char templ[] = "/tmp/inkline-place-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = templ;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::string Write(const std::string& name, const std::string& content) const {
    std::ofstream(Path(name), std::ios::binary) << content;
    return Path(name);
  }
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  // Exit code; stderr in *err.
  int Inkline(const std::string& args, std::string* err) const {
    const std::string errPath = Path("stderr.txt");
    const int status = std::system(
        (std::string(INKLINE_COMMAND) + " " + args + " >/dev/null 2>'" + errPath + "'").c_str());
    *err = Read(errPath);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string dir_;
};

json PointFeature(double x, double y, json properties) {
  return {{"type", "Feature"},
          {"geometry", {{"type", "Point"}, {"coordinates", {x, y}}}},
          {"properties", std::move(properties)}};
}

// Crowded on purpose: Latin and Chinese, turned, vertical, with notations.
std::string CrowdedLayer(int n) {
  const char* texts[] = {"Main Street",   "\xE4\xBA\xBA\xE6\xB0\x91\xE8\xB7\xAF",
                         "River H#-2#=O", "Station 12",
                         "X#+2#-3#=a",    "\xE5\x85\xAC\xE5\x9B\xAD",
                         "/1/2/"};
  std::mt19937 random(11);
  std::uniform_int_distribution<int> x(0, 1199), y(0, 899), pick(0, 6), size(8, 16), turn(-3, 3),
      tenth(0, 9);
  json features = json::array();
  for (int i = 0; i < n; ++i) {
    json props = {
        {"text", texts[pick(random)]}, {"height", size(random)}, {"angle", 15 * turn(random)}};
    if (tenth(random) == 0) props["arrangement"] = "vertical";
    features.push_back(PointFeature(x(random), y(random), props));
  }
  return json{{"type", "FeatureCollection"},
              {"view", {{"bbox", {0, 0, 1200, 900}}, {"size", {1200, 900}}}},
              {"features", features}}
      .dump();
}

// Extents as the library measures them, against a plain horizontal label.
TEST(ExtentMeasure, FollowsBoxesOutlinesTurnsAndNotations) {
  Diagnostics diagnostics;
  std::string error;
  std::unique_ptr<FontSet> fonts = LoadFonts(FontOptions{}, diagnostics, &error);
  ASSERT_TRUE(fonts) << error;
  View view;  // one pixel a map unit
  ExtentMeasurer measurer(view, PlaceFonts{fonts->vector(), fonts->stroke(), &fonts->Shaper(),
                                          fonts->NumberOf(kUnnamedLabelsFont)});
  const auto measure = [&](const char* text, auto change) {
    Label l;
    l.plain = PlainLabel{};
    l.plain->text = text;
    l.plain->height = l.plain->width = 20;
    change(*l.plain);
    return measurer.Measure(l, l.plain->angle);
  };
  const auto size = [](const placement::Polygon& p, double angle) {
    const placement::Box b = placement::BoundsOf(placement::Rotated(p, -angle));
    return std::make_pair(b.maxx - b.minx, b.maxy - b.miny);
  };
  const placement::Polygon plain = measure("Town", [](PlainLabel&) {});
  ASSERT_EQ(plain.size(), 4u);
  const auto [length, rise] = size(plain, 0);
  EXPECT_GT(length, 30);
  EXPECT_NEAR(rise, 20, 1);

  const auto boxed = size(measure("Town",
                                  [](PlainLabel& p) {
                                    p.color = 5;
                                    p.extra = 1.5;
                                  }),
                          0);
  EXPECT_NEAR(boxed.first, 1.5 * length, 2);  // the box grows along the run only
  EXPECT_EQ(boxed.second, rise);
  EXPECT_EQ(size(measure("Town",
                         [](PlainLabel& p) {
                           p.color = 5;
                           p.extra = 0.6;
                         }),
                 0),
            std::make_pair(length, rise));  // a smaller box hides no text
  const auto outlined = size(measure("Town",
                                     [](PlainLabel& p) {
                                       p.style = 0x0400;
                                       p.color = 2;
                                       p.extra = 4;
                                     }),
                             0);
  EXPECT_EQ(outlined, std::make_pair(length + 4, rise + 4));
  const placement::Polygon turned = measure("Town", [](PlainLabel& p) { p.angle = 30; });
  ASSERT_EQ(turned.size(), 4u);
  EXPECT_NEAR(size(turned, 30).first, length, 2);
  // A fraction stands on two rows; a column is as long as its characters.
  EXPECT_GT(size(measure("/12/34/", [](PlainLabel&) {}), 0).second, 1.8 * rise);
  const auto column = size(measure("ABC", [](PlainLabel& p) { p.arrangement = 1; }), 0);
  EXPECT_NEAR(column.second, 60, 1);
}

TEST_F(PlaceCommand, PlacedExtentsNeverOverlapAndRunsRepeat) {
  const std::string layer = Write("crowded.geojson", CrowdedLayer(1500));
  std::string err;
  ASSERT_EQ(Inkline("place '" + layer + "' --marker 3 -o '" + Path("a.geojson") + "'", &err), 0)
      << err;
  EXPECT_NE(err.find("inkline: placed "), std::string::npos) << err;
  ASSERT_EQ(Inkline("place '" + layer + "' --marker 3 -o '" + Path("b.geojson") + "' --dropped '" +
                        Path("b.dropped") + "'",
                    &err),
            0)
      << err;
  EXPECT_EQ(Read(Path("a.geojson")), Read(Path("b.geojson")));
  EXPECT_EQ(Read(Path("a.dropped.geojson")), Read(Path("b.dropped")));

  const Layer placed = ReadLayer(Path("a.geojson"));
  const size_t dropped = json::parse(Read(Path("a.dropped.geojson")))["features"].size();
  EXPECT_EQ(placed.labels.size() + dropped, 1500u);
  ASSERT_GT(placed.labels.size(), 300u);

  // Measure every placed label again where it now stands.
  const View view = MakeView(placed);
  EXPECT_NEAR(view.scale, 1.0, 1e-12);
  Diagnostics diagnostics;
  std::string error;
  std::unique_ptr<FontSet> fonts = LoadFonts(FontOptions{}, diagnostics, &error);
  ASSERT_TRUE(fonts) << error;
  ExtentMeasurer measurer(view, PlaceFonts{fonts->vector(), fonts->stroke(), &fonts->Shaper(),
                                          fonts->NumberOf(kUnnamedLabelsFont)});
  std::vector<placement::Polygon> extents;
  for (const Label& l : placed.labels) {
    const placement::Polygon e = measurer.Measure(l, l.plain->angle);
    ASSERT_GE(e.size(), 3u);
    extents.push_back(placement::Translated(e, {view.X(l.plain->x), view.Y(l.plain->y)}));
    for (const placement::Vec2& v : extents.back())
      EXPECT_TRUE(v.x >= 0 && v.y >= 0 && v.x <= view.width && v.y <= view.height)
          << l.featureIndex;
  }
  int overlaps = 0;
  for (size_t i = 0; i < extents.size(); ++i)
    for (size_t j = i + 1; j < extents.size(); ++j)
      if (placement::ConvexOverlap(extents[i], extents[j])) ++overlaps;
  EXPECT_EQ(overlaps, 0);
}

TEST_F(PlaceCommand, LinesPolygonsAndColumnsThenRender) {
  const json line = {
      {"type", "Feature"},
      {"geometry", {{"type", "LineString"}, {"coordinates", {{300, 250}, {100, 50}}}}},
      {"properties", {{"text", "Long River"}, {"height", 12}}}};
  const json park = {
      {"type", "Feature"},
      {"geometry",
       {{"type", "Polygon"},
        {"coordinates", {{{250, 50}, {390, 50}, {390, 150}, {250, 150}, {250, 50}}}}}},
      {"properties", {{"text", "Park"}, {"height", 12}}}};
  const json column = PointFeature(
      60, 250, {{"text", "\xE5\x85\xAC\xE5\x9B\xAD"}, {"height", 12}, {"arrangement", "vertical"}});
  const std::string layer =
      Write("mixed.geojson", json{{"type", "FeatureCollection"},
                                  {"view", {{"bbox", {0, 0, 400, 300}}, {"size", {400, 300}}}},
                                  {"features", {line, park, column}}}
                                 .dump());
  std::string err;
  ASSERT_EQ(Inkline("place '" + layer + "' -o '" + Path("p.geojson") + "'", &err), 0) << err;
  const json placed = json::parse(Read(Path("p.geojson")));
  ASSERT_EQ(placed["features"].size(), 3u) << err;
  const json& river = placed["features"][0]["properties"];
  EXPECT_EQ(river["candidate"], "line-middle");
  EXPECT_NEAR(river["angle"].get<double>(), 45.0, 1e-9);  // upright although drawn downhill
  EXPECT_EQ(placed["features"][1]["properties"]["candidate"], "inside-pole");
  EXPECT_EQ(placed["features"][2]["properties"]["candidate"], "column-right");
  EXPECT_EQ(placed["features"][2]["properties"]["arrangement"], "vertical");

  // Read through GDAL, the shapes are the same.
  ASSERT_EQ(Inkline("place '" + layer + "' --gdal -o '" + Path("g.geojson") + "'", &err), 0) << err;
  const json viaGdal = json::parse(Read(Path("g.geojson")));
  ASSERT_EQ(viaGdal["features"].size(), 3u);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(viaGdal["features"][i]["properties"]["candidate"],
              placed["features"][i]["properties"]["candidate"]);

  // An obstacle right of the column sends it to the left.
  const std::string obstacles =
      Write("obstacles.geojson", R"({"type":"FeatureCollection","features":[
    {"type":"Feature","properties":{},"geometry":{"type":"Polygon",
     "coordinates":[[[62,200],[90,200],[90,290],[62,290],[62,200]]]}}]})");
  ASSERT_EQ(Inkline("place '" + layer + "' --obstacles '" + obstacles + "' -o '" +
                        Path("o.geojson") + "'",
                    &err),
            0)
      << err;
  EXPECT_EQ(json::parse(Read(Path("o.geojson")))["features"][2]["properties"]["candidate"],
            "column-left");
  // A line through the left side as well leaves the column nowhere to go.
  const std::string walls = Write("walls.geojson", R"({"type":"FeatureCollection","features":[
    {"type":"Feature","properties":{},"geometry":{"type":"Polygon",
     "coordinates":[[[62,200],[90,200],[90,290],[62,290],[62,200]]]}},
    {"type":"Feature","properties":{},"geometry":{"type":"LineString","coordinates":[[40,240],[58,258]]}}]})");
  ASSERT_EQ(
      Inkline("place '" + layer + "' --obstacles '" + walls + "' -o '" + Path("w.geojson") + "'",
              &err),
      0)
      << err;
  const json dropped = json::parse(Read(Path("w.dropped.geojson")));
  ASSERT_EQ(dropped["features"].size(), 1u);
  EXPECT_EQ(dropped["features"][0]["properties"]["source"], 2);
  EXPECT_EQ(dropped["features"][0]["properties"]["reason"], "collision");
  EXPECT_NE(err.find("dropped 1 collision"), std::string::npos) << err;

  ASSERT_EQ(Inkline("render '" + layer + "' --place --marker 4 -o '" + Path("p.png") + "'", &err),
            0)
      << err;
  EXPECT_NE(err.find("placed 3 of 3 labels"), std::string::npos) << err;
  EXPECT_GT(Read(Path("p.png")).size(), 100u);
  EXPECT_EQ(Inkline("place '" + layer + "' --offset -2 -o '" + Path("q.geojson") + "'", &err), 2);
}

}  // namespace
