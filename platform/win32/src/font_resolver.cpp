// fontconfig always answers a match with something; a family counts as
// installed only when the match really is that family, so that the caller's
// own order of stand-ins decides, not fontconfig's defaults. Whether the file
// found is really bold or italic is the font cache's to judge from the file.
#include "font_resolver.h"

#include <inkline/shared/font_match.h>

namespace gdi {
namespace {

// The best match for one family; false when the family is not installed.
bool MatchFamily(const std::string& family, bool bold, bool italic, shared::FontMatch* out) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  return shared::MatchFont(pattern, out) && out->HasFamily(family);
}

}  // namespace

bool ResolveFontFile(const std::vector<std::string>& families, bool bold, bool italic,
                     FontFile* out) {
  for (const std::string& family : families) {
    shared::FontMatch match;
    if (!MatchFamily(family, bold, italic, &match)) continue;
    out->path = match.file;
    out->index = match.index;
    return true;
  }
  return false;
}

}  // namespace gdi
