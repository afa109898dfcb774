#include <gtest/gtest.h>

#include <inkline/host/hostlib.h>
#include <inkline/host/synthetic_font_lib.h>

namespace {

TEST(HostFontLibrary, InstallingReturnsThePreviousLibrary) {
  SyntheticFontLib a, b;
  MapFontLib* before = SetMapFontLib(&a);
  EXPECT_EQ(GetMapFontLib(), &a);
  {
    ScopedMapFontLib scoped(&b);
    EXPECT_EQ(GetMapFontLib(), &b);
  }
  EXPECT_EQ(GetMapFontLib(), &a);
  EXPECT_EQ(SetMapFontLib(before), &a);
}

TEST(HostUtility, StringCNumCountsTwoByteCharactersOnce) {
  const struct {
    const char* text;
    int count;
  } cases[] = {{"", 0}, {"abc", 3}, {"\xB0\xA1", 1}, {"a\xB0\xA1z", 3},
               {"ab\xB0", 3},  // a lead byte right before the end counts alone
               {"\xB0", 1}};
  for (const auto& c : cases) EXPECT_EQ(StringCNum(c.text), c.count) << c.text;
  EXPECT_EQ(StringCNum(nullptr), 0);
}

TEST(HostFontLibrary, StringLengthSumsAdvancesOverTheGrid) {
  SyntheticFontLib lib;
  SyntheticFont& f = lib.AddFont(3, "Three");
  f.defaultAdvance = 20.0;
  f.advances[SyntheticFont::Code("W")] = 40.0;
  f.advances[SyntheticFont::Code("\xB0\xA1")] = 40.0;
  char text[] = "aW\xB0\xA1";
  EXPECT_DOUBLE_EQ(StringLength(text, 3, 0, &lib), (20.0 + 40.0 + 40.0) / 40.0);
  lib.libType = 1;
  EXPECT_DOUBLE_EQ(StringLength(text, 3, 0, &lib), 100.0 / 255.0);
  EXPECT_DOUBLE_EQ(StringLength(text, 3, 1, &lib), 3.0);  // a column: one cell per character
  EXPECT_DOUBLE_EQ(StringLength(text, 42, 0, &lib), 0.0); // no such font
  EXPECT_DOUBLE_EQ(StringLength(nullptr, 3, 0, &lib), 0.0);
  {
    ScopedMapFontLib installed(&lib);
    EXPECT_DOUBLE_EQ(StringLength(text, 3, 0, nullptr), 100.0 / 255.0);
  }
  ScopedMapFontLib none(nullptr);
  EXPECT_DOUBLE_EQ(StringLength(text, 3, 0, nullptr), 0.0);
}

}  // namespace
