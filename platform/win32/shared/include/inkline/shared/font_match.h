// Font files through fontconfig: the one place that asks it for a match.
#ifndef INKLINE_SHARED_FONT_MATCH_H
#define INKLINE_SHARED_FONT_MATCH_H

#include <string>
#include <vector>

#include <fontconfig/fontconfig.h>

namespace shared {

// The font file fontconfig picked and the families it says the file has.
struct FontMatch {
  std::string file;
  int index = 0;  // face index inside a collection
  std::vector<std::string> families;

  // Whether family (any case) is one of the match's families.
  bool HasFamily(const std::string& family) const;
};

// fontconfig's best match for pattern, after its configured and default
// substitutions. Takes pattern (destroys it). False when nothing matched or
// the match names no file.
bool MatchFont(FcPattern* pattern, FontMatch* out);

// The families a pattern names, in order.
std::vector<std::string> FamiliesOf(const FcPattern* pattern);

}  // namespace shared

#endif  // INKLINE_SHARED_FONT_MATCH_H
