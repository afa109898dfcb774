// clibgen: builds the character-library (stroke font) file from the Hershey
// fonts.
//
//   clibgen [--hershey-dir DIR] -o FILE
//
// Exit status: 0 written, 1 a font file is missing or bad or the output
// cannot be written, 2 bad arguments.
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include <inkline/host/char_library.h>
#include <inkline/host/stroke_font_set.h>

namespace {

int Usage(const char* message) {
  std::fprintf(stderr, "clibgen: %s\nusage: clibgen [--hershey-dir DIR] -o FILE\n", message);
  return 2;
}

const char* RowName(unsigned lead) {
  switch (lead) {
    case 0xA3: return "full-width ASCII";
    case 0xA4: return "hiragana";
    case 0xA5: return "katakana";
    case 0xA6: return "Greek";
    case 0xA7: return "Cyrillic";
    default: return "hanzi";
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string output, hersheyDir = clib::DefaultHersheyDir();
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if ((!std::strcmp(arg, "-o") || !std::strcmp(arg, "--hershey-dir")) && i + 1 >= argc)
      return Usage("missing value after an option");
    if (!std::strcmp(arg, "-o")) {
      output = argv[++i];
    } else if (!std::strcmp(arg, "--hershey-dir")) {
      hersheyDir = argv[++i];
    } else if (!std::strcmp(arg, "-h") || !std::strcmp(arg, "--help")) {
      std::printf("usage: clibgen [--hershey-dir DIR] -o FILE\n");
      return 0;
    } else {
      return Usage((std::string("unknown argument ") + arg).c_str());
    }
  }
  if (output.empty()) return Usage("no output file given (-o FILE)");

  clib::Builder builder;
  std::map<unsigned, int> perRow;
  std::string error;
  if (!clib::BuildStrokeFont(hersheyDir, clib::StandardMappings(), &builder, &perRow, &error)) {
    std::fprintf(stderr, "clibgen: %s\n", error.c_str());
    return 1;
  }
  if (!builder.Write(output, &error)) {
    std::fprintf(stderr, "clibgen: %s\n", error.c_str());
    return 1;
  }
  std::printf("clibgen: wrote %zu characters to %s\n", builder.CharacterCount(), output.c_str());
  std::map<std::string, int> perKind;
  for (const auto& [lead, count] : perRow) perKind[RowName(lead)] += count;
  for (const auto& [kind, count] : perKind) std::printf("  %-17s %d\n", kind.c_str(), count);
  return 0;
}
