// The target a portable device context draws into.
//
// A device context is a handle to an object that draws into whatever its
// owner provides: the owner attaches a GdiSink, and the portable GDI hands it
// finished geometry in device pixels (x to the right, y downwards). Fonts,
// glyph outlines, rotation, emboldening and path bookkeeping all happen before
// the sink is called; a sink only fills and strokes what it is given.
//
// Only the portable implementation has this; on Windows a DC draws itself.
#ifndef INKLINE_WIN32_SINK_H
#define INKLINE_WIN32_SINK_H

#include <inkline/win32.h>

#if !defined(_WIN32)

// A point of a path in device pixels, y growing downwards. Not rounded: a
// sink that can draw between pixels should.
struct GdiPoint {
  double x;
  double y;
};

// A path as GDI describes one: every point has a PT_ type. A figure starts
// with PT_MOVETO; PT_BEZIERTO points come in threes (two control points and
// the end point, starting from the point before them); PT_CLOSEFIGURE may be
// or-ed into the last point of a figure, which then closes with a line back
// to its PT_MOVETO point.
struct GdiPath {
  const GdiPoint* points;
  const BYTE* types;
  int count;
};

// One glyph of a text, for sinks that draw each glyph from an image made
// once instead of filling its outline every time. Glyphs with the same shape
// have the same outline for the life of the process.
struct GdiGlyph {
  unsigned long long shape;
  GdiPath outline;   // pixels, y up, from the pen position, not yet turned
  GdiPoint origin;   // where the pen position lands, device pixels
};

// One TextOutA call that drew (no path was open).
struct GdiTextOutput {
  // What was asked, for sinks that describe rather than draw.
  int x, y;                  // the reference point given to TextOutA
  const char* text;          // the code page bytes given, not terminated
  int length;                // their number
  const LOGFONTA* font;      // the font selected into the context
  const char* fontFile;      // the font file it resolved to ("" if none)
  double emHeight;           // the character (em) height in pixels
  double escapement;         // baseline angle, degrees counter-clockwise
  double advance;            // the text's advance along the baseline, pixels

  // What to draw. First, when opaque is true, fill the cell box (four
  // corners, in order) with background; then fill glyphs with color using
  // the non-zero winding rule. Either may be empty.
  bool opaque;
  COLORREF background;
  GdiPoint cell[4];
  COLORREF color;
  GdiPath glyphs;  // empty when the sink wants no placed path
  // The same glyphs one by one, in text order: each outline turned by the
  // escapement (device x = origin.x + x cos - y sin, device y = origin.y -
  // (x sin + y cos)) and moved to its origin gives its figures in glyphs.
  const GdiGlyph* glyphList;
  int glyphCount;
};

// One PolyDraw call that drew: stroke path (figures are not filled) with a
// pen of width penWidth pixels (0: one pixel, whatever the scale) in color.
// A null pen draws nothing and never reaches the sink.
struct GdiStroke {
  GdiPath path;
  int penStyle;
  int penWidth;
  COLORREF color;
};

class GdiSink {
 public:
  virtual void Text(const GdiTextOutput& text) = 0;
  virtual void Stroke(const GdiStroke& stroke) = 0;
  // Whether Text needs `glyphs`, every point placed on the page; a sink
  // drawing from glyphList alone spares that work by saying no.
  virtual bool WantsPlacedGlyphs() const { return true; }

 protected:
  GdiSink() = default;
  GdiSink(const GdiSink&) = default;
  GdiSink& operator=(const GdiSink&) = default;
  ~GdiSink() = default;  // the owner destroys its sink through its own type
};

extern "C" {
// Attaches sink to a device context (null detaches it). The sink must outlive
// the attachment. FALSE for a handle that is not a device context.
INKLINE_WIN32_API BOOL InklineSetDCSink(HDC dc, GdiSink* sink);
}

#endif  // !_WIN32

#endif  // INKLINE_WIN32_SINK_H
