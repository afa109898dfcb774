// The character-library file: strokes on a 16 by 16 grid, one record a cell
// of the GB2312 layout, read with _llseek/_lread as the drawing code reads it.
//
// Layout: an index of kRecordCount three-byte little-endian records at the
// start of the file; record v holds the absolute offset of the stroke data in
// bits 0-17 and its length in bytes in bits 18-23. Stroke data is byte pairs,
// one straight segment each; a point byte b is gx = b >> 4 (0..15 from the
// left) and gy = 16 - (b & 0x0F) (1..16 from the bottom). A character the
// file does not hold has a record of length 0.
#ifndef INKLINE_HOST_CHAR_LIBRARY_H
#define INKLINE_HOST_CHAR_LIBRARY_H

#include <cstddef>
#include <map>
#include <string>
#include <vector>

namespace clib {

constexpr int kRecordCount = 7426;  // 79 rows of 94 cells
constexpr int kIndexBytes = 3 * kRecordCount;
constexpr int kMaxSegments = 31;    // 62 bytes: the length field has 6 bits
constexpr long kMaxOffset = 0x3FFFF;

struct GridPoint {
  int x;  // 0..15 from the left
  int y;  // 1..16 from the bottom
};
inline bool operator==(GridPoint a, GridPoint b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(GridPoint a, GridPoint b) { return !(a == b); }

struct Segment {
  GridPoint from;
  GridPoint to;
};
inline bool operator==(const Segment& a, const Segment& b) {
  return a.from == b.from && a.to == b.to;
}

using Strokes = std::vector<Segment>;

unsigned char EncodePoint(GridPoint p);
GridPoint DecodePoint(unsigned char b);

// The record number of the two-byte code (b1, b2) by the reader's rule; it
// can fall outside 0..kRecordCount-1.
int RecordNumber(unsigned char b1, unsigned char b2);

// The record the reader consults for the character at ch: a one-byte
// character t as its full-width form (0xA3, t | 0x80); -1 for the space, a
// NUL and numbers outside the index.
int RecordOfCharacter(const char* ch);

// True when code (b1 << 8 | b2) is a cell with a record of its own: rows
// 0xA1-0xA7 and 0xB0-0xF7, cells 0xA1-0xFE. Rows 0xA8-0xAF share their records
// with 0xB0-0xB7 and are not.
bool IsLibraryCell(unsigned code);

// Segments of stroke data, up to the first pair of two zero bytes.
Strokes DecodeStrokes(const unsigned char* data, size_t length);

// Collects the characters of a library and lays out the file.
class Builder {
 public:
  // Stores the strokes of code (see IsLibraryCell). Refuses, returning false
  // with a reason, a code without a record of its own, more than
  // kMaxSegments segments, a point off the grid, or a zero-length segment at
  // the top left corner, which would read as the end of the list.
  bool Set(unsigned code, const Strokes& strokes, std::string* why = nullptr);
  bool Has(unsigned code) const;
  // The strokes stored for code, as the file will hold them.
  Strokes Get(unsigned code) const;
  size_t CharacterCount() const { return records_.size(); }

  // The whole file, or an empty vector when the data outgrows the 18-bit
  // offsets.
  std::vector<unsigned char> Bytes() const;
  // Writes the file to path through a temporary file and a rename.
  bool Write(const std::string& path, std::string* error) const;

 private:
  std::map<int, std::vector<unsigned char>> records_;  // record number -> stroke data
};

// Reads the strokes of the character at ch from the open file, exactly as
// the drawing code does: _llseek to the index record, _lread its three bytes,
// _llseek to the data and _lread its length, then at most 32 pairs, up to the
// first pair of two zero bytes.
Strokes ReadStrokes(int file, const char* ch);

}  // namespace clib

#endif  // INKLINE_HOST_CHAR_LIBRARY_H
