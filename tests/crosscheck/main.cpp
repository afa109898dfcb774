// Draws the annotations of annotations.h on this platform's GDI (the
// portable layer, or Windows' own) and writes what was drawn, or compares it
// with what the other platform drew.
//   gdi_crosscheck --write FILE
//   gdi_crosscheck --compare FILE [FONT_FILE...]
// On Windows the font files are loaded first, so both platforms draw from
// the same files.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "draw_annotation.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

constexpr double kStrokeTolerance = 1.0;  // pixels

bool LoadFonts(int count, char** files) {
  for (int i = 0; i < count; ++i) {
#if defined(_WIN32)
    // A Unix path is a path on Wine's drive Z:.
    const std::string file = files[i][0] == '/' ? std::string("Z:") + files[i] : files[i];
    if (AddFontResourceExA(file.c_str(), FR_PRIVATE, nullptr) == 0) {
      std::fprintf(stderr, "gdi_crosscheck: cannot load %s\n", file.c_str());
      return false;
    }
#else
    (void)files;
#endif
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || (std::strcmp(argv[1], "--write") && std::strcmp(argv[1], "--compare"))) {
    std::fprintf(stderr, "usage: gdi_crosscheck --write|--compare FILE [FONT_FILE...]\n");
    return 2;
  }
  if (!LoadFonts(argc - 3, argv + 3)) return 1;
  std::vector<GdiDrawing> drawn;
  for (const Annotation& a : kAnnotations) drawn.push_back(DrawAnnotation(a));

  if (!std::strcmp(argv[1], "--write")) {
    std::ofstream out(argv[2], std::ios::binary);
    WriteDrawings(out, drawn);
    return out.good() ? 0 : 1;
  }
  std::ifstream in(argv[2], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "gdi_crosscheck: cannot read %s\n", argv[2]);
    return 1;
  }
  const std::vector<std::string> differences =
      Differences(ReadDrawings(in), drawn, kStrokeTolerance);
  for (const std::string& d : differences) std::cout << d << "\n";
  if (!differences.empty()) {
    std::cout << "what this platform drew:\n";
    WriteDrawings(std::cout, drawn);
    return 1;
  }
  std::cout << drawn.size() << " drawings agree\n";
  return 0;
}
