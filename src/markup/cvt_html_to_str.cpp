// The exported conversion from a markup document back to an annotation's
// plain text and parameters.
#include <inkline/afx.h>
#include <inkline/convert.h>

#include "frame/app.h"
#include "markup/markup_reader.h"

namespace {

// The caller must pass eight valid pointers; a null one is skipped rather
// than written through.
template <typename T>
void Put(T* out, T value) {
  if (out) *out = value;
}

}  // namespace

char* CvtHTMLToStr(char* document, short* face, short* style, double* size, int* color,
                   float* space, char* hvpl, int* bgcolor, float* angle) {
  AFX_MANAGE_STATE_STATIC();
  if (!document) return nullptr;
  CInklineApp* app = InklineApp();
  if (!app) return nullptr;
  try {
    // The document may be this thread's result buffer: it is read through
    // before the result is stored.
    const std::optional<MarkupReading> reading = ReadMarkup(document);
    if (!reading) return nullptr;
    char* text = app->StoreResult(reading->Text.data(), reading->Text.size());
    // Outputs are written only with a result, so a failure leaves them all.
    if (!text) return nullptr;
    const MarkupParameters& params = reading->Params;
    Put(bgcolor, params.Bgcolor);
    Put(angle, params.Angle);
    Put(space, params.Space);
    Put(size, params.Size);
    Put(hvpl, params.Hvpl);
    if (reading->HasFont) {
      Put(face, params.Face);
      Put(color, params.Color);
    }
    if (reading->HasStyle) Put(style, params.Style);
    return text;
  } catch (...) {
    return nullptr;  // out of memory: no exception crosses the export
  }
}
