// The standard stroke font built from the Hershey faces.
#include <inkline/host/stroke_font_set.h>

#include <inkline/host/gbk.h>
#include <inkline/host/hershey.h>

#ifndef INKLINE_HERSHEY_DIR
#define INKLINE_HERSHEY_DIR "/usr/share/hershey-fonts"
#endif

namespace clib {

namespace {

constexpr int kFirstAsciiGlyph = 1;  // file order starts at the space
constexpr unsigned kFirstAscii = 0x21, kLastAscii = 0x7E;

// The cells a mapping fills: glyph index -> character code.
bool CellsOf(const FaceMapping& m, std::vector<std::pair<size_t, unsigned>>* cells,
             std::string* error) {
  cells->clear();
  if (m.fullWidthAscii) {
    for (unsigned t = kFirstAscii; t <= kLastAscii; ++t)
      cells->push_back({static_cast<size_t>(kFirstAsciiGlyph + (t - kFirstAscii)),
                        0xA300 | t | 0x80});
    return true;
  }
  std::u32string chars;
  if (!gbk::DecodeUtf8(m.characters, &chars)) {
    *error = m.file + ": the character list is not UTF-8";
    return false;
  }
  for (size_t i = 0; i < chars.size(); ++i) {
    if (chars[i] == U'.') continue;
    const unsigned code = gbk::FromUnicode(chars[i]);
    if (!IsLibraryCell(code)) continue;  // not a GB2312 character of the library's rows
    cells->push_back({static_cast<size_t>(m.firstGlyph) + i, code});
  }
  return true;
}

}  // namespace

const std::vector<FaceMapping>& StandardMappings() {
  static const std::vector<FaceMapping> mappings = {
      {"rowmans.jhf", 0, "", true, false},
      {"greeks.jhf", 'A' - ' ', "ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ", false, false},
      {"greeks.jhf", 'a' - ' ', "αβγδεζηθικλμνξοπρστυφχψω", false, false},
      // The complex Cyrillic face spreads the letters over the keyboard; its
      // 'E' repeats the capital I and its 'c' the capital E, so both are
      // skipped.
      {"cyrillic.jhf", '$' - ' ', "Ыцы", false, false},
      {"cyrillic.jhf", 'A' - ' ',
       "АБЭД.ФГЖИЧКЛМНОПШРСТЮВЩХУЗЕ.ЪЯЬЦаб.дйфгжичклмнопшрстювщхузеъяь", false, false},
      // The second face has the alphabet in order up to Shcha.
      {"cyrilc_1.jhf", 'A' - ' ', "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩ", false, true},
      {"cyrilc_1.jhf", 'a' - ' ', "абвгдежзийклмнопрстуфхцчшщ", false, true},
      {"japanese.jhf", 3, "日.年大国人.中本京出.上者十一二三四五六七入九", false, false},
      {"japanese.jhf", 33,
       "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほま"
       "みむめもや.ゆ.よらりるれろわゐ.ゑをん....がぎぐげござじず"
       "ぜぞだぢづでどばびぶべぼぱぴぷぺぽ"
       "アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマ"
       "ミムメモヤ.ユ.ヨラリルレロワヰ.ヱヲン....ガギグゲゴザジズ"
       "ゼゾダヂヅデドバビブベボパピプペポ",
       false, false},
  };
  return mappings;
}

std::string DefaultHersheyDir() { return INKLINE_HERSHEY_DIR; }

bool BuildStrokeFont(const std::string& hersheyDir, const std::vector<FaceMapping>& mappings,
                     Builder* builder, std::map<unsigned, int>* perRow, std::string* error) {
  std::string why;
  auto fail = [&](const std::string& message) {
    if (error) *error = message;
    return false;
  };
  std::map<std::string, std::vector<HersheyGlyph>> faces;
  for (const FaceMapping& m : mappings) {
    auto face = faces.find(m.file);
    if (face == faces.end()) {
      std::vector<HersheyGlyph> glyphs;
      if (!LoadHersheyFont(hersheyDir + "/" + m.file, &glyphs, &why)) return fail(why);
      face = faces.emplace(m.file, std::move(glyphs)).first;
    }
    const GridFit fit = FitFace(face->second);
    std::vector<std::pair<size_t, unsigned>> cells;
    if (!CellsOf(m, &cells, &why)) return fail(why);
    for (const auto& [glyph, code] : cells) {
      if (glyph >= face->second.size())
        return fail(m.file + ": has no glyph " + std::to_string(glyph));
      const bool filled = builder->Has(code);
      if (m.fillOnly && filled) continue;
      const Strokes strokes = ToGridStrokes(face->second[glyph], fit);
      if (!builder->Set(code, strokes, &why))
        return fail(m.file + ": glyph " + std::to_string(glyph) + ": " + why);
      if (perRow && !filled) ++(*perRow)[code >> 8];
    }
  }
  return true;
}

}  // namespace clib
