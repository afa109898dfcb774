#include "layout/device_view.h"

namespace layout {

namespace {

using D = DcSource;
using H = HeightSource;

// Kind 1 is a window that clips both kinds of glyph; kind 3 a page that clips
// outlines only; 7, 8 and 9 draw text natively; kind 2 keeps no pen.
constexpr KindRules kRules[10] = {
    // keepsPen native clipsOut clipsTT dc          height     windowRect
    {true, false, false, false, D::Window, H::Window, true},   // 0
    {true, false, true, true, D::Window, H::Window, true},     // 1
    {false, false, false, false, D::Device, H::Keep, false},   // 2
    {true, false, true, false, D::Page, H::Page, true},        // 3
    {true, false, false, false, D::Keep, H::Sheet, true},      // 4
    {true, false, false, false, D::Keep, H::Keep, true},       // 5
    {true, false, false, false, D::Window, H::Window, true},   // 6
    {true, true, false, false, D::Text, H::Window, true},      // 7
    {true, true, false, false, D::Device, H::Keep, false},     // 8
    {true, true, false, false, D::Device, H::Keep, false},     // 9
};

constexpr KindRules kUnknownKind{false, false, false, false, D::Device, H::Keep, false};

}  // namespace

const KindRules& RulesOfKind(short kind) {
  return kind >= 0 && kind <= 9 ? kRules[kind] : kUnknownKind;
}

}  // namespace layout
