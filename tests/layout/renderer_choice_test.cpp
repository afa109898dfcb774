// The choice of the glyph renderer for a run, seen on a native-text device:
// a TrueType run reaches it as text, a vector run as glyph outlines.
#include <gtest/gtest.h>

#include "layout/layout_support.h"

namespace {

using layout_test::Bench;
using layout_test::DeviceOfKind;

// TrueType when the library is not a character library, the device and the
// style allow it, and height and width round to the same whole number. On a
// native-text device a TrueType run is handed over as text.
TEST(RunWriterChoice, TrueTypeOnlyWhenTheRuleHolds) {
  const struct {
    const char* what;
    double height, width;
    short style, libType, fontNo, rationalDispMode;
    bool trueType;
  } cases[] = {
      {"10.4/9.6 round alike", 10.4, 9.6, 0, 2, 0, 1, true},
      {"10.6/10.4 round apart", 10.6, 10.4, 0, 2, 0, 1, false},
      {"10.5/10.4 round apart", 10.5, 10.4, 0, 2, 0, 1, false},
      {"italic", 12, 12, 2, 2, 0, 1, true},
      {"slanted", 12, 12, 1, 2, 0, 1, false},
      {"hollow", 12, 12, 0x0800, 2, 0, 1, false},
      {"bold", 12, 12, 0x1000, 2, 0, 1, true},
      {"character library", 12, 12, 0, 1, 1, 1, false},
      {"device refuses", 12, 12, 0, 2, 0, 0, false},
  };
  for (const auto& c : cases) {
    Bench b(DeviceOfKind(8, c.rationalDispMode));
    b.fonts.libType = c.libType;
    b.fonts.AddFont(1, "Other");
    char text[] = "A";
    b.s.StringOut(text, 0, 0, c.height, c.width, c.fontNo, c.style, 0, 0, 0, 0, 0.0, nullptr);
    const size_t native = b.device.CallsNamed("DrawTextLogFont").size();
    const size_t vector = b.device.CallsNamed("FillPolygons").size() +
                          b.device.CallsNamed("DrawPolylines").size();
    EXPECT_EQ(native, c.trueType ? 1u : 0u) << c.what;
    EXPECT_EQ(vector, c.trueType ? 0u : 1u) << c.what;
  }
}

}  // namespace
