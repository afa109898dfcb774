// Throughput of the markup reader over a few MB of annotation-like markup.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>

#include "html/html_reader.h"

namespace {

// Counts events and touches every text, as a renderer at least would.
class CountingSink : public IHTMLReaderEvents {
 public:
  void OnParseBegin(uint32_t, bool&) override {}
  void OnTagStart(CHTMLTag& tag, uint32_t, bool&) override {
    Tags += 1 + (tag.GetAttributes() ? tag.GetAttributes()->GetCount() : 0);
  }
  void OnTagEnd(CHTMLTag&, uint32_t, bool&) override { ++Tags; }
  void OnText(std::string& text, uint32_t, bool&) override { TextBytes += text.size(); }
  void OnParseEnd(uint32_t, bool) override {}

  int64_t Tags = 0;
  int64_t TextBytes = 0;
};

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

std::string Markup(size_t bytes) {
  std::mt19937 rng(7);
  std::string s;
  while (s.size() < bytes) s += Annotation(rng);
  return s;
}

void BM_HtmlReaderThroughput(benchmark::State& state) {
  const std::string markup = Markup(static_cast<size_t>(state.range(0)));
  CountingSink sink;
  for (auto _ : state) {
    CHTMLReader reader;
    reader.SetEventSink(&sink);
    benchmark::DoNotOptimize(reader.ReadText(markup.c_str()));
  }
  benchmark::DoNotOptimize(sink.Tags);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(markup.size()));
}
BENCHMARK(BM_HtmlReaderThroughput)->Arg(4 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
