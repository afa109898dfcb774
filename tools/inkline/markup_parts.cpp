#include "markup_parts.h"

#include <inkline/inkline.h>

bool TakeMarkupApart(std::string markup, MarkupParts* p) {
  const char* text = CvtHTMLToStr(markup.data(), &p->face, &p->style, &p->size, &p->color,
                                  &p->space, &p->hvpl, &p->bgcolor, &p->angle);
  if (!text) return false;
  p->text = text;  // the library's buffer is reused by its next call
  return true;
}
