#include <inkline/shared/font_match.h>

namespace shared {

bool FontMatch::HasFamily(const std::string& family) const {
  const auto* wanted = reinterpret_cast<const FcChar8*>(family.c_str());
  for (const std::string& f : families)
    if (FcStrCmpIgnoreCase(reinterpret_cast<const FcChar8*>(f.c_str()), wanted) == 0) return true;
  return false;
}

std::vector<std::string> FamiliesOf(const FcPattern* pattern) {
  std::vector<std::string> out;
  FcChar8* family = nullptr;
  for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &family) == FcResultMatch; ++i)
    out.emplace_back(reinterpret_cast<const char*>(family));
  return out;
}

bool MatchFont(FcPattern* pattern, FontMatch* out) {
  if (!pattern) return false;
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return false;
  FcChar8* file = nullptr;
  const bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
  if (found) {
    FontMatch m;
    m.file = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) m.index = index;
    m.families = FamiliesOf(match);
    *out = std::move(m);
  }
  FcPatternDestroy(match);
  return found;
}

}  // namespace shared
