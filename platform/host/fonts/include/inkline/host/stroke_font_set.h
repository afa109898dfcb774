// The standard stroke font: which Hershey faces fill which cells of the
// character library.
//
//   row 0xA3  full-width ASCII 0x21-0x7E (cell = ASCII | 0x80): simplex Roman
//   row 0xA6  Greek capitals and small letters: simplex Greek
//   row 0xA7  Cyrillic capitals and small letters: complex Cyrillic (the
//             data has no Yo and no small E; the capital Short I comes from
//             the second Cyrillic face)
//   rows 0xA4/0xA5  hiragana and katakana the Japanese face has (no small
//             kana), and the handful of its kanji that GB2312 holds
#ifndef INKLINE_HOST_STROKE_FONT_SET_H
#define INKLINE_HOST_STROKE_FONT_SET_H

#include <map>
#include <string>
#include <vector>

#include <inkline/host/char_library.h>

namespace clib {

// Glyphs firstGlyph, firstGlyph + 1, ... of a .jhf file (in file order)
// stand for the characters of `characters`, UTF-8, one each; '.' skips a
// glyph. With fullWidthAscii the glyphs stand for ASCII 0x21-0x7E instead
// (file order from the space) and go to row 0xA3.
struct FaceMapping {
  std::string file;
  int firstGlyph = 0;
  std::string characters;
  bool fullWidthAscii = false;
  bool fillOnly = false;  // keeps cells an earlier face already filled
};

const std::vector<FaceMapping>& StandardMappings();

// Where the hershey-fonts-data package installs its .jhf files.
std::string DefaultHersheyDir();

// Fills builder from the .jhf files in hersheyDir by `mappings`. Counts the
// characters written per row (lead byte) into *perRow when given. Fails,
// naming the file, when a file is missing or malformed.
bool BuildStrokeFont(const std::string& hersheyDir, const std::vector<FaceMapping>& mappings,
                     Builder* builder, std::map<unsigned, int>* perRow, std::string* error);

}  // namespace clib

#endif  // INKLINE_HOST_STROKE_FONT_SET_H
