// A PNG drawn in bands on several threads is byte for byte the one drawn on
// one thread: labels crossing a band's edge, rotated, outlined, boxed, rich
// text and stroke fonts included.
#include <cstdlib>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

namespace {

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class BandedRender : public ::testing::Test {
 protected:
  void SetUp() override {
    char templ[] = "/tmp/inkline-bands-XXXXXX";
    ASSERT_NE(mkdtemp(templ), nullptr);
    dir_ = templ;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  // The PNG's bytes, empty when the command failed.
  std::string Render(const std::string& layer, const std::string& options, int threads) {
    const std::string out = dir_ + "/t" + std::to_string(threads) + ".png";
    const std::string cmd = std::string(INKLINE_COMMAND) + " render -q '" + layer + "' -o '" + out +
                            "' " + options + " --threads " + std::to_string(threads);
    if (std::system(cmd.c_str()) != 0) return "";
    return Slurp(out);
  }

  std::string dir_;
};

TEST_F(BandedRender, ShowcaseOnSeveralThreadsMatchesOneThread) {
  const std::string layer = std::string(INKLINE_SOURCE_DIR) + "/examples/showcase.geojson";
  // The outline path, the TrueType path, a page whose bands are cut
  // through large text, and one too low for a second band (drawn on a
  // thread of its own while the layer is read); a transparent page keeps
  // its alpha channel.
  for (const std::string options : {"", "--no-truetype", "--size 300,2000", "--size 240,120",
                                    "--background transparent --kind 3"}) {
    const std::string one = Render(layer, options, 1);
    ASSERT_FALSE(one.empty()) << options;
    for (int threads : {2, 3, 7})
      EXPECT_TRUE(Render(layer, options, threads) == one) << options << ", " << threads << " threads";
  }
}

// Outlined, turned text in a lower band: its edges once came out a shade
// off when the band was drawn on a surface of its own rows.
TEST_F(BandedRender, OutlinedTextInALowerBandMatchesOneThread) {
  std::string features;
  const char* const places[] = {"[100,1976]", "[300,1976]", "[500,1976]", "[700,1976]", "[652,763]"};
  for (const char* at : places)
    features += std::string(features.empty() ? "" : ",") +
                "{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":" + at +
                "},\"properties\":{\"text\":\"Station 12\",\"height\":28,\"width\":28,"
                "\"angle\":15,\"style\":{\"outline\":true},\"color\":2,\"extra\":1,\"textColor\":4}}";
  const std::string layer = dir_ + "/outlined.geojson";
  std::ofstream(layer) << "{\"type\":\"FeatureCollection\",\"view\":{\"bbox\":[0,0,4000,3000],"
                          "\"size\":[4000,3000]},\"features\":[" << features << "]}";
  const std::string one = Render(layer, "", 1);
  ASSERT_FALSE(one.empty());
  for (int threads : {2, 3}) EXPECT_TRUE(Render(layer, "", threads) == one) << threads << " threads";
}

}  // namespace
