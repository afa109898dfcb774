// Throughput of taking annotation documents apart (CvtHTMLToStr), one
// document a call, as a host converting a layer's labels does.
#include <benchmark/benchmark.h>

#include <inkline/convert.h>

#include <cstdint>
#include <string>
#include <vector>

#include "markup_corpus.h"

namespace {

void ConvertEach(benchmark::State& state, std::vector<std::string> documents) {
  int64_t bytes = 0;
  for (const std::string& d : documents) bytes += static_cast<int64_t>(d.size());
  short face = 0, style = 0;
  double size = 0;
  int color = 0, bgcolor = 0;
  float space = 0, angle = 0;
  char hvpl = 0;
  for (auto _ : state) {
    for (std::string& d : documents) {
      benchmark::DoNotOptimize(CvtHTMLToStr(d.data(), &face, &style, &size, &color, &space,
                                            &hvpl, &bgcolor, &angle));
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
}

void BM_CvtHTMLToStr(benchmark::State& state) {
  ConvertEach(state, MarkupLines(SyntheticMarkup(4 << 20)));
}
BENCHMARK(BM_CvtHTMLToStr)->Unit(benchmark::kMillisecond);

void BM_CvtHTMLToStrCorpus(benchmark::State& state) {
  const std::string corpus = MarkupCorpusFile();
  if (corpus.empty()) {
    state.SkipWithError("INKLINE_MARKUP_CORPUS names no readable file");
    return;
  }
  ConvertEach(state, MarkupLines(corpus));
}
BENCHMARK(BM_CvtHTMLToStrCorpus)->Unit(benchmark::kMillisecond);

// One document of a few MB with many font tags: the whole text in one call.
void BM_CvtHTMLToStrLongDocument(benchmark::State& state) {
  std::string document = "<body size=12>";
  while (document.size() < (2u << 20)) document += "<font face=1 color=2>ab<em>c</em></font>";
  ConvertEach(state, {document});
}
BENCHMARK(BM_CvtHTMLToStrLongDocument)->Unit(benchmark::kMillisecond);

}  // namespace
