// Throughput of the markup reader over a few MB of annotation-like markup,
// and over the corpus file when INKLINE_MARKUP_CORPUS names one.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "html/html_reader.h"
#include "markup_corpus.h"

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

void ReadWhole(benchmark::State& state, const std::string& markup) {
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

void BM_HtmlReaderThroughput(benchmark::State& state) {
  ReadWhole(state, SyntheticMarkup(static_cast<size_t>(state.range(0))));
}
BENCHMARK(BM_HtmlReaderThroughput)->Arg(4 << 20)->Unit(benchmark::kMillisecond);

void BM_HtmlReaderCorpus(benchmark::State& state) {
  const std::string corpus = MarkupCorpusFile();
  if (corpus.empty()) {
    state.SkipWithError("INKLINE_MARKUP_CORPUS names no readable file");
    return;
  }
  ReadWhole(state, corpus);
}
BENCHMARK(BM_HtmlReaderCorpus)->Unit(benchmark::kMillisecond);

}  // namespace
