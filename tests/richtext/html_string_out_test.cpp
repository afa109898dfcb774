// The rich-text entry point: what it reads from the device, and what it does
// without text, rectangle or device.
#include <gtest/gtest.h>

#include <string>

#include "richtext/richtext_support.h"

namespace {

using richtext_test::RichBench;

TEST(RichTextEntryPoint, EmptyOrMissingInputDrawsNothing) {
  RichBench b;
  D_RECT box{0, 100, 50, 125};
  b.Draw("", box);  // no events at all, so not even the background
  b.s.HTMLStringOut(nullptr, 0, 0, &box, 0);
  char markup[] = "<body>A</body>";
  b.s.HTMLStringOut(markup, 0, 0, nullptr, 0);
  EXPECT_TRUE(b.device.calls.empty()) << b.device.Trace();
}

// The device's kind, flag word and TrueType permission are read again on
// every call, as the string object's constructor read them.
TEST(RichTextEntryPoint, RefreshesTheDeviceSettings) {
  RichBench b;
  b.device.settings.kind = 5;
  b.device.settings.rationalDispMode = 1;
  b.device.DispFlags = 0x80;
  b.Draw("", D_RECT{0, 100, 50, 125});
  EXPECT_EQ(b.s.DeviceType, 5);
  EXPECT_EQ(b.s.RationalDispMode, 1);
  EXPECT_EQ(b.s.DevFlags, 0x80);
}

}  // namespace
