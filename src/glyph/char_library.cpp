// Character-library glyphs: characters kept as straight strokes on a 16 by 16
// grid in the file the font library holds open.
//
// The file starts with an index of 7426 three-byte records, one per cell of
// the double-byte character set's 79 rows of 94. A record is a little-endian
// 24-bit value: the low 18 bits are the file offset of the character's
// strokes, the top 6 bits their length in bytes. Strokes are byte pairs, one
// segment each; a point byte holds the column in its high nibble and the row,
// counted down from the top of the cell, in its low nibble. A pair of zero
// bytes ends the list.
//
// The file is read with positioned reads, never by seeking: string objects on
// several threads share one font library and so one file handle.
#include <cstring>

#include <inkline/map_string.h>

#include "frame/entry_checks.h"
#include "glyph/glyph_runs.h"
#include "glyph/read_file_at.h"
#include "layout/numeric.h"
#include "layout/text_units.h"

namespace glyph {

namespace {

constexpr int kRecords = 7426;
constexpr int kRecordBytes = 3;
constexpr int kMaxPairs = 32;
constexpr double kCellUnits = 16.0;

// The index record of the character at ch, or -1 for none. A one-byte
// character is read as its full-width form in row 0xA3.
int RecordNumber(const char* ch) {
  unsigned lead = static_cast<unsigned char>(ch[0]);
  unsigned trail = 0;
  if (layout::IsLeadByte(ch[0])) {
    trail = static_cast<unsigned char>(ch[1]);
  } else {
    trail = lead | 0x80;
    lead = 0xA3;
  }
  int row = static_cast<int>(lead & 0x7F);
  const int cell = static_cast<int>(trail & 0x7F);
  // The file leaves out rows 0xA8 to 0xAF: character rows follow the symbols.
  if (row >= 48) row -= 8;
  const int record = row * 94 + cell - 3135;
  return record >= 0 && record < kRecords ? record : -1;
}

// Reads up to `bytes` bytes at `offset`; the count read, 0 after a failure.
unsigned ReadAt(int file, long offset, unsigned char* out, unsigned bytes) {
  const UINT got = ReadFileAt(file, static_cast<LONG>(offset), out, bytes);
  if (got == static_cast<UINT>(HFILE_ERROR)) return 0;
  return got < bytes ? got : bytes;
}

// One stroke from grid point to grid point, drawn with the outline pen when
// outlining, with the bold pen when bold, and with the saved pen.
struct StrokePens {
  PEN saved;
  PEN pen;  // the outline and bold pens; the bold one keeps the last width
};

void DrawStroke(const CMapString& s, DeviceDriver& d, StrokePens& pens, short bold,
                const D_POINT (&line)[2]) {
  if (s.OutlineMode == 1) {
    pens.pen.width = s.OutlineWidth + (bold == 1 ? 1.0 : 0.0);
    pens.pen.color = s.OutlineColor;
    d.SetPen(&pens.pen);
    d.DrawLine(line[0].x, line[0].y, line[1].x, line[1].y);
  }
  if (bold == 1) {
    pens.pen.color = pens.saved.color;
    if (s.SizeClass == 4) pens.pen.width = 2.0;
    if (s.SizeClass == 3) pens.pen.width = 3.0;
    d.SetPen(&pens.pen);
    d.DrawLine(line[0].x, line[0].y, line[1].x, line[1].y);
  }
  d.SetPen(&pens.saved);
  d.DrawLine(line[0].x, line[0].y, line[1].x, line[1].y);
}

}  // namespace

void ReadStrokeRecord(CMapString& s, int file, const char* ch) {
  // Whatever happens below, nothing of an earlier character survives: the
  // buffer holds this character's strokes and zeros after them.
  std::memset(s.ClibRecord, 0, sizeof s.ClibRecord);
  if (!ch || ch[0] == ' ') return;
  const int record = RecordNumber(ch);
  if (record < 0) return;

  unsigned char entry[kRecordBytes] = {};
  if (ReadAt(file, static_cast<long>(record) * kRecordBytes, entry, kRecordBytes) != kRecordBytes)
    return;
  const unsigned value = entry[0] | (entry[1] << 8) | (static_cast<unsigned>(entry[2]) << 16);
  const unsigned offset = value & 0x3FFFF;
  const unsigned length = value >> 18;  // 6 bits: at most 63, the buffer holds 66

  const unsigned got = ReadAt(file, static_cast<long>(offset), s.ClibRecord, length);
  // A short read keeps only whole pairs: half a segment is not drawn.
  const unsigned kept = got == length ? length : (got & ~1u);
  std::memset(s.ClibRecord + kept, 0, sizeof s.ClibRecord - kept);
}

int DrawStrokeChar(const DrawContext& c, char* ch, Vec at, short bold, Axes a) {
  CMapString& s = c.s;
  StrokePens pens{c.device.SavedPen(), PEN{}};
  // One grid unit is then a sixteenth of the width across and of the height up.
  const double perUnit = entry_checks::DesignGridOf(s) / kCellUnits;
  a = Axes{a.a1 * perUnit, a.a2 * perUnit, a.a3 * perUnit, a.a4 * perUnit};
  ReadStrokeRecord(s, s.FontLib ? s.FontLib->ClibFile : -1, ch);

  const auto place = [&](unsigned char b) {
    const double gx = b >> 4, gy = kCellUnits - (b & 0x0F);
    return D_POINT{at.x + gx * a.a2 - gy * a.a3, at.y + gx * a.a1 + gy * a.a4};
  };
  for (int j = 0; j < kMaxPairs && c.device.driver; ++j) {
    const unsigned char from = s.ClibRecord[2 * j];
    const unsigned char to = s.ClibRecord[2 * j + 1];
    if (from == 0 && to == 0) break;
    const D_POINT line[2] = {place(from), place(to)};
    DrawStroke(s, *c.device.driver, pens, bold, line);
  }
  return StrokeCharAdvance(s, ch);
}

int StrokeCharAdvance(const CMapString& s, char* ch) {
  if (!s.CurFont || !ch) return 0;
  return layout::TruncToInt(s.CurFont->CharLength(ch));
}

}  // namespace glyph

void CMapString::GetClib(int file, char* ch) { glyph::ReadStrokeRecord(*this, file, ch); }

int CMapString::DispChar(double x, double y, char* ch, short bold, double a1, double a2,
                         double a3, double a4) {
  return glyph::DrawStrokeChar(layout::ContextOf(*this), ch, {x, y}, bold,
                               glyph::Axes{a1, a2, a3, a4});
}
