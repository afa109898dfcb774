#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <inkline/host/hostlib.h>
#include <inkline/host/recording_device.h>
#include <inkline/host/synthetic_font_lib.h>
#include <inkline/map_string.h>

#include "support/temp_file.h"

namespace {

constexpr int kRecords = 7426;

// A character-library file built in the test: the index of 7426 three-byte
// records, then stroke data appended record by record.
class ClibFile {
 public:
  ClibFile() : bytes_(kRecords * 3, 0) {}
  ~ClibFile() = default;
  ClibFile(const ClibFile&) = delete;
  ClibFile& operator=(const ClibFile&) = delete;

  // Appends strokes and points record `record` at them.
  void Put(int record, const std::vector<uint8_t>& strokes) {
    const uint32_t offset = static_cast<uint32_t>(bytes_.size());
    bytes_.insert(bytes_.end(), strokes.begin(), strokes.end());
    PutEntry(record, offset | (static_cast<uint32_t>(strokes.size()) << 18));
  }
  void PutEntry(int record, uint32_t value) {
    bytes_[3 * record] = static_cast<uint8_t>(value);
    bytes_[3 * record + 1] = static_cast<uint8_t>(value >> 8);
    bytes_[3 * record + 2] = static_cast<uint8_t>(value >> 16);
  }
  std::vector<uint8_t>& bytes() { return bytes_; }

  // Writes the file and returns an open handle to it.
  int Open() {
    file_ = std::make_unique<TempFile>(std::string(bytes_.begin(), bytes_.end()));
    return file_->handle();
  }

 private:
  std::vector<uint8_t> bytes_;
  std::unique_ptr<TempFile> file_;
};

struct CharLibraryFixture : ::testing::Test {
  CharLibraryFixture() : installed(&fonts), s(&device) {
    device.CurPen = PEN{1.5, 3, 0};
    fonts.libType = 1;
    s.LibType = 1;
    s.CurFontNo = 0;
    s.CurFont = fonts.Font(0);
    s.DesignGrid = 16.0;  // a grid unit is then one design unit
    s.OutlineWidth = 2.0;
    s.OutlineColor = 9;
    s.SizeClass = 1;
  }
  void UseFile() { fonts.ClibFile = file.Open(); }
  // Reads the record of ch and returns its first 66 bytes.
  std::vector<uint8_t> Record(const char* ch) {
    s.GetClib(fonts.ClibFile, const_cast<char*>(ch));
    return std::vector<uint8_t>(s.ClibRecord, s.ClibRecord + sizeof s.ClibRecord);
  }
  // Draws ch upright at (0, 0) with one device unit per grid unit.
  int Draw(const char* ch, short bold = 0) {
    return s.DispChar(0.0, 0.0, const_cast<char*>(ch), bold, 0.0, 1.0, 0.0, 1.0);
  }
  size_t Lines() const { return device.CallsNamed("DrawLine").size(); }

