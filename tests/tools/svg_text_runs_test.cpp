// Native SVG text of shaped runs: a run's clusters, arriving as they stand
// on the line, become one tspan of the run's text in reading order, from
// where the run starts on the line; spaced-out clusters keep their own.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "svg_text_layer.h"

namespace {

std::string Written(SvgTextLayer& layer) {
  char path[] = "/tmp/inkline-svg-runs-XXXXXX";
  const int fd = mkstemp(path);
  EXPECT_GE(fd, 0);
  close(fd);
  std::ofstream(path) << "<svg>\n</svg>\n";
  std::string error;
  EXPECT_TRUE(layer.WriteInto(path, &error)) << error;
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  std::remove(path);
  return text.str();
}

// A cluster of label 3's run 0 at x (em 10, advance a fifth of an em).
NativeTextPlacement Cluster(const std::string& text, int logical, double x, const std::string* family) {
  NativeTextPlacement p;
  p.utf8 = text;
  p.family = family;
  p.emSize = 10;
  p.originX = x;
  p.originY = 50;
  p.advance = 0.2;
  p.label = 3;
  p.run = 0;
  p.rightToLeft = p.runRightToLeft = true;
  p.logical = logical;
  return p;
}

TEST(SvgTextRuns, ARunIsOneSpanInReadingOrderAndSpacingSplitsIt) {
  const std::string arabic = "Noto Sans Arabic", sans = "Noto Sans";
  SvgTextLayer layer;
  // Right to left: the last letters stand on the left.
  layer.Add(Cluster("c", 4, 100, &arabic), true, RGB(0, 0, 0), false, 0, 0);
  layer.Add(Cluster("b", 2, 102, &sans), true, RGB(0, 0, 0), false, 0, 0);
  layer.Add(Cluster("a", 0, 104, &arabic), true, RGB(0, 0, 0), false, 0, 0);
  // Two ems on: spaced out, a span of its own.
  layer.Add(Cluster("z", 6, 126, &arabic), true, RGB(0, 0, 0), false, 0, 0);
  const std::string svg = Written(layer);
  EXPECT_NE(svg.find("<tspan x=\"100.000\" y=\"50.000\" font-family=\"Noto Sans Arabic, Noto Sans, "
                     "sans-serif\" direction=\"rtl\" unicode-bidi=\"embed\" text-anchor=\"end\">abc</tspan>"),
            std::string::npos)
      << svg;
  EXPECT_NE(svg.find("<tspan x=\"126.000\" y=\"50.000\" direction=\"rtl\" unicode-bidi=\"embed\" "
                     "text-anchor=\"end\">z</tspan>"),
            std::string::npos)
      << svg;
}

TEST(SvgTextRuns, BoldAndItalicAreKept) {
  const std::string family = "DejaVu Sans";
  SvgTextLayer layer;
  NativeTextPlacement p;
  p.utf8 = "A";
  p.family = &family;
  p.emSize = 12;
  p.bold = p.italic = true;
  layer.Add(p, true, RGB(0, 0, 0), false, 0, 0);
  const std::string svg = Written(layer);
  EXPECT_NE(svg.find("font-weight=\"bold\" font-style=\"italic\""), std::string::npos) << svg;
}

}  // namespace
