// Native text in SVG pictures as real <text> elements, so it can be selected
// and searched. The library draws a run one character at a time; characters
// that follow each other in the same style join one element, each in a
// <tspan> at its own position, so a word stays a word to a search. The
// clusters of one shaped run (a word of Arabic, Devanagari, Thai...) share a
// single <tspan> holding the run's text in reading order from where the run
// starts on the line, so the viewer shapes and orders it as a whole and
// marks stay on their letters. Cairo writes the rest of the picture; the
// elements are added on top when the picture is finished. Finished elements
// wait in a temporary file, so a layer of any size costs the same memory.
#ifndef INKLINE_HOST_SVG_TEXT_LAYER_H
#define INKLINE_HOST_SVG_TEXT_LAYER_H

#include <cstdio>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <inkline/win32.h>

#include "native_text.h"

class SvgTextLayer {
 public:
  // Adds one character; fill and stroke are used when their flags say so.
  void Add(const NativeTextPlacement& text, bool fill, COLORREF fillColor, bool stroke,
           COLORREF strokeColor, double strokeWidth);

  // Inserts the elements before the closing tag of the SVG file at path.
  bool WriteInto(const std::string& path, std::string* error);

 private:
  struct Element {
    std::string style;   // every attribute but the positions
    double angle = 0;    // degrees counter-clockwise
    double pivotX = 0;   // the element turns about its first character
    double pivotY = 0;
    std::string spans;   // each character at its place in the unturned frame
  };
  // Moves the element being gathered to the finished ones.
  void Finish();
  // Ends the shaped run being gathered into the element's spans.
  void FinishRun();
  // Appends text to the finished elements, spilling them to a temporary
  // file past a few hundred kilobytes (kept in memory if none can be had).
  void Keep(const std::string& text);
  bool CopyKeptTo(FILE* out);

  Element current_;
  bool open_ = false;
  // The shaped run being gathered: its label and run, its place in the
  // unturned frame, where its next cluster should start on the page, its
  // text piece by piece (by where each starts in reading order) and the
  // families it is drawn in.
  struct Run {
    unsigned long long label = 0;
    int run = -1;
    bool rightToLeft = false;
    double x = 0, y = 0;
    double nextX = 0, nextY = 0, emSize = 0, angle = 0;
    std::vector<std::pair<int, std::string>> pieces;
    std::vector<const std::string*> families;
  };
  // Whether a shaped cluster carries on the run being gathered.
  bool ContinuesRun(const NativeTextPlacement& text) const;
  Run run_;
  bool runOpen_ = false;
  std::string style_;  // the style of the last character, and what made it
  const std::string* family_ = nullptr;
  double emSize_ = -1, strokeWidth_ = -1;
  COLORREF fillColor_ = 0, strokeColor_ = 0;
  bool fill_ = false, stroke_ = false, bold_ = false, italic_ = false;

  std::string kept_;
  std::unique_ptr<FILE, int (*)(FILE*)> spill_{nullptr, &std::fclose};
  bool spillFailed_ = false;
  bool any_ = false;
};

#endif  // INKLINE_HOST_SVG_TEXT_LAYER_H
