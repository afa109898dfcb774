// TextOutA: code page text in the context's font, its reference point the
// top left of the first character cell. While a path is open the glyph
// outlines go into the path; otherwise the text goes to the context's target
// in the text colour, on a background box when the background is opaque.
#include <inkline/win32_sink.h>

#include "dc_path.h"
#include "gdi_objects.h"
#include "text_geometry.h"

namespace {

// The geometry of the text being written, in room kept by the thread from
// one call to the next: most texts are a character, and building their
// lists afresh took more than laying them out. A sink that writes text
// from inside Text() gets room of its own. The shapes laid out stay whole
// until the outermost text is written.
class GeometryRoom {
 public:
  GeometryRoom() : g_(depth_ == 0 ? kept_ : own_) { ++depth_; }
  ~GeometryRoom() {
    if (--depth_ == 0) gdi::ForgetRetiredShapes();
  }
  GeometryRoom(const GeometryRoom&) = delete;
  GeometryRoom& operator=(const GeometryRoom&) = delete;
  gdi::TextGeometry& get() { return g_; }

 private:
  static thread_local gdi::TextGeometry kept_;
  static thread_local int depth_;
  gdi::TextGeometry own_;
  gdi::TextGeometry& g_;
};
thread_local gdi::TextGeometry GeometryRoom::kept_;
thread_local int GeometryRoom::depth_ = 0;

}  // namespace

extern "C" {

BOOL WINAPI TextOutA(HDC handle, int x, int y, LPCSTR text, int count) {
  if (count < 0 || (count > 0 && !text)) return FALSE;
  LOGFONTA lf{};
  COLORREF color = 0, background = 0;
  bool opaque = false, intoPath = false;
  GdiSink* sink = nullptr;
  {
    gdi::SharedTableLock hold(gdi::LockOf(handle));
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
  GeometryRoom room;
  gdi::TextGeometry& g = room.get();
  const bool placePoints = intoPath || (sink && sink->WantsPlacedGlyphs());
  if (!gdi::LayOutText(lf, x, y, text, count, placePoints, &g)) return FALSE;
  if (intoPath) {
    gdi::TableLock hold(gdi::LockOf(handle));
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
