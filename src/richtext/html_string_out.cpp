// The rich-text entry point: runs the markup reader over the text with a
// renderer for the target rectangle as its event sink.
#include <inkline/map_string.h>

#include <memory>
#include <new>

#include "frame/entry_checks.h"
#include "html/html_reader.h"
#include "layout/decisions.h"
#include "richtext/orvex_html_reader_events.h"

void CMapString::HTMLStringOut(char* markup, double, double, D_RECT* box, long) {
  if (!Driver || !markup || !box || !entry_checks::AcceptBox(*box)) return;
  // The device may have changed since construction; read its settings again.
  RationalDispMode = Driver->GetRationalDispMode();
  DevFlags = Driver->DispFlags;
  DeviceType = Driver->GetDeviceType();

  CHTMLReader reader;
  // The box hangs from the rectangle's first corner: text runs right of xmin
  // and down from ymin.
  const TextBox textBox{box->xmin, box->ymin, box->xmax - box->xmin, box->ymax - box->ymin};
  try {
    std::unique_ptr<COrvexHTMLReaderEvents> renderer(new (std::nothrow)
                                                         COrvexHTMLReaderEvents(textBox, this));
    if (!renderer) return;
    reader.SetEventSink(renderer.get());
    reader.ReadText(markup);
  } catch (...) {
    // Out of memory while collecting runs: what was drawn stays, the rest is
    // dropped, and nothing crosses the interface.
    layout::Decide([] { return std::string("rich text: stopped, out of memory"); });
  }
}
