// Throughput of the markup reader over a few MB of annotation-like markup,
// and over the corpus file when INKLINE_MARKUP_CORPUS names one.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "html/html_reader.h"
#include "markup_corpus.h"

namespace {

// Counts events and touches every text, as a renderer at least would, and
// unless told otherwise every tag's attributes.
class CountingSink : public IHTMLReaderEvents {
 public:
  explicit CountingSink(bool readsAttributes = true) : ReadsAttributes(readsAttributes) {}

  void OnParseBegin(uint32_t, bool&) override {}
  void OnTagStart(CHTMLTag& tag, uint32_t, bool&) override {
    const CHTMLAttributes* attributes = ReadsAttributes ? tag.GetAttributes() : nullptr;
    Tags += 1 + (attributes ? attributes->GetCount() : 0);
  }
  void OnTagEnd(CHTMLTag&, uint32_t, bool&) override { ++Tags; }
  void OnText(std::string& text, uint32_t, bool&) override { TextBytes += text.size(); }
  void OnParseEnd(uint32_t, bool) override {}

  const bool ReadsAttributes;
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

// One reader per document, as the renderer builds one per label and as the
// peer table reads the corpus: the cost of making a reader counts.
void ReadEach(benchmark::State& state, const std::vector<std::string>& documents,
              bool readsAttributes = true) {
  int64_t bytes = 0;
  for (const std::string& d : documents) bytes += static_cast<int64_t>(d.size()) + 1;
  CountingSink sink(readsAttributes);
  for (auto _ : state) {
    for (const std::string& d : documents) {
      CHTMLReader reader;
      reader.SetEventSink(&sink);
      benchmark::DoNotOptimize(reader.ReadText(d.c_str()));
    }
  }
  benchmark::DoNotOptimize(sink.Tags);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
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

void BM_HtmlReaderPerDocument(benchmark::State& state) {
  ReadEach(state, MarkupLines(SyntheticMarkup(4 << 20)));
}
BENCHMARK(BM_HtmlReaderPerDocument)->Unit(benchmark::kMillisecond);

void BM_HtmlReaderCorpusPerDocument(benchmark::State& state) {
  const std::string corpus = MarkupCorpusFile();
  if (corpus.empty()) {
    state.SkipWithError("INKLINE_MARKUP_CORPUS names no readable file");
    return;
  }
  ReadEach(state, MarkupLines(corpus));
}
BENCHMARK(BM_HtmlReaderCorpusPerDocument)->Unit(benchmark::kMillisecond);

// A sink that asks for no attribute: the reader then builds none.
void BM_HtmlReaderPerDocumentAttributesUnread(benchmark::State& state) {
  ReadEach(state, MarkupLines(SyntheticMarkup(4 << 20)), false);
}
BENCHMARK(BM_HtmlReaderPerDocumentAttributesUnread)->Unit(benchmark::kMillisecond);

}  // namespace
