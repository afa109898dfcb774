// Hershey vector fonts (.jhf) and their fitting onto the 16 by 16 grid of the
// character library.
//
// A .jhf record: columns 1-5 the glyph number, 6-8 the number of coordinate
// pairs (the first pair being the left and right bearings), then the pairs as
// two characters each, coordinate = character - 'R', y growing downwards;
// " R" lifts the pen. A long record may carry on over following lines.
#ifndef INKLINE_HOST_HERSHEY_H
#define INKLINE_HOST_HERSHEY_H

#include <istream>
#include <string>
#include <vector>

#include <inkline/host/char_library.h>

namespace clib {

struct HersheyPoint {
  int x;
  int y;  // downwards
};

struct HersheyGlyph {
  int number = 0;
  int left = 0;
  int right = 0;
  std::vector<std::vector<HersheyPoint>> strokes;  // polylines
};

// Parses a whole .jhf font, glyphs in file order. On a malformed record
// returns false and names the line in *error.
bool ParseHersheyFont(std::istream& in, std::vector<HersheyGlyph>* glyphs, std::string* error);
bool LoadHersheyFont(const std::string& path, std::vector<HersheyGlyph>* glyphs,
                     std::string* error);

// How a face maps onto the grid: one scale for both axes (the aspect ratio is
// kept), the face's vertical centre on the grid's centre, each glyph centred
// across the cell.
struct GridFit {
  double scale = 1.0;
  double centerY = 0.0;  // Hershey y that lands on the middle of the cell
};

// The largest fit that keeps every glyph of the face inside the cell.
GridFit FitFace(const std::vector<HersheyGlyph>& glyphs);

// The glyph as at most maxSegments grid segments: points rounded onto the
// grid, repeated points and straight runs merged, duplicate segments dropped,
// and the polylines simplified further, step by step, while there are too
// many.
Strokes ToGridStrokes(const HersheyGlyph& glyph, const GridFit& fit,
                      int maxSegments = kMaxSegments);

}  // namespace clib

#endif  // INKLINE_HOST_HERSHEY_H
