// A markup document taken apart into its text and body parameters.
#ifndef INKLINE_TOOLS_MARKUP_PARTS_H
#define INKLINE_TOOLS_MARKUP_PARTS_H

#include <string>

struct MarkupParts {
  std::string text;  // code page bytes
  short face = 0, style = 0;
  double size = 0;
  int color = 0, bgcolor = 0;
  float space = 0, angle = 0;
  char hvpl = 0;
};

// False when the markup (code page bytes) has no <body ...> tag.
bool TakeMarkupApart(std::string markup, MarkupParts* parts);

#endif  // INKLINE_TOOLS_MARKUP_PARTS_H
