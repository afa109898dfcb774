// Documents written from an annotation's parameters, byte for byte.
#include <gtest/gtest.h>

#include <inkline/convert.h>

#include <ostream>
#include <string>

namespace {

std::string Canonical(const std::string& bodyAttrs, const std::string& fontAttrs,
                      const std::string& inner) {
  return "<body " + bodyAttrs + "><font " + fontAttrs + ">" + inner + "</font></body>";
}

const std::string kZeroBody = "bgcolor=0 angle=0.000000  space=0.000000  size=0.000000  hvpl=0";
const std::string kZeroFont = "face=0 color=0";

struct WriteCase {
  const char* name;
  std::string text;
  short face, style;
  double size;
  int color;
  float space;
  char hvpl;
  int bgcolor;
  float angle;
  std::string expected;
};

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class MarkupWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(MarkupWrite, WritesTheCanonicalDocument) {
  const WriteCase& c = GetParam();
  std::string text = c.text;
  const char* doc = CvtStrToHTML(text.data(), c.face, c.style, c.size, c.color, c.space, c.hvpl,
                                 c.bgcolor, c.angle);
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(std::string(doc), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, MarkupWrite,
    testing::Values(
        WriteCase{"AllZero", "A", 0, 0, 0, 0, 0, 0, 0, 0,
                  "<body bgcolor=0 angle=0.000000  space=0.000000  size=0.000000  hvpl=0>"
                  "<font face=0 color=0>A</font></body>"},
        WriteCase{"UnderlinedTwoLines", "Main St\r\nNorth", 2, 3, 5.0, 3, 0.5f, 0, 0, 30.0f,
                  "<body bgcolor=0 angle=30.000000  space=0.500000  size=5.000000  hvpl=0>"
                  "<font face=2 color=3><u> Main St<p>North</u> </font></body>"},
        WriteCase{"BoldLineBreak", "x\r\ny", 0, 2, 0, 0, 0, 0, 0, 0,
                  Canonical(kZeroBody, kZeroFont, "<strong>x<p>y</strong>")},
        WriteCase{"Italic", "x", 0, 1, 0, 0, 0, 0, 0, 0,
                  Canonical(kZeroBody, kZeroFont, "<em>x</em>")},
        WriteCase{"StrikeOut", "x", 0, 4, 0, 0, 0, 0, 0, 0,
                  Canonical(kZeroBody, kZeroFont, "<strike>x</strike>")},
        WriteCase{"StyleFiveHasNoTags", "x", 0, 5, 0, 0, 0, 0, 0, 0,
                  Canonical(kZeroBody, kZeroFont, "x")},
        WriteCase{"NegativeStyleHasNoTags", "x", 0, -1, 0, 0, 0, 0, 0, 0,
                  Canonical(kZeroBody, kZeroFont, "x")},
        WriteCase{"SixDigitsAfterThePoint", "x", 0, 0, 10.75, 0, -0.25f, 0, 0, 1e-7f,
                  Canonical("bgcolor=0 angle=0.000000  space=-0.250000  size=10.750000  hvpl=0",
                            kZeroFont, "x")},
        WriteCase{"NoExponentForLargeSizes", "x", 0, 0, 1e20, 0, 0, 0, 0, 0,
                  Canonical("bgcolor=0 angle=0.000000  space=0.000000  "
                            "size=100000000000000000000.000000  hvpl=0",
                            kZeroFont, "x")},
        WriteCase{"SignedSmallNumbers", "x", -32768, 0, 0, -1, 0, static_cast<char>(-128), -5, 0,
                  Canonical("bgcolor=-5 angle=0.000000  space=0.000000  size=0.000000  hvpl=-128",
                            "face=-32768 color=-1", "x")},
        WriteCase{"NothingEscaped", "a<b & c>d &amp;", 0, 0, 0, 0, 0, 0, 0, 0,
                  Canonical(kZeroBody, kZeroFont, "a<b & c>d &amp;")},
        WriteCase{"OnlyCrLfPairsBecomeP", "a\rb\nc\r\r\nd\n\r", 0, 0, 0, 0, 0, 0, 0, 0,
                  Canonical(kZeroBody, kZeroFont, "a\rb\nc\r<p>d\n\r")},
        WriteCase{"DoubleByteTextAsItIs", "\xB5\xD8\xCD\xBC", 0, 0, 0, 0, 0, 0, 0, 0,
                  Canonical(kZeroBody, kZeroFont, "\xB5\xD8\xCD\xBC")},
        WriteCase{"EmptyText", "", 7, 0, 0, 8, 0, 1, 9, 0,
                  Canonical("bgcolor=9 angle=0.000000  space=0.000000  size=0.000000  hvpl=1",
                            "face=7 color=8", "")}),
    [](const testing::TestParamInfo<WriteCase>& param) { return std::string(param.param.name); });

TEST(MarkupWriteNull, NullTextGivesNull) {
  EXPECT_EQ(CvtStrToHTML(nullptr, 1, 1, 1, 1, 1, 1, 1, 1), nullptr);
}

}  // namespace
