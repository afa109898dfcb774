// TextOutA: code page text in the context's font, its reference point the
// top left of the first character cell. While a path is open the glyph
// outlines go into the path; otherwise the text goes to the context's target
// in the text colour, on a background box when the background is opaque.
#include <inkline/win32_sink.h>

#include "dc_path.h"
#include "gdi_objects.h"
#include "text_geometry.h"

using gdi::Lock;

extern "C" {

BOOL WINAPI TextOutA(HDC handle, int x, int y, LPCSTR text, int count) {
  if (count < 0 || (count > 0 && !text)) return FALSE;
  LOGFONTA lf{};
  COLORREF color = 0, background = 0;
  bool opaque = false, intoPath = false;
  GdiSink* sink = nullptr;
  {
    gdi::SharedTableLock hold(Lock());
    gdi::DC* dc = gdi::FindDC(handle);
    if (!dc) return FALSE;
    if (dc->font) lf = dc->font->lf;
    color = dc->textColor;
    background = dc->bkColor;
    opaque = dc->bkMode == OPAQUE;
    intoPath = dc->recordingPath;
    sink = dc->sink;
  }
  if (count == 0) return TRUE;
  gdi::TextGeometry g;
  const bool placePoints = intoPath || (sink && sink->WantsPlacedGlyphs());
  if (!gdi::LayOutText(lf, x, y, text, count, placePoints, &g)) return FALSE;
  if (intoPath) {
    gdi::TableLock hold(Lock());
    gdi::DC* dc = gdi::FindDC(handle);
    if (!dc || !dc->recordingPath) return FALSE;
    gdi::AppendToPath(*dc, g.glyphs);
    return TRUE;
  }
  if (!sink) return TRUE;  // a context without a target draws nowhere
  GdiTextOutput out{};
  out.x = x;
  out.y = y;
  out.text = text;
  out.length = count;
  out.font = &lf;
  out.fontFile = g.file.c_str();
  out.emHeight = g.emHeight;
  out.escapement = g.escapement;
  out.advance = g.advance;
  out.opaque = opaque;
  out.background = background;
  for (int i = 0; i < 4; ++i) out.cell[i] = g.cell[i];
  out.color = color;
  out.glyphs = g.glyphs.view();
  out.glyphList = g.glyphList.data();
  out.glyphCount = static_cast<int>(g.glyphList.size());
  sink->Text(out);
  return TRUE;
}

}  // extern "C"
