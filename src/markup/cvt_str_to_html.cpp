// The exported conversion from an annotation's parameters to its markup.
#include <inkline/afx.h>
#include <inkline/convert.h>

#include "frame/app.h"
#include "markup/markup_writer.h"

char* CvtStrToHTML(char* text, short face, short style, double size, int color, float space,
                   char hvpl, int bgcolor, float angle) {
  AFX_MANAGE_STATE_STATIC();
  if (!text) return nullptr;
  CInklineApp* app = InklineApp();
  if (!app) return nullptr;
  try {
    const MarkupParameters params{face, style, size, color, space, hvpl, bgcolor, angle};
    const std::optional<std::string> document = WriteMarkup(text, params);
    if (!document) return nullptr;
    return app->StoreResult(document->data(), document->size());
  } catch (...) {
    return nullptr;  // out of memory: no exception crosses the export
  }
}
