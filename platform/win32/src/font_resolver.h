// Font files for face names, through fontconfig.
#ifndef INKLINE_PLATFORM_WIN32_FONT_RESOLVER_H
#define INKLINE_PLATFORM_WIN32_FONT_RESOLVER_H

#include <string>
#include <vector>

namespace gdi {

// An installed font file.
struct FontFile {
  std::string path;
  int index = 0;  // face index inside a collection
};

// The first of families that is installed, in the weight and slant closest
// to bold and italic. False when none of them is installed.
bool ResolveFontFile(const std::vector<std::string>& families, bool bold, bool italic,
                     FontFile* out);

}  // namespace gdi

#endif  // INKLINE_PLATFORM_WIN32_FONT_RESOLVER_H
