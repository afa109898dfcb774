// Paths: BeginPath and EndPath bracket what drawing calls record instead of
// drawing; GetPath reads the closed path back; PolyDraw draws lines and
// Béziers given as points and PT_ types, into the path when one is open.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include <inkline/win32_sink.h>

#include "dc_path.h"
#include "gdi_objects.h"

namespace gdi {
namespace {

// To a whole pixel, saturating. Glyph outlines come in fractions of a pixel
// with y up and are rounded there, halves upwards: on the device, whose y
// runs down, halves go right in x and up in y.
LONG Saturated(double v) {
  if (v <= static_cast<double>(INT32_MIN)) return INT32_MIN;
  if (v >= static_cast<double>(INT32_MAX)) return INT32_MAX;
  return static_cast<LONG>(v);
}
POINT Rounded(const GdiPoint& p) {
  return POINT{Saturated(std::floor(p.x + 0.5)), Saturated(std::ceil(p.y - 0.5))};
}

constexpr BYTE kKindMask = static_cast<BYTE>(~PT_CLOSEFIGURE);

// Types as PolyDraw accepts them: PT_MOVETO alone; PT_LINETO, optionally
// closing; PT_BEZIERTO in threes, only the third closing.
bool ValidTypes(const BYTE* types, int count) {
  for (int i = 0; i < count;) {
    const BYTE t = types[i];
    if (t == PT_MOVETO || (t & kKindMask) == PT_LINETO) {
      ++i;
    } else if (t == PT_BEZIERTO) {
      if (i + 2 >= count || types[i + 1] != PT_BEZIERTO ||
          (types[i + 2] & kKindMask) != PT_BEZIERTO)
        return false;
      i += 3;
    } else {
      return false;
    }
  }
  return true;
}

// The figures PolyDraw draws, starting at the current position, and the
// current position they leave behind.
ShapePath Figures(const POINT& from, const POINT* points, const BYTE* types, int count,
                  bool startsAtPosition, POINT* position) {
  ShapePath path;
  POINT figureStart = from;
  if (startsAtPosition) path.Add(from.x, from.y, PT_MOVETO);
  POINT at = from;
  for (int i = 0; i < count; ++i) {
    path.Add(points[i].x, points[i].y, types[i]);
    at = points[i];
    if (types[i] == PT_MOVETO) figureStart = points[i];
    // A closed figure leaves the position at the end of its closing line.
    if (types[i] & PT_CLOSEFIGURE) at = figureStart;
  }
  *position = at;
  return path;
}

// Whether lines added to dc's path must first move to the current position:
// when the path has no open figure ending there.
bool PathNeedsMove(const DC& dc) {
  if (dc.pathPoints.empty() || (dc.pathTypes.back() & PT_CLOSEFIGURE)) return true;
  const POINT& last = dc.pathPoints.back();
  return last.x != dc.position.x || last.y != dc.position.y;
}

}  // namespace

void AppendToPath(DC& dc, const ShapePath& figures) {
  dc.pathPoints.reserve(dc.pathPoints.size() + figures.points.size());
  dc.pathTypes.reserve(dc.pathTypes.size() + figures.types.size());
  for (int i = 0; i < figures.size(); ++i) {
    const GdiPoint& p = figures.points[static_cast<size_t>(i)];
    dc.pathPoints.push_back(Rounded(p));
    dc.pathTypes.push_back(figures.types[static_cast<size_t>(i)]);
  }
}

}  // namespace gdi

extern "C" {

// Opens a path bracket, discarding any path the context held.
BOOL WINAPI BeginPath(HDC handle) {
  gdi::TableLock hold(gdi::LockOf(handle));
  gdi::DC* dc = gdi::FindDC(handle);
  if (!dc) return FALSE;
  dc->recordingPath = true;
  dc->pathClosed = false;
  dc->pathPoints.clear();
  dc->pathTypes.clear();
  return TRUE;
}

// Closes the bracket; the path stays selected in the context for GetPath.
BOOL WINAPI EndPath(HDC handle) {
  gdi::TableLock hold(gdi::LockOf(handle));
  gdi::DC* dc = gdi::FindDC(handle);
  if (!dc || !dc->recordingPath) return FALSE;
  dc->recordingPath = false;
  dc->pathClosed = true;
  return TRUE;
}

// With count 0, the number of points of the closed path (buffers untouched).
// Otherwise copies them and returns their number; -1 when the context holds
// no closed path, or count is too small for it.
int WINAPI GetPath(HDC handle, POINT* points, BYTE* types, int count) {
  gdi::SharedTableLock hold(gdi::LockOf(handle));
  gdi::DC* dc = gdi::FindDC(handle);
  if (!dc || !dc->pathClosed) return -1;
  const int n = static_cast<int>(dc->pathPoints.size());
  if (count == 0) return n;
  if (count < n || !points || !types) return -1;
  std::copy(dc->pathPoints.begin(), dc->pathPoints.end(), points);
  std::copy(dc->pathTypes.begin(), dc->pathTypes.end(), types);
  return n;
}

// Draws with the current pen, without filling; adds to the path instead
// while one is open. Updates the current position.
BOOL WINAPI PolyDraw(HDC handle, const POINT* points, const BYTE* types, int count) {
  if (count < 0 || (count > 0 && (!points || !types))) return FALSE;
  if (count > 0 && !gdi::ValidTypes(types, count)) return FALSE;
  GdiSink* sink = nullptr;
  GdiStroke stroke{{}, PS_NULL, 0, 0};
  gdi::ShapePath figures;
  {
    gdi::TableLock hold(gdi::LockOf(handle));
    gdi::DC* dc = gdi::FindDC(handle);
    if (!dc) return FALSE;
    if (count == 0) return TRUE;
    const bool startsWithLine = types[0] != PT_MOVETO;
    if (dc->recordingPath) {
      figures = gdi::Figures(dc->position, points, types, count,
                             startsWithLine && gdi::PathNeedsMove(*dc), &dc->position);
      gdi::AppendToPath(*dc, figures);
      return TRUE;
    }
    figures = gdi::Figures(dc->position, points, types, count, startsWithLine, &dc->position);
    sink = dc->sink;
    if (dc->pen) stroke = GdiStroke{{}, dc->pen->style, dc->pen->width, dc->pen->color};
  }
  // The target is drawn outside the lock: a sink may call GDI itself.
  if (sink && stroke.penStyle != PS_NULL) {
    stroke.path = figures.view();
    sink->Stroke(stroke);
  }
  return TRUE;
}

}  // extern "C"
