// The table of what each device kind can do, against the rules as the
// drawing code states them: kinds 0, 1 and 3 to 9 keep a pen of their own,
// 7 to 9 draw text natively, outline glyphs are clipped on 1 and 3 and
// TrueType glyphs on 1 only; any other kind can do none of it.
#include <gtest/gtest.h>

#include "layout/device_view.h"

namespace {

TEST(DeviceKinds, EachKindCanDoWhatItsRulesSay) {
  for (short kind = -2; kind <= 11; ++kind) {
    const layout::KindRules& r = layout::RulesOfKind(kind);
    const bool known = kind >= 0 && kind <= 9;
    EXPECT_EQ(r.keepsPen, known && kind != 2) << kind;
    EXPECT_EQ(r.nativeText, kind >= 7 && kind <= 9) << kind;
    EXPECT_EQ(r.clipsOutlines, kind == 1 || kind == 3) << kind;
    EXPECT_EQ(r.clipsTrueType, kind == 1) << kind;
  }
}

// The view hands out the device's pen and brush only where the kind keeps
// them: zero records elsewhere, and without a device.
TEST(DeviceKinds, SavedPenAndBrushOnlyWhereTheKindKeepsThem) {
  struct Device : DeviceDriver {
    short GetDeviceType() override { return 0; }
    void SetPen(PEN*) override {}
    void SetBrush(BRUSH*) override {}
    void DrawLine(double, double, double, double) override {}
    void DrawPolylines(D_POINT*, int*, short) override {}
    void FillPolygon(D_POINT*, int*, int) override {}
    void FillPolygons(D_POINT*, int*, short) override {}
    short GetRationalDispMode() override { return 0; }
  } device;
  device.CurPen = PEN{2.5, 7, 0};
  device.CurBrush = BRUSH{4, 0, 0, 0};
  for (short kind : {0, 2, 8, 12}) {
    const layout::DeviceView view = layout::ViewOf(&device, kind);
    const bool keeps = kind == 0 || kind == 8;
    EXPECT_EQ(view.SavedPen().color, keeps ? 7 : 0) << kind;
    EXPECT_EQ(view.SavedBrush().color, keeps ? 4 : 0) << kind;
  }
  EXPECT_EQ(layout::ViewOf(nullptr, 0).SavedPen().color, 0);
}

}  // namespace
