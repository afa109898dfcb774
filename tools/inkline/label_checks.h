// What a render counts about its labels (too small to see, too large to
// draw, text that could not be kept) and says once each, with counts, at
// the end instead of a line per label.
#ifndef INKLINE_TOOLS_LABEL_CHECKS_H
#define INKLINE_TOOLS_LABEL_CHECKS_H

#include <map>
#include <string>

#include "diagnostics.h"
#include "layer.h"
#include "view.h"

class LabelChecks {
 public:
  enum Kind {
    kNotUtf8, kNul, kSubPixel, kTooLarge, kFarOutside, kNoBody, kOverfull, kStrokeShaped,
    kKinds
  };

  // Counts a label of a kind; the first one's feature is named.
  void Count(Kind kind, long long feature);
  // Counts a character drawn as '?' because the label's user-defined codes ran out.
  void Replaced(char32_t c, int times) { replaced_[c] += times; }

  // False (counted) when the plain label cannot be drawn: its sizes or
  // place in device units are beyond what a picture holds.
  bool Drawable(const PlainLabel& label, const View& view, long long feature);
  // Likewise for rich text, and counts markup that will not show as meant.
  bool RichDrawable(const RichLabel& label, const std::string& markup, const View& view,
                    long long feature);

  // Says what was counted, a line per kind and per replaced character.
  void Report(Diagnostics& diagnostics) const;

 private:
  struct Tally {
    long long count = 0;
    long long first = -1;
  };
  Tally tallies_[kKinds];
  std::map<char32_t, long long> replaced_;
};

#endif  // INKLINE_TOOLS_LABEL_CHECKS_H
