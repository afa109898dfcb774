// Writing an annotation's parameters as a markup document.
#ifndef INKLINE_SRC_MARKUP_MARKUP_WRITER_H
#define INKLINE_SRC_MARKUP_MARKUP_WRITER_H

#include <optional>
#include <string>

// The parameters of one annotation as the markup document carries them.
struct MarkupParameters {
  short Face = 0;
  short Style = 0;
  double Size = 0;
  int Color = 0;
  float Space = 0;
  char Hvpl = 0;
  int Bgcolor = 0;
  float Angle = 0;
};

// The document of `text` (NUL-terminated) and its parameters, or nothing when
// it would not fit the formatter's int-sized output.
std::optional<std::string> WriteMarkup(const char* text, const MarkupParameters& params);

#endif  // INKLINE_SRC_MARKUP_MARKUP_WRITER_H
