// Markup throughput on a corpus of documents, one a line, for the peer table:
//   markup_rate --mode reader|to-str [--per-document] CORPUS
// reader: the markup reader with an event sink that counts tags and text;
// to-str: the conversion back to plain parameters. The corpus is read as one
// text, or with --per-document one line at a time.
// Repeats the corpus until half a second has passed and prints one line
// "RESULT mode=... mb_per_s=... cpu_mb_per_s=... docs_per_s=...": the rate
// by the clock, and by the processor time the passes took, which a loaded
// machine disturbs less.
#include <chrono>
#include <ctime>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <inkline/convert.h>

#include "html/html_reader.h"

namespace {

class CountingSink : public IHTMLReaderEvents {
 public:
  void OnParseBegin(uint32_t, bool&) override {}
  void OnTagStart(CHTMLTag&, uint32_t, bool&) override { ++Tags; }
  void OnTagEnd(CHTMLTag&, uint32_t, bool&) override { ++Tags; }
  void OnText(std::string& text, uint32_t, bool&) override { TextBytes += text.size(); }
  void OnParseEnd(uint32_t, bool) override {}
  int64_t Tags = 0;
  int64_t TextBytes = 0;
};

// One pass over every document; returns a value that depends on the work.
int64_t Pass(std::vector<std::string>& documents, bool reader, CountingSink& sink) {
  int64_t check = 0;
  for (std::string& d : documents) {
    if (reader) {
      CHTMLReader r;
      r.SetEventSink(&sink);
      check += r.ReadText(d.c_str());
    } else {
      short face = 0, style = 0;
      double size = 0;
      int color = 0, bgcolor = 0;
      float space = 0, angle = 0;
      char hvpl = 0;
      const char* text = CvtHTMLToStr(d.data(), &face, &style, &size, &color, &space, &hvpl,
                                      &bgcolor, &angle);
      check += text ? static_cast<int64_t>(std::strlen(text)) : 0;
    }
  }
  return check;
}

}  // namespace

int main(int argc, char** argv) {
  const bool perDocument = argc == 5 && std::strcmp(argv[3], "--per-document") == 0;
  if (argc != 4 + perDocument || std::strcmp(argv[1], "--mode") != 0 ||
      (std::strcmp(argv[2], "reader") != 0 && std::strcmp(argv[2], "to-str") != 0)) {
    std::fprintf(stderr, "usage: markup_rate --mode reader|to-str [--per-document] CORPUS\n");
    return 2;
  }
  std::ifstream in(argv[argc - 1], std::ios::binary);
  std::vector<std::string> documents;
  size_t bytes = 0;
  if (perDocument) {
    for (std::string line; std::getline(in, line);) {
      bytes += line.size() + 1;
      documents.push_back(std::move(line));
    }
  } else {
    std::ostringstream all;
    all << in.rdbuf();
    documents.push_back(all.str());
    bytes = documents.back().size();
  }
  if (bytes == 0) {
    std::fprintf(stderr, "markup_rate: nothing in %s\n", argv[argc - 1]);
    return 2;
  }
  const bool reader = std::strcmp(argv[2], "reader") == 0;
  CountingSink sink;
  int64_t check = 0;
  int passes = 0;
  const auto start = std::chrono::steady_clock::now();
  const std::clock_t cpuStart = std::clock();
  double seconds = 0;
  do {
    check += Pass(documents, reader, sink);
    ++passes;
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  } while (seconds < 0.5);
  const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  std::printf(
      "RESULT mode=%s%s docs=%zu passes=%d check=%lld mb_per_s=%.1f cpu_mb_per_s=%.1f "
      "docs_per_s=%.0f\n",
      argv[2], perDocument ? "-per-document" : "", documents.size(), passes,
      static_cast<long long>(check + sink.Tags), bytes * passes / seconds / 1e6,
      bytes * passes / cpuSeconds / 1e6, documents.size() * passes / seconds);
  return 0;
}