  ClibFile file;
  RecordingDevice device;
  SyntheticFontLib fonts;
  ScopedMapFontLib installed;
  CMapString s;
};

using CharLibraryRecord = CharLibraryFixture;

TEST_F(CharLibraryRecord, MapsCharactersToRowAndCellRecords) {
  // Every record holds one pair naming its own number.
  for (int r = 0; r < kRecords; ++r)
    file.Put(r, {static_cast<uint8_t>(r & 0xFF), static_cast<uint8_t>(0x80 | (r >> 8))});
  UseFile();
  const struct {
    const char* ch;
    int record;
  } cases[] = {
      {"A", 220},          // read as its full-width form 0xA3C1
      {"\xA3\xC1", 220},   //
      {"0", 203},          //
      {"\xA1\xA1", 0},     // first symbol
      {"\xA7\xFE", 657},   // last symbol
      {"\xB0\xA1", 658},   // first character row
      {"\xF7\xFE", 7425},  // last record
      {"\xA8\xA1", 658},   // rows 0xA8-0xAF fall on 0xB0-0xB7
  };
  for (const auto& c : cases) {
    const auto rec = Record(c.ch);
    EXPECT_EQ(rec[0] | ((rec[1] & 0x7F) << 8), c.record) << c.ch;
    EXPECT_EQ(rec[2], 0) << c.ch;
    EXPECT_EQ(rec[3], 0) << c.ch;
  }
}

TEST_F(CharLibraryRecord, SpaceAndCodesOutsideTheIndexReadNothing) {
  for (int r = 0; r < kRecords; ++r) file.Put(r, {0x11, 0x22});
  UseFile();
  std::vector<std::string> empty = {" ", "\xF8\xA1", "\xFF\xFE"};
  for (int lead = 0x80; lead <= 0xA0; ++lead)
    for (int trail = 0xA1; trail <= 0xFE; ++trail)
      empty.push_back({static_cast<char>(lead), static_cast<char>(trail)});
  for (const std::string& ch : empty) {
    Record("A");  // leaves strokes in the buffer
    ASSERT_EQ(_llseek(fonts.ClibFile, 4321, FILE_BEGIN), 4321);
    const auto rec = Record(ch.c_str());
    EXPECT_EQ(rec[0], 0) << ch;
    EXPECT_EQ(rec[1], 0) << ch;
    EXPECT_EQ(_llseek(fonts.ClibFile, 0, FILE_CURRENT), 4321) << "the file was read";
  }
  // Drawing them draws nothing but still answers the advance.
  fonts.Font(0)->advances[' '] = 12.9;
  EXPECT_EQ(Draw(" "), 12);
  EXPECT_EQ(Draw("\x90\xA1"), 40);
  EXPECT_EQ(Lines(), 0u);
}

using CharLibraryDraw = CharLibraryFixture;

TEST_F(CharLibraryDraw, StrokesSitOnASixteenUnitGridCountedDownFromTheTop) {
  file.Put(220, {0x0F, 0xF0, 0x80, 0x08});
  UseFile();
  EXPECT_EQ(Draw("A"), 40);
  EXPECT_EQ(device.Trace(),
            "SetPen 1.5 3\nDrawLine 0 1 15 16\n"
            "SetPen 1.5 3\nDrawLine 8 16 0 8\n");
}

TEST_F(CharLibraryDraw, RunsThroughInklineWithTheRunsAxes) {
  // Character-library mode: font 0 of a library of type 1, on a grid of 255.
  file.Put(220, {0x0F, 0xF0});
  UseFile();
  s.DesignGrid = 255.0;
  s.CharHeight = 32.0;
  fonts.Font(0)->advances['A'] = 255.9;  // truncated to 255: one full width
  s.GraphDispChar(100.0, 200.0, 32.0, 16.0, const_cast<char*>("AA"), 0, 0, 0, 0, 0, 90.0, 0.0, 0,
                  0, 0.0, false);
  const auto lines = device.CallsNamed("DrawLine");
  ASSERT_EQ(lines.size(), 2u);
  // Turned by 90: a grid unit is 1 up (width 16 / 16) and 2 left (height 32 / 16).
  EXPECT_NEAR(lines[0].nums[0], 98.0, 1e-9);
  EXPECT_NEAR(lines[0].nums[1], 200.0, 1e-9);
  EXPECT_NEAR(lines[0].nums[2], 68.0, 1e-9);
  EXPECT_NEAR(lines[0].nums[3], 215.0, 1e-9);
  // The second character starts one width (16) further up.
  EXPECT_NEAR(lines[1].nums[1], 216.0, 1e-9);
  EXPECT_EQ(fonts.Font(0)->outlineCalls, 0);  // no outline is asked for
}

TEST_F(CharLibraryDraw, AZeroLengthRecordDrawsNothing) {
  file.Put(658, {0x11, 0x22, 0x33, 0x44});
  file.Put(220, {});
  UseFile();
  Draw("\xB0\xA1");
  device.Clear();
  Draw("A");
  EXPECT_EQ(Lines(), 0u);
}

TEST_F(CharLibraryDraw, AtMost32PairsAreDrawn) {
  // 63 bytes, the longest record the 6-bit length allows, without a zero pair.
  std::vector<uint8_t> strokes(63, 0x21);
  file.Put(220, strokes);
  UseFile();
  Draw("A");
  const auto lines = device.CallsNamed("DrawLine");
  ASSERT_EQ(lines.size(), 32u);
  // The last pair is the 63rd byte and the terminator after it: to (0, 16).
  EXPECT_EQ(lines.back().line, "DrawLine 2 15 0 16");
}

TEST_F(CharLibraryDraw, BoldWidthDependsOnTheSizeClass) {
  file.Put(220, {0x0F, 0xF0});
  UseFile();
  const std::string line = "DrawLine 0 1 15 16\n";
  const struct {
    short sizeClass, outline, bold;
    std::string trace;
  } cases[] = {
      {4, -1, 1, "SetPen 2 3\n" + line + "SetPen 1.5 3\n" + line},
      {3, -1, 1, "SetPen 3 3\n" + line + "SetPen 1.5 3\n" + line},
      {2, -1, 1, "SetPen 0 3\n" + line + "SetPen 1.5 3\n" + line},  // zero-width pen
      {1, -1, 1, "SetPen 0 3\n" + line + "SetPen 1.5 3\n" + line},
      {1, 1, 1, "SetPen 3 9\n" + line + "SetPen 3 3\n" + line + "SetPen 1.5 3\n" + line},
      {2, 1, 1, "SetPen 3 9\n" + line + "SetPen 3 3\n" + line + "SetPen 1.5 3\n" + line},
      {4, 1, 1, "SetPen 3 9\n" + line + "SetPen 2 3\n" + line + "SetPen 1.5 3\n" + line},
      {3, 1, 0, "SetPen 2 9\n" + line + "SetPen 1.5 3\n" + line},
  };
  for (const auto& c : cases) {
    device.Clear();
    s.SizeClass = c.sizeClass;
    s.OutlineMode = c.outline;
    Draw("A", c.bold);
    EXPECT_EQ(device.Trace(), c.trace)
        << "class " << c.sizeClass << " outline " << c.outline << " bold " << c.bold;
  }
}

using CharLibraryFault = CharLibraryFixture;

TEST_F(CharLibraryFault, AShortReadDrawsOnlyTheWholePairsRead) {
  file.Put(658, std::vector<uint8_t>(12, 0x35));
  file.Put(220, {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA});
  file.bytes().resize(file.bytes().size() - 5);  // the record ends after 5 bytes
  UseFile();
  Draw("\xB0\xA1");
  ASSERT_EQ(Lines(), 6u);
  device.Clear();
  Draw("A");
  const auto lines = device.CallsNamed("DrawLine");
  ASSERT_EQ(lines.size(), 2u);  // 0x11-0x22 and 0x33-0x44; 0x55 lost its partner
  EXPECT_EQ(lines[1].line, "DrawLine 3 13 4 12");
}

TEST_F(CharLibraryFault, AFailedSeekOrIndexReadDrawsNothingOfTheCharacterBefore) {
  file.Put(658, std::vector<uint8_t>(12, 0x35));
  file.Put(220, {0x11, 0x22});
  UseFile();
  Draw("\xB0\xA1");
  ASSERT_EQ(Lines(), 6u);

  device.Clear();
  const int handle = fonts.ClibFile;
  fonts.ClibFile = -1;  // every seek fails
  Draw("A");
  EXPECT_EQ(Lines(), 0u);
  fonts.ClibFile = handle;

  // An index cut short: record 220 lies beyond the end of the file.
  ClibFile shortFile;
  shortFile.bytes().resize(600);
  Draw("\xB0\xA1");
  device.Clear();
  fonts.ClibFile = shortFile.Open();
  Draw("A");
  EXPECT_EQ(Lines(), 0u);
}

TEST_F(CharLibraryFault, AnOddRecordAfterALongerOneDrawsNoStaleByte) {
  file.Put(658, std::vector<uint8_t>(12, 0x35));
  file.Put(220, {0x11, 0x22, 0x33});
  UseFile();
  Draw("\xB0\xA1");
  device.Clear();
  Draw("A");
  const auto lines = device.CallsNamed("DrawLine");
  ASSERT_EQ(lines.size(), 2u);
  // The odd byte pairs with the terminator written after the record.
  EXPECT_EQ(lines[1].line, "DrawLine 3 13 0 16");
}

TEST_F(CharLibraryFault, NoFileContentReachesBeyondTheRecordBuffer) {
  // Random index entries (any offset, any length, many past the end of the
  // file) and random stroke bytes.
  std::mt19937 random(20240601);
  auto& bytes = file.bytes();
  for (int r = 0; r < kRecords; ++r) file.PutEntry(r, random() & 0xFFFFFF);
  for (int i = 0; i < 40000; ++i) bytes.push_back(static_cast<uint8_t>(random()));
  UseFile();

  const double grid = s.DesignGrid;
  POINT* const pathPoints = s.PathPoints;
  BYTE* const pathTypes = s.PathTypes;
  const int pathCap = s.PathCap;
  for (int lead = 0x80; lead <= 0xFF; ++lead) {
    for (int trail = 0xA1; trail <= 0xFF; ++trail) {
      const char ch[3] = {static_cast<char>(lead), static_cast<char>(trail), 0};
      const auto rec = Record(ch);
      // Whatever the record says, the buffer ends in its terminators and the
      // fields after it are untouched.
      ASSERT_EQ(rec[63], 0);
      ASSERT_EQ(rec[64], 0);
      ASSERT_EQ(rec[65], 0);
      ASSERT_EQ(s.DesignGrid, grid);
      ASSERT_EQ(s.PathPoints, pathPoints);
      ASSERT_EQ(s.PathTypes, pathTypes);
      ASSERT_EQ(s.PathCap, pathCap);
    }
  }
  // Drawing every one of them stays within 32 segments a character.
  for (int trail = 0xA1; trail <= 0xFE; ++trail) {
    device.Clear();
    const char ch[3] = {static_cast<char>(0xC0), static_cast<char>(trail), 0};
    Draw(ch);
    ASSERT_LE(Lines(), 32u);
  }
}

}  // namespace
