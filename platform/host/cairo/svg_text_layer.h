// Native text in SVG pictures as real <text> elements, so it can be selected
// and searched. The library draws a run one character at a time; characters
// that follow each other in the same style join one element, each in a
// <tspan> at its own position, so a word stays a word to a search. Cairo writes the rest of the
// picture; the elements are added on top when the picture is finished.
#ifndef INKLINE_HOST_SVG_TEXT_LAYER_H
#define INKLINE_HOST_SVG_TEXT_LAYER_H

#include <string>
#include <vector>

#include <inkline/win32.h>

#include "native_text.h"

class SvgTextLayer {
 public:
  // Adds one character; fill and stroke are used when their flags say so.
  void Add(const NativeTextPlacement& text, bool fill, COLORREF fillColor, bool stroke,
           COLORREF strokeColor, double strokeWidth);
  bool Empty() const { return elements_.empty(); }

  // The elements as they will be written.
  std::string Elements() const;

  // Inserts the elements before the closing tag of the SVG file at path.
  bool WriteInto(const std::string& path, std::string* error) const;

 private:
  struct Element {
    std::string style;   // every attribute but the positions
    double angle = 0;    // degrees counter-clockwise
    double pivotX = 0;   // the element turns about its first character
    double pivotY = 0;
    // Each character at its position in the element's unturned frame.
    std::vector<double> xs, ys;
    std::vector<std::string> texts;  // UTF-8
  };
  static std::string ElementText(const Element& e);
  std::vector<Element> elements_;
};

#endif  // INKLINE_HOST_SVG_TEXT_LAYER_H
