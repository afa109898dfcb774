// The glyph renderers: a run drawn character by character from the vector
// font's outlines, from a Windows TrueType font, or, one character at a
// time, from the character library's strokes.
#ifndef INKLINE_SRC_GLYPH_GLYPH_RUNS_H
#define INKLINE_SRC_GLYPH_GLYPH_RUNS_H

#include <inkline/map_string.h>

#include "layout/run.h"

namespace glyph {

using layout::DrawContext;
using layout::Run;
using layout::RunStyle;
using layout::Vec;

// The four factors that take a glyph's design units to the device: its
// horizontal axis (a1 up, a2 across) and its leaning vertical axis (a3
// across, a4 up), each scaled by the character size over the grid.
struct Axes {
  double a1, a2, a3, a4;
};

// A cursor moving along a run: along the baseline by each advance, or one
// cell down the column whatever the advance. `end` follows it from the
// run's origin and closes the underline.
struct RunWalker {
  Vec dir;      // along the baseline
  Vec down;     // down the column
  bool vertical;
  double cell;  // height plus spacing: the step down a column
  double spacing;
  double scale; // device units per design unit along the baseline
  Vec cursor;
  Vec end;

  static RunWalker For(const Run& run, double theta, double grid, Vec start);
  Vec Step(double advance) const;
  // The direction of every later move by an advance of 1 or more, when they
  // all go one way; false when spacing against the advances may turn them.
  bool Heading(Vec* heading) const;
  void Move(Vec d) {
    cursor = cursor + d;
    end = end + d;
  }
};

// Tells the decision trace that the character at `at` was skipped.
void ReportSkipped(Vec at);

void DrawVectorRun(const DrawContext& c, const Run& run, const RunStyle& style);
void DrawTrueTypeRun(const DrawContext& c, const Run& run, const RunStyle& style, bool native);

// One character; each returns its advance in design units.
double DrawVectorChar(const DrawContext& c, char* ch, Vec at, short bold, const Axes& axes);
double DrawTrueTypeChar(const DrawContext& c, Vec at, char* ch, bool native);
int DrawStrokeChar(const DrawContext& c, char* ch, Vec at, short bold, Axes axes);

// What each of them returns for the character without drawing it, so a run
// walks past a glyph that cannot show exactly as it would have drawn it.
double VectorCharAdvance(CMapString& s, char* ch);
double TrueTypeCharAdvance(const CMapString& s, char* ch, bool native);
int StrokeCharAdvance(const CMapString& s, char* ch);

// Fills the object's stroke record for the character at ch from the
// character-library file.
void ReadStrokeRecord(CMapString& s, int file, const char* ch);

// The device's pen and brush as the kind keeps them (zero records when it
// keeps none).
struct SavedPenBrush {
  PEN pen;
  BRUSH brush;
};
inline SavedPenBrush SaveOf(const DrawContext& c) {
  return SavedPenBrush{c.device.SavedPen(), c.device.SavedBrush()};
}

}  // namespace glyph

#endif  // INKLINE_SRC_GLYPH_GLYPH_RUNS_H
