#include "frame/entry_checks.h"

#include <cmath>
#include <initializer_list>

#include "layout/numeric.h"

namespace entry_checks {

namespace {

bool Within(double v, double limit) { return std::isfinite(v) && std::fabs(v) <= limit; }

bool IsCoordinate(double v) { return Within(v, kMaxCoordinate); }
bool IsSize(double v) { return Within(v, kMaxSize); }

}  // namespace

bool AcceptStringOut(const StringNumbers& n, double scale, double thirdScale) {
  // Host units may be anything finite; the scaled sizes must make sense.
  if (!std::isfinite(scale) || !std::isfinite(thirdScale)) return false;
  for (double v : {n.Height, n.Width, n.Space}) {
    if (!std::isfinite(v) || !IsSize(v * scale)) return false;
  }
  return IsCoordinate(n.X) && IsCoordinate(n.Y) && Within(n.Angle, kMaxAngle) &&
         IsSize(n.Extra) && IsSize(n.Extra * thirdScale) && IsSize(thirdScale);
}

bool AcceptDispString(const StringNumbers& n) {
  return IsCoordinate(n.X) && IsCoordinate(n.Y) && IsSize(n.Height) && IsSize(n.Width) &&
         IsSize(n.Space) && IsSize(n.Extra) && Within(n.Angle, kMaxAngle);
}

bool AcceptFont(double height, double width) { return IsSize(height) && IsSize(width); }

bool AcceptGlyph(double x, double y, double a1, double a2, double a3, double a4) {
  return IsCoordinate(x) && IsCoordinate(y) && IsSize(a1) && IsSize(a2) && IsSize(a3) &&
         IsSize(a4);
}

bool AcceptBox(const D_RECT& box) {
  return IsCoordinate(box.xmin) && IsCoordinate(box.ymin) && IsCoordinate(box.xmax) &&
         IsCoordinate(box.ymax);
}

double DesignGridOf(const CMapString& s) {
  if (s.DesignGrid > 0) return s.DesignGrid;
  return layout::DesignGridFor(s.FontLib ? s.FontLib->GetLibType() : s.LibType);
}

}  // namespace entry_checks
