// Font lookups through fontconfig.
#include "font_resolver.h"

#include <unistd.h>

#include <cstdlib>

#include <inkline/shared/font_match.h>

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

// Best match of a pattern (consumed); exact when it has a wanted family.
ResolvedFont Match(FcPattern* pattern, const std::vector<std::string>& wanted) {
  shared::FontMatch match;
  if (!shared::MatchFont(pattern, &match)) return {};
  ResolvedFont font;
  font.file = match.file;
  font.index = match.index;
  if (!match.families.empty()) font.family = match.families.front();
  for (const std::string& w : wanted) font.exact = font.exact || match.HasFamily(w);
  return font;
}

}  // namespace

ResolvedFont ResolveFontSource(const std::string& source, const std::string& baseDir) {
  if (source.empty()) return {};
  if (source.find('/') != std::string::npos) return FromPath(source, baseDir);
  if (!FcInit()) return {};
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(source.c_str()));
  if (!pattern) return {};
  return Match(pattern, shared::FamiliesOf(pattern));
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
