#include "markup_corpus.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

namespace {

// Chinese text in the double-byte code page: common GBK characters.
std::string GbkText(std::mt19937& rng, int characters) {
  std::string s;
  for (int i = 0; i < characters; ++i) {
    s += static_cast<char>(0xB0 + rng() % 0x28);
    s += static_cast<char>(0xA1 + rng() % 0x5E);
  }
  return s;
}

// One annotation document as the conversion functions write them, with the
// styling tags an editor adds inside.
std::string Annotation(std::mt19937& rng) {
  static const char* const kStyles[] = {"sub", "sup", "u", "em", "strong", "strike"};
  std::string s = "<body bgcolor=" + std::to_string(rng() % 256) +
                  " angle=0 space=1.5 size=12 hvpl=0><font face=" + std::to_string(rng() % 8) +
                  " color=" + std::to_string(rng() % 256) + ">";
  const int pieces = 3 + static_cast<int>(rng() % 6);
  for (int i = 0; i < pieces; ++i) {
    const char* style = kStyles[rng() % 6];
    s += GbkText(rng, 2 + static_cast<int>(rng() % 10));
    s += rng() % 3 == 0 ? " &lt;A&amp;B&gt; " : " Road 12 ";
    s += std::string("<") + style + ">" + GbkText(rng, 1 + static_cast<int>(rng() % 3)) + "</" +
         style + ">";
    if (rng() % 4 == 0) s += "<p>";
  }
  return s + "&nbsp;</font></body>\r\n";
}

}  // namespace

std::string SyntheticMarkup(std::size_t bytes) {
  std::mt19937 rng(7);
  std::string s;
  while (s.size() < bytes) s += Annotation(rng);
  return s;
}

std::string MarkupCorpusFile() {
  const char* path = std::getenv("INKLINE_MARKUP_CORPUS");
  if (!path) return {};
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> MarkupLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.emplace_back(text, start, end - start);
    start = end + 1;
  }
  return lines;
}
