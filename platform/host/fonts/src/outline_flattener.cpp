// Flattening by uniform subdivision: for a curve with second derivative of at
// most M, n straight pieces stay within M / (8 n^2) of it, so n follows from
// the tolerance.
#include "outline_flattener.h"

#include <algorithm>
#include <cmath>

#include <inkline/shared/outline_walk.h>

namespace {

constexpr int kMaxPieces = 256;

using shared::OutlinePoint;

class Flattener : public shared::OutlineVisitor {
 public:
  Flattener(const DesignTransform& transform, double tolerance, FlatOutline* out)
      : transform_(transform), tolerance_(tolerance), out_(out) {}

  void Close() {
    if (!open_) return;
    if (current_.x != start_.x || current_.y != start_.y) Add(start_);
    out_->sizes.push_back(static_cast<int>(out_->points.size() / 2 - contourStart_));
    open_ = false;
  }

  void MoveTo(OutlinePoint to) override {
    Close();
    contourStart_ = out_->points.size() / 2;
    start_ = Map(to);
    Add(start_);
    open_ = true;
  }

  void LineTo(OutlinePoint to) override { Add(Map(to)); }

  void ConicTo(OutlinePoint control, OutlinePoint to) override {
    const OutlinePoint p0 = current_, p1 = Map(control), p2 = Map(to);
    // B'' = 2 (p0 - 2 p1 + p2)
    const double bend = 2.0 * std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y);
    const int n = Pieces(bend);
    for (int i = 1; i <= n; ++i) {
      const double t = static_cast<double>(i) / n, u = 1.0 - t;
      Add({u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x,
           u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y});
    }
  }

  void CubicTo(OutlinePoint c1, OutlinePoint c2, OutlinePoint to) override {
    const OutlinePoint p0 = current_, p1 = Map(c1), p2 = Map(c2), p3 = Map(to);
    // |B''| <= 6 max(|p0 - 2 p1 + p2|, |p1 - 2 p2 + p3|)
    const double bend = 6.0 * std::max(std::hypot(p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y),
                                       std::hypot(p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y));
    const int n = Pieces(bend);
    for (int i = 1; i <= n; ++i) {
      const double t = static_cast<double>(i) / n, u = 1.0 - t;
      const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
      Add({a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
    }
  }

 private:
  OutlinePoint Map(OutlinePoint p) const {
    return {p.x * transform_.scale, p.y * transform_.scale + transform_.shiftY};
  }
  void Add(OutlinePoint p) {
    out_->points.push_back(p.x);
    out_->points.push_back(p.y);
    current_ = p;
  }
  int Pieces(double bend) const {
    const double n = std::ceil(std::sqrt(bend / (8.0 * tolerance_)));
    return std::clamp(static_cast<int>(std::isfinite(n) ? n : 1.0), 1, kMaxPieces);
  }

  DesignTransform transform_;
  double tolerance_;
  FlatOutline* out_;
  OutlinePoint current_{0, 0};
  OutlinePoint start_{0, 0};
  size_t contourStart_ = 0;  // index of the contour's first point in out->points / 2
  bool open_ = false;
};

}  // namespace

void FlattenOutline(const FT_Outline& outline, const DesignTransform& transform,
                    double tolerance, FlatOutline* out) {
  out->points.clear();
  out->sizes.clear();
  Flattener f(transform, tolerance > 0 ? tolerance : 1e-3, out);
  shared::WalkOutline(outline, &f);
  f.Close();
}
