// Record numbering, point coding, the file builder and the reader.
#include <inkline/host/char_library.h>

#include <cstdio>
#include <fstream>

#include <inkline/win32.h>

namespace clib {

namespace {

constexpr int kReaderBuffer = 66;  // the drawing code's stroke buffer
constexpr int kReaderPairs = 32;

bool OnGrid(GridPoint p) { return p.x >= 0 && p.x <= 15 && p.y >= 1 && p.y <= 16; }

void PutRecord(std::vector<unsigned char>& file, int record, unsigned long value) {
  const size_t at = static_cast<size_t>(record) * 3;
  file[at] = static_cast<unsigned char>(value & 0xFF);
  file[at + 1] = static_cast<unsigned char>((value >> 8) & 0xFF);
  file[at + 2] = static_cast<unsigned char>((value >> 16) & 0xFF);
}

}  // namespace

unsigned char EncodePoint(GridPoint p) {
  return static_cast<unsigned char>((p.x << 4) | (16 - p.y));
}

GridPoint DecodePoint(unsigned char b) { return {b >> 4, 16 - (b & 0x0F)}; }

int RecordNumber(unsigned char b1, unsigned char b2) {
  int r = b1 & 0x7F;
  const int k = b2 & 0x7F;
  if (r >= 48) r -= 8;
  return r * 94 + k - 3135;
}

int RecordOfCharacter(const char* ch) {
  if (!ch || ch[0] == 0 || ch[0] == ' ') return -1;
  const auto b1 = static_cast<unsigned char>(ch[0]);
  const int n = (b1 & 0x80) ? RecordNumber(b1, static_cast<unsigned char>(ch[1]))
                            : RecordNumber(0xA3, static_cast<unsigned char>(b1 | 0x80));
  return (n >= 0 && n < kRecordCount) ? n : -1;
}

bool IsLibraryCell(unsigned code) {
  const unsigned b1 = code >> 8, b2 = code & 0xFF;
  if (code > 0xFFFF || b2 < 0xA1 || b2 > 0xFE) return false;
  return (b1 >= 0xA1 && b1 <= 0xA7) || (b1 >= 0xB0 && b1 <= 0xF7);
}

Strokes DecodeStrokes(const unsigned char* data, size_t length) {
  Strokes out;
  for (size_t i = 0; i + 1 < length; i += 2) {
    if (data[i] == 0 && data[i + 1] == 0) break;
    out.push_back({DecodePoint(data[i]), DecodePoint(data[i + 1])});
  }
  return out;
}

bool Builder::Set(unsigned code, const Strokes& strokes, std::string* why) {
  auto refuse = [why](const char* reason) {
    if (why) *why = reason;
    return false;
  };
  if (!IsLibraryCell(code)) return refuse("not a cell with a record of its own");
  if (strokes.size() > static_cast<size_t>(kMaxSegments)) return refuse("too many segments");
  std::vector<unsigned char> data;
  for (const Segment& s : strokes) {
    if (!OnGrid(s.from) || !OnGrid(s.to)) return refuse("point off the grid");
    const unsigned char a = EncodePoint(s.from), b = EncodePoint(s.to);
    if (a == 0 && b == 0) return refuse("segment reads as the end of the list");
    data.push_back(a);
    data.push_back(b);
  }
  records_[RecordNumber(static_cast<unsigned char>(code >> 8),
                        static_cast<unsigned char>(code & 0xFF))] = std::move(data);
  return true;
}

bool Builder::Has(unsigned code) const {
  return IsLibraryCell(code) &&
         records_.count(RecordNumber(static_cast<unsigned char>(code >> 8),
                                     static_cast<unsigned char>(code & 0xFF))) > 0;
}

Strokes Builder::Get(unsigned code) const {
  if (!IsLibraryCell(code)) return {};
  const auto it = records_.find(RecordNumber(static_cast<unsigned char>(code >> 8),
                                             static_cast<unsigned char>(code & 0xFF)));
  return it == records_.end() ? Strokes{} : DecodeStrokes(it->second.data(), it->second.size());
}

std::vector<unsigned char> Builder::Bytes() const {
  std::vector<unsigned char> file(kIndexBytes, 0);
  for (const auto& [record, data] : records_) {
    if (data.empty()) continue;
    const size_t offset = file.size();
    if (offset > static_cast<size_t>(kMaxOffset)) return {};
    PutRecord(file, record, offset | (static_cast<unsigned long>(data.size()) << 18));
    file.insert(file.end(), data.begin(), data.end());
  }
  return file;
}

bool Builder::Write(const std::string& path, std::string* error) const {
  const std::vector<unsigned char> bytes = Bytes();
  if (bytes.empty()) {
    if (error) *error = "the stroke data outgrows the 18-bit offsets";
    return false;
  }
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::remove(temporary.c_str());
      if (error) *error = "cannot write " + temporary;
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    if (error) *error = "cannot rename " + temporary + " to " + path;
    return false;
  }
  return true;
}

Strokes ReadStrokes(int file, const char* ch) {
  unsigned char buffer[kReaderBuffer] = {};
  const int record = RecordOfCharacter(ch);
  if (record < 0) return {};
  unsigned char index[3] = {};
  _llseek(file, 3 * record, FILE_BEGIN);
  _lread(file, index, 3);
  const unsigned long v = index[0] | (index[1] << 8) | (static_cast<unsigned long>(index[2]) << 16);
  const UINT length = static_cast<UINT>(v >> 18);
  _llseek(file, static_cast<LONG>(v & kMaxOffset), FILE_BEGIN);
  _lread(file, buffer, length);
  buffer[length] = 0;
  buffer[length + 1] = 0;
  return DecodeStrokes(buffer, 2 * kReaderPairs);
}

}  // namespace clib
