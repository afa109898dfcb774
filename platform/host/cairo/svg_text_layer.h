// Native text in SVG pictures as real <text> elements, so it can be selected
// and searched. Cairo writes the rest of the picture; the elements are added
// on top when the picture is finished.
#ifndef INKLINE_HOST_SVG_TEXT_LAYER_H
#define INKLINE_HOST_SVG_TEXT_LAYER_H

#include <string>
#include <vector>

#include <inkline/win32.h>

#include "native_text.h"

class SvgTextLayer {
 public:
  // Adds one text; fill and stroke are used when their flags say so.
  void Add(const NativeTextPlacement& text, bool fill, COLORREF fillColor, bool stroke,
           COLORREF strokeColor, double strokeWidth);
  bool Empty() const { return elements_.empty(); }

  // Inserts the elements before the closing tag of the SVG file at path.
  bool WriteInto(const std::string& path, std::string* error) const;

 private:
  std::vector<std::string> elements_;
};

#endif  // INKLINE_HOST_SVG_TEXT_LAYER_H
