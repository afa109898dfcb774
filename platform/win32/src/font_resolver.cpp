// fontconfig always answers a match with something; a family counts as
// installed only when the match really is that family, so that the caller's
// own order of stand-ins decides, not fontconfig's defaults. Whether the file
// found is really bold or italic is the font cache's to judge from the file.
#include "font_resolver.h"

#include <fontconfig/fontconfig.h>

namespace gdi {
namespace {

const FcChar8* Utf8(const std::string& s) { return reinterpret_cast<const FcChar8*>(s.c_str()); }

bool HasFamily(FcPattern* match, const std::string& family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
    if (FcStrCmpIgnoreCase(name, Utf8(family)) == 0) return true;
  return false;
}

// The best match for one family, or null. The caller destroys it.
FcPattern* MatchFamily(const std::string& family, bool bold, bool italic) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return nullptr;
  FcPatternAddString(pattern, FC_FAMILY, Utf8(family));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match && !HasFamily(match, family)) {
    FcPatternDestroy(match);
    match = nullptr;
  }
  return match;
}

}  // namespace

bool ResolveFontFile(const std::vector<std::string>& families, bool bold, bool italic,
                     FontFile* out) {
  for (const std::string& family : families) {
    FcPattern* match = MatchFamily(family, bold, italic);
    if (!match) continue;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) {
      FcPatternDestroy(match);
      continue;
    }
    FontFile f;
    f.path = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) f.index = index;
    FcPatternDestroy(match);
    *out = f;
    return true;
  }
  return false;
}

}  // namespace gdi
