// Parses any bytes as a font table. Every entry kept has a face name of 1 to
// 63 bytes and a source, no number or face name is kept twice, each entry is
// found again by its number and its name, and every problem names a line of
// the text.
#include <cstddef>
#include <cstdint>
#include <string>

#include <inkline/host/font_table.h>

#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const FontTable table = FontTable::Parse(text, "/fonts");
  int lines = 1;
  for (char c : text) lines += c == '\n';
  for (const FontTableProblem& p : table.problems) FuzzCheck(p.line >= 1 && p.line <= lines);
  for (const FontTableEntry& e : table.entries) {
    FuzzCheck(!e.faceName.empty() && e.faceName.size() <= FontTable::kMaxFaceNameBytes);
    FuzzCheck(!e.source.empty());
    FuzzCheck(table.ByNumber(e.number) == &e);
    FuzzCheck(table.ByName(e.faceName.c_str()) == &e);
  }
  FuzzCheck(table.entries.size() + table.problems.size() <= static_cast<size_t>(lines));
  return 0;
}
