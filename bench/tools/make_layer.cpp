// Writes a GeoJSON layer of N plain annotations for timing renders:
//   make_layer N > layer.geojson
// Labels mix Latin and Chinese, both drawing paths, rotations, vertical
// columns, styles and notations, spread over a 4000 x 3000 picture.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  const long n = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 10000;
  const char* texts[] = {"Main Street", "\xE4\xBA\xBA\xE6\xB0\x91\xE8\xB7\xAF",  // 人民路
                         "River H#-2#=O", "/1/2/", "\xE5\x85\xAC\xE5\x9B\xAD",   // 公园
                         "Station 12", "Hill 305 m", "X#+2#-3#=a"};
  const char* styles[] = {"0", "4096", "8192", "2", "{\"outline\":true}", "{\"shadow\":true}"};
  std::printf("{\"type\":\"FeatureCollection\",\"view\":{\"bbox\":[0,0,4000,3000],"
              "\"size\":[4000,3000]},\"features\":[\n");
  unsigned seed = 12345;
  auto next = [&seed]() { return seed = seed * 1103515245u + 12345u, (seed >> 8) & 0xFFFF; };
  for (long i = 0; i < n; ++i) {
    const double x = next() % 3800, y = next() % 2900 + 20;
    const int h = 10 + static_cast<int>(next() % 20);
    const bool sameWidth = next() % 2;
    std::printf("%s{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[%g,%g]},"
                "\"properties\":{\"text\":\"%s\",\"height\":%d,\"width\":%d,\"angle\":%d,"
                "\"arrangement\":%d,\"style\":%s,\"color\":2,\"extra\":1,\"textColor\":%d}}\n",
                i ? "," : "", x, y, texts[next() % 8], h, sameWidth ? h : h - 2,
                static_cast<int>(next() % 4) * 15, next() % 10 == 0 ? 1 : 0, styles[next() % 6],
                1 + static_cast<int>(next() % 4));
  }
  std::printf("]}\n");
  return 0;
}
