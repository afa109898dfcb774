// The font table: font numbers, face names and where their fonts come from.
//
// A table file holds one font a line, three fields separated by '|':
//
//   # number | face name | font file or fontconfig pattern
//   0 | 宋体            | AR PL UMing CN:lang=zh-cn
//   4 | Arial           | Liberation Sans
//   9 | My Font         | fonts/my-font.ttf
//   10 | Ming Collection | /usr/share/fonts/truetype/arphic/uming.ttc#1
//
// The file is UTF-8; face names are kept in the host code page (GBK), since
// that is how the host asks for them, and compared ignoring ASCII case. A
// number is -32768..32767. A third field containing '/' names a font file,
// relative to the table file's folder unless absolute, optionally with "#N"
// for face N of a collection; any other third field is a fontconfig pattern.
// Blank lines and lines starting with '#' are ignored. A bad line (missing
// field, bad number, a face name too long or not expressible in GBK, a number
// or face name already given) is reported with its line number and skipped.
#ifndef INKLINE_HOST_FONT_TABLE_H
#define INKLINE_HOST_FONT_TABLE_H

#include <string>
#include <vector>

struct FontTableEntry {
  short number = 0;
  std::string faceName;  // GBK
  std::string source;    // font file or fontconfig pattern
};

struct FontTableProblem {
  int line = 0;
  std::string message;
};

class FontTable {
 public:
  // Face names are at most this many bytes (the host's buffer is 64).
  static constexpr size_t kMaxFaceNameBytes = 63;

  // Parses table text; baseDir is where relative font files are found.
  static FontTable Parse(const std::string& text, const std::string& baseDir = "");
  // Reads and parses a table file. False, with *error set, when the file
  // cannot be read; problems inside it are in the table's `problems`.
  static bool Load(const std::string& path, FontTable* table, std::string* error);
  // The table a fresh machine gets; its text is DefaultText().
  static FontTable Defaults();
  static const char* DefaultText();

  const FontTableEntry* ByNumber(short number) const;
  const FontTableEntry* ByName(const char* faceName) const;  // GBK

  std::vector<FontTableEntry> entries;
  std::vector<FontTableProblem> problems;
  std::string baseDir;
};

// True when two GBK face names are equal ignoring the case of ASCII letters.
bool SameFaceName(const char* a, const char* b);

#endif  // INKLINE_HOST_FONT_TABLE_H
