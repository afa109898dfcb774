// Finding font files: a table entry's file or fontconfig pattern, and a face
// that has a given character.
#ifndef INKLINE_HOST_FONTS_FONT_RESOLVER_H
#define INKLINE_HOST_FONTS_FONT_RESOLVER_H

#include <string>

struct ResolvedFont {
  std::string file;    // empty when nothing was found
  int index = 0;       // face in a collection
  std::string family;  // the family fontconfig found
  bool exact = false;  // a family the entry names, or the file it names
};

// A source containing '/' is a file, relative to baseDir unless absolute,
// optionally followed by "#N" for face N of a collection; anything else is a
// fontconfig pattern such as "Liberation Sans" or "AR PL UMing CN:lang=zh-cn".
ResolvedFont ResolveFontSource(const std::string& source, const std::string& baseDir);

// The face fontconfig would pick for the code point, or an empty file.
ResolvedFont FindFontFor(char32_t codePoint);

#endif  // INKLINE_HOST_FONTS_FONT_RESOLVER_H
