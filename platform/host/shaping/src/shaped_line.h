// One line of text shaped: split into runs by script and direction, each run
// shaped in its faces, the runs put in the order they stand on the line.
#ifndef INKLINE_HOST_SHAPING_SHAPED_LINE_H
#define INKLINE_HOST_SHAPING_SHAPED_LINE_H

#include <string>
#include <vector>

#include "shaping_faces.h"

namespace shaping {

// A glyph of a cluster, in font units from the cluster's pen position (x
// along the line, y up).
struct LineGlyph {
  unsigned index;
  long x, y;
};

// The glyphs of some characters that shape together (a letter with its
// marks, a ligature, a conjunct).
struct LineCluster {
  int first = 0, count = 0;  // the characters, in reading order
  // What the clusters joined into this one were, in reading order: their
  // characters and glyphs (the glyphs counted from the right on a
  // right-to-left cluster).
  struct Piece {
    int chars, glyphs;
  };
  std::vector<Piece> pieces;
  int face = 0;              // the face number the glyphs are in
  std::vector<LineGlyph> glyphs;  // as they stand on the line
  long advance = 0;          // font units
  bool rightToLeft = false;  // its characters read right to left
};

struct ShapedLine {
  std::vector<LineCluster> clusters;  // as they stand on the line, left to right
  bool rightToLeft = false;           // the line's own direction, from its first strong character
};

// Shapes text, character i in face faceOf[i]. False when the shaper fails
// (out of memory).
bool ShapeLine(const std::u32string& text, const std::vector<int>& faceOf, ShapingFaces& faces,
               ShapedLine* out);

}  // namespace shaping

#endif  // INKLINE_HOST_SHAPING_SHAPED_LINE_H
