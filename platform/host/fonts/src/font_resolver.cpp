// Font lookups through fontconfig.
#include "font_resolver.h"

#include <fontconfig/fontconfig.h>
#include <unistd.h>

#include <cstdlib>
#include <strings.h>
#include <vector>

namespace {

// Files given by path: "dir/file.ttc#2".
ResolvedFont FromPath(const std::string& source, const std::string& baseDir) {
  ResolvedFont font;
  std::string path = source;
  const size_t hash = path.rfind('#');
  if (hash != std::string::npos && hash + 1 < path.size() &&
      path.find_first_not_of("0123456789", hash + 1) == std::string::npos) {
    font.index = std::atoi(path.c_str() + hash + 1);
    path.resize(hash);
  }
  if (path[0] != '/' && !baseDir.empty()) path = baseDir + "/" + path;
  if (access(path.c_str(), R_OK) != 0) return font;
  font.file = path;
  font.exact = true;
  return font;
}

std::vector<std::string> Families(FcPattern* pattern) {
  std::vector<std::string> out;
  FcChar8* family = nullptr;
  for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &family) == FcResultMatch; ++i)
    out.emplace_back(reinterpret_cast<const char*>(family));
  return out;
}

// Best match of a pattern; the pattern is consumed.
ResolvedFont Match(FcPattern* pattern, const std::vector<std::string>& wanted) {
  ResolvedFont font;
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return font;
  FcChar8* file = nullptr;
  int index = 0;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
    font.file = reinterpret_cast<const char*>(file);
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) font.index = index;
    const std::vector<std::string> found = Families(match);
    if (!found.empty()) font.family = found.front();
    for (const std::string& w : wanted)
      for (const std::string& f : found)
        if (strcasecmp(w.c_str(), f.c_str()) == 0) font.exact = true;
  }
  FcPatternDestroy(match);
  return font;
}

}  // namespace

ResolvedFont ResolveFontSource(const std::string& source, const std::string& baseDir) {
  if (source.empty()) return {};
  if (source.find('/') != std::string::npos) return FromPath(source, baseDir);
  if (!FcInit()) return {};
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(source.c_str()));
  if (!pattern) return {};
  const std::vector<std::string> wanted = Families(pattern);
  return Match(pattern, wanted);
}

ResolvedFont FindFontFor(char32_t codePoint) {
  if (!FcInit()) return {};
  FcPattern* pattern = FcPatternCreate();
  FcCharSet* chars = FcCharSetCreate();
  FcCharSetAddChar(chars, codePoint);
  FcPatternAddCharSet(pattern, FC_CHARSET, chars);
  FcCharSetDestroy(chars);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  return Match(pattern, {});
}
