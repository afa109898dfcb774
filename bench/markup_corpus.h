// Markup for the reader and conversion benchmarks: annotation documents as the
// conversion functions write them, or a corpus file named by the environment
// variable INKLINE_MARKUP_CORPUS (one document a line).
#ifndef INKLINE_BENCH_MARKUP_CORPUS_H
#define INKLINE_BENCH_MARKUP_CORPUS_H

#include <cstddef>
#include <string>
#include <vector>

// Documents of about `bytes` in all, each ending in CR LF.
std::string SyntheticMarkup(std::size_t bytes);

// The corpus file's bytes; empty when the variable is not set or the file
// cannot be read.
std::string MarkupCorpusFile();

// The lines of a text, without their line feeds.
std::vector<std::string> MarkupLines(const std::string& text);

#endif  // INKLINE_BENCH_MARKUP_CORPUS_H
