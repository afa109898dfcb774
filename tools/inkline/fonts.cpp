#include "fonts.h"

#include <unistd.h>

#include <cstdlib>

#include <inkline/host/font_table.h>
#include <inkline/host/gbk.h>
#include <inkline/host/freetype_font_lib.h>
#include <inkline/host/hostlib.h>

#include "input_file.h"

namespace {

class FreeTypeFontSet : public FontSet {
 public:
  FreeTypeFontSet(FreeTypeFontLibOptions options, std::unique_ptr<FreeTypeFontLib> stroke)
      : vector_(std::move(options)), stroke_(std::move(stroke)),
        installed_(&vector_), shaper_(vector_) {}
  MapFontLib* vector() override { return &vector_; }
  MapFontLib* stroke() override { return stroke_.get(); }
  bool HasFont(short number) const override { return vector_.Table().ByNumber(number) != nullptr; }
  void ReportNotes(Diagnostics& diagnostics) override {
    const FreeTypeFontLib* libs[] = {&vector_, stroke_.get()};
    for (const FreeTypeFontLib* lib : libs) {
      if (!lib) continue;
      for (const std::string& note : lib->Notes()) diagnostics.WarnOnce("note:" + note, note);
    }
  }
  LabelShaper& Shaper() override { return shaper_; }
  short NumberOf(const std::string& font) override {
    char* end = nullptr;
    const long number = std::strtol(font.c_str(), &end, 10);
    if (!font.empty() && *end == '\0' && number >= 0 && number <= 32767)
      return HasFont(static_cast<short>(number)) ? static_cast<short>(number) : -1;
    std::string face;
    if (!gbk::FromUtf8(font, &face)) return -1;
    return vector_.GetFontNoByName(face.data());
  }

 private:
  FreeTypeFontLib vector_;
  std::unique_ptr<FreeTypeFontLib> stroke_;
  ScopedMapFontLib installed_;
  LabelShaper shaper_;
};

// An installed command finds the stroke font in ../share/inkline beside its
// folder; a command in the build tree, where the build wrote it.
std::string DefaultStrokeFont() {
  char exe[4096];
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n > 0) {
    std::string dir(exe, static_cast<size_t>(n));
    dir = dir.substr(0, dir.rfind('/'));
    const std::string installed = dir + "/../share/inkline/strokes.clib";
    if (access(installed.c_str(), R_OK) == 0) return installed;
  }
  return FreeTypeFontLib::DefaultStrokeFontPath();
}

}  // namespace

std::unique_ptr<FontSet> LoadFonts(const FontOptions& options, Diagnostics& diagnostics,
                                   std::string* error) {
  FreeTypeFontLibOptions libOptions;
  if (!options.tablePath.empty()) {
    FontTable table;
    if (!FontTable::Load(options.tablePath, &table, error)) return nullptr;
    for (const FontTableEntry& e : table.entries) {
      if (e.source.find('/') == std::string::npos) continue;  // a fontconfig pattern
      const std::string file = e.source.substr(0, e.source.rfind('#'));
      const std::string path = file[0] == '/' ? file : table.baseDir + "/" + file;
      const std::string problem =
          input_file::CheckRegular(path, input_file::kFontFileCap, "font file");
      if (!problem.empty() && problem.find("cannot be read") == std::string::npos) {
        *error = problem;  // a missing file is the font library's to report and replace
        return nullptr;
      }
    }
    // A machine-made table may have thousands of bad lines: the first few
    // are named, the rest counted.
    constexpr size_t kNamed = 10;
    for (size_t i = 0; i < table.problems.size() && i < kNamed; ++i)
      diagnostics.Warn(options.tablePath + ":" + std::to_string(table.problems[i].line) + ": " +
                       table.problems[i].message + " (line skipped)");
    if (table.problems.size() > kNamed)
      diagnostics.Warn(options.tablePath + ": " + std::to_string(table.problems.size() - kNamed) +
                       " more bad lines skipped");
    if (table.entries.empty()) {
      *error = options.tablePath + ": the font table names no fonts";
      return nullptr;
    }
    libOptions.table = std::move(table);
  }

  // The stroke font is optional unless asked for by name.
  const bool named = !options.strokeFontPath.empty();
  const std::string strokePath =
      named ? options.strokeFontPath : DefaultStrokeFont();
  if (named) {
    *error = input_file::CheckRegular(strokePath, input_file::kStrokeFontCap, "stroke-font file");
    if (!error->empty()) return nullptr;
  }
  auto stroke = std::make_unique<FreeTypeFontLib>(libOptions);
  std::string strokeError;
  if (!stroke->OpenStrokeFont(strokePath, &strokeError)) {
    if (named) {
      *error = strokeError;
      return nullptr;
    }
    stroke.reset();
  }
  return std::make_unique<FreeTypeFontSet>(std::move(libOptions), std::move(stroke));
}
