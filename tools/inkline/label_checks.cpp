#include "label_checks.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include <inkline/user_chars.h>

#include "gbk.h"
#include "markup_parts.h"

namespace {

// Sizes in device units beyond these draw nothing sensible (and a far
// larger one would overflow the device's integer font sizes).
constexpr double kMaxLabelPixels = 1e5;
constexpr double kMaxPlacePixels = 1e8;

bool HasBodyTag(const std::string& markup) {
  for (size_t at = markup.find('<'); at != std::string::npos; at = markup.find('<', at + 1)) {
    std::string tag = markup.substr(at + 1, 4);
    for (char& c : tag) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (tag == "body") return true;
  }
  return false;
}

// A rough test of whether the text fits: its characters' cells against the
// box's area, with room to spare for line ends.
bool ProbablyOverfull(const std::string& markup, const RichLabel& label) {
  MarkupParts parts;
  if (!TakeMarkupApart(markup, &parts) || !(parts.size > 0)) return false;
  const double size = parts.size;
  double cells = 0;
  for (const char* c = parts.text.c_str(); *c; ++c)
    if (!(static_cast<unsigned char>(*c) & 0x80)) cells += 0.5;  // a Latin letter is half a cell
    else if (c[1]) cells += 1, ++c;
  const double needed = cells * size * size * 1.2;
  return needed > 1.5 * (label.xmax - label.xmin) * (label.ymax - label.ymin);
}

}  // namespace

void LabelChecks::Count(Kind kind, long long feature) {
  Tally& t = tallies_[kind];
  if (t.count++ == 0) t.first = feature;
}

bool LabelChecks::Drawable(const PlainLabel& p, const View& v, long long feature) {
  const double height = p.height * v.scale, width = p.width * v.scale;
  if (!(height <= kMaxLabelPixels && width <= kMaxLabelPixels &&
        std::fabs(p.space * v.scale) <= kMaxLabelPixels)) {
    Count(kTooLarge, feature);
    return false;
  }
  if (!(std::fabs(v.X(p.x)) <= kMaxPlacePixels && std::fabs(v.Y(p.y)) <= kMaxPlacePixels)) {
    Count(kFarOutside, feature);
    return false;
  }
  if (height < 1) Count(kSubPixel, feature);
  return true;
}

bool LabelChecks::RichDrawable(const RichLabel& r, const std::string& markup, const View& v,
                               long long feature) {
  if (!((r.xmax - r.xmin) * v.scale <= kMaxPlacePixels &&
        (r.ymax - r.ymin) * v.scale <= kMaxPlacePixels &&
        std::fabs(v.X(r.xmin)) <= kMaxPlacePixels && std::fabs(v.Y(r.ymax)) <= kMaxPlacePixels)) {
    Count(kFarOutside, feature);
    return false;
  }
  if (!HasBodyTag(markup))
    Count(kNoBody, feature);
  else if (ProbablyOverfull(markup, r))
    Count(kOverfull, feature);
  return true;
}

void LabelChecks::Report(Diagnostics& diagnostics) const {
  static const char* const says[kKinds] = {
      "hold bytes that are not UTF-8, drawn as '?'",
      "hold a NUL character (\\u0000); their text ends there",
      ("are under 1 pixel high at this view and cannot be read; give heights with a unit "
       "(\"12px\", \"9pt\", \"3mm\") or set --height 12px"),
      "are over 100000 pixels high or wide at this view and are not drawn",
      "lie too far outside the picture to reach it and are not drawn",
      "have markup without a <body ...> tag and may not draw as meant",
      "hold more text than their box seems to take; some of it may be cut off",
      "ask for the stroke font but hold text that must be shaped; they are drawn from outlines",
  };
  for (int k = 0; k < kKinds; ++k) {
    const Tally& t = tallies_[k];
    if (t.count == 0) continue;
    diagnostics.WarnOnce("count" + std::to_string(k),
                         std::to_string(t.count) + (t.count == 1 ? " label " : " labels ") +
                             "(first: feature " + std::to_string(t.first) + ") " + says[k]);
  }
  for (const auto& [c, n] : replaced_)
    diagnostics.WarnOnce("replaced" + std::to_string(c),
                         NameOfCharacter(c) + ": drawn as '?' " + std::to_string(n) +
                             " time(s); its label needs more than the " +
                             std::to_string(InklineUserCharCapacity()) + " user-defined codes a label may hold");
}
