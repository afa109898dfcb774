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
#include <climits>
#include <cmath>
#include <cstring>

#include <inkline/map_string.h>

#include "frame/entry_checks.h"

namespace {

constexpr int kRecords = 7426;
constexpr int kRecordBytes = 3;
constexpr int kMaxPairs = 32;
constexpr double kCellUnits = 16.0;

// The index record of the character at ch, or -1 for none. A one-byte
// character is read as its full-width form in row 0xA3.
int RecordNumber(const unsigned char* ch) {
  unsigned lead = ch[0];
  unsigned trail = 0;
  if (lead & 0x80) {
    trail = ch[1];
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

// Reads up to `bytes` bytes at `offset`; the count read, 0 after a failed seek.
unsigned ReadAt(int file, long offset, unsigned char* out, unsigned bytes) {
  if (_llseek(file, static_cast<LONG>(offset), FILE_BEGIN) != offset) return 0;
  const UINT got = _lread(file, out, bytes);
  if (got == static_cast<UINT>(HFILE_ERROR)) return 0;
  return got < bytes ? got : bytes;
}

}  // namespace

void CMapString::GetClib(int file, char* ch) {
  // Whatever happens below, nothing of an earlier character survives: the
  // buffer holds this character's strokes and zeros after them.
  std::memset(ClibRecord, 0, sizeof ClibRecord);
  if (!ch || ch[0] == ' ') return;
  const int record = RecordNumber(reinterpret_cast<const unsigned char*>(ch));
  if (record < 0) return;

  unsigned char entry[kRecordBytes] = {};
  if (ReadAt(file, static_cast<long>(record) * kRecordBytes, entry, kRecordBytes) !=
      kRecordBytes)
    return;
  const unsigned value = entry[0] | (entry[1] << 8) | (static_cast<unsigned>(entry[2]) << 16);
  const unsigned offset = value & 0x3FFFF;
  const unsigned length = value >> 18;  // 6 bits: at most 63, the buffer holds 66

  const unsigned got = ReadAt(file, static_cast<long>(offset), ClibRecord, length);
  // A short read keeps only whole pairs: half a segment is not drawn.
  const unsigned kept = got == length ? length : (got & ~1u);
  std::memset(ClibRecord + kept, 0, sizeof ClibRecord - kept);
}

int CMapString::DispChar(double x, double y, char* ch, short bold, double a1, double a2,
                         double a3, double a4) {
  PEN saved{};
  BRUSH savedBrush{};
  GetOldPenOrBrush(&saved, &savedBrush);

  // One grid unit is then a sixteenth of the width across and of the height up.
  const double perUnit = entry_checks::DesignGridOf(*this) / kCellUnits;
  a1 *= perUnit;
  a2 *= perUnit;
  a3 *= perUnit;
  a4 *= perUnit;

  GetClib(FontLib ? FontLib->ClibFile : -1, ch);

  // The bold pen keeps the width the pen record last held, unless the text is
  // small enough to need a fixed one.
  PEN pen{};
  for (int j = 0; j < kMaxPairs && Driver; ++j) {
    const unsigned char from = ClibRecord[2 * j];
    const unsigned char to = ClibRecord[2 * j + 1];
    if (from == 0 && to == 0) break;
    const double gx1 = from >> 4, gy1 = kCellUnits - (from & 0x0F);
    const double gx2 = to >> 4, gy2 = kCellUnits - (to & 0x0F);
    const double x1 = x + gx1 * a2 - gy1 * a3, y1 = y + gx1 * a1 + gy1 * a4;
    const double x2 = x + gx2 * a2 - gy2 * a3, y2 = y + gx2 * a1 + gy2 * a4;

    if (OutlineMode == 1) {
      pen.width = OutlineWidth + (bold == 1 ? 1.0 : 0.0);
      pen.color = OutlineColor;
      Driver->SetPen(&pen);
      Driver->DrawLine(x1, y1, x2, y2);
    }
    if (bold == 1) {
      pen.color = saved.color;
      if (SizeClass == 4) pen.width = 2.0;
      if (SizeClass == 3) pen.width = 3.0;
      Driver->SetPen(&pen);
      Driver->DrawLine(x1, y1, x2, y2);
    }
    Driver->SetPen(&saved);
    Driver->DrawLine(x1, y1, x2, y2);
  }

  if (!CurFont || !ch) return 0;
  const double advance = std::trunc(CurFont->CharLength(ch));
  if (!(advance == advance)) return 0;
  if (advance >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (advance <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(advance);
}
