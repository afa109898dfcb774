// Documents taken apart again: the text returned and which outputs are
// written, each output starting from a sentinel that marks "left unchanged".
#include <gtest/gtest.h>

#include <inkline/convert.h>

#include <climits>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>

namespace {

struct Outputs {
  short face = -77;
  short style = -77;
  double size = -77.5;
  int color = -77;
  float space = -77.5f;
  char hvpl = -77;
  int bgcolor = -77;
  float angle = -77.5f;
};

void ExpectSameOutputs(const Outputs& got, const Outputs& want) {
  EXPECT_EQ(got.face, want.face);
  EXPECT_EQ(got.style, want.style);
  EXPECT_EQ(got.size, want.size);
  EXPECT_EQ(got.color, want.color);
  EXPECT_EQ(got.space, want.space);
  EXPECT_EQ(got.hvpl, want.hvpl);
  EXPECT_EQ(got.bgcolor, want.bgcolor);
  EXPECT_EQ(got.angle, want.angle);
}

// The outputs of a document whose body tag sets only the given values.
Outputs BodyOnly(double size = 0, int bgcolor = 0, char hvpl = 0, float space = 0,
                 float angle = 0) {
  Outputs o;
  o.size = size;
  o.bgcolor = bgcolor;
  o.hvpl = hvpl;
  o.space = space;
  o.angle = angle;
  return o;
}

Outputs WithFont(Outputs o, short face, int color) {
  o.face = face;
  o.color = color;
  return o;
}

Outputs WithStyle(Outputs o, short style) {
  o.style = style;
  return o;
}

struct ReadCase {
  const char* name;
  std::string document;
  std::optional<std::string> text;  // nothing: null returned
  Outputs outputs;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class MarkupRead : public testing::TestWithParam<ReadCase> {};

TEST_P(MarkupRead, GivesTextAndParameters) {
  const ReadCase& c = GetParam();
  std::string document = c.document;
  Outputs got;
  const char* text = CvtHTMLToStr(document.data(), &got.face, &got.style, &got.size, &got.color,
                                  &got.space, &got.hvpl, &got.bgcolor, &got.angle);
  if (c.text) {
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text), *c.text);
  } else {
    EXPECT_EQ(text, nullptr);
  }
  ExpectSameOutputs(got, c.outputs);
}

// A tag longer than tags usually are: a quoted value of 300 bytes after head.
std::string LongTag(const std::string& head, char filler, const std::string& tail) {
  return head + '"' + std::string(300, filler) + '"' + tail;
}

const char kAllZero[] =
    "<body bgcolor=0 angle=0.000000  space=0.000000  size=0.000000  hvpl=0>"
    "<font face=0 color=0>A</font></body>";

INSTANTIATE_TEST_SUITE_P(
    Documents, MarkupRead,
    testing::Values(
        ReadCase{"AllZeroKeepsStyle", kAllZero, "A", WithFont(BodyOnly(), 0, 0)},
        ReadCase{"WorkedExample",
                 "<body bgcolor=0 angle=30.000000  space=0.500000  size=5.000000  hvpl=0>"
                 "<font face=2 color=3><u> Main St<p>North</u> </font></body>",
                 " Main St\r\nNorth ",
                 WithStyle(WithFont(BodyOnly(5.0, 0, 0, 0.5f, 30.0f), 2, 3), 3)},
        ReadCase{"NoBodyWritesNothing", "<font face=2 color=3>x</font>", std::nullopt, Outputs{}},
        ReadCase{"UnclosedBody", "<body size=5", std::nullopt, Outputs{}},
        ReadCase{"CloseBeforeBody", "a>b<body size=5", std::nullopt, Outputs{}},
        ReadCase{"BodyWithoutFont", "<body size=5>hello", "hello", BodyOnly(5.0)},
        ReadCase{"StrikeStyle",
                 "<body size=2><font face=1 color=2><strike>x</strike></font></body>", "x",
                 WithStyle(WithFont(BodyOnly(2.0), 1, 2), 4)},
        ReadCase{"FirstStyleInOrderWins", "<body><strike>a</strike><em>b</em>", "ab",
                 WithStyle(BodyOnly(), 1)},
        ReadCase{"UpperCaseParagraphs", "<body><P>a</P>b", "\r\nab", BodyOnly()},
        ReadCase{"MixedCaseStyleStaysButCounts", "<body><Em>x</Em>", "<Em>x</Em>",
                 WithStyle(BodyOnly(), 1)},
        ReadCase{"UpperCaseDocument",
                 "<BODY SIZE=3 HVPL=1><FONT FACE=4 COLOR=9><STRONG>x<SUP>2</SUP></STRONG>"
                 "</FONT></BODY>",
                 "x2", WithStyle(WithFont(BodyOnly(3.0, 0, 1), 4, 9), 2)},
        ReadCase{"QuotedValueReadsZero", "<body bgcolor=\"7\" size='3'>x", "x", BodyOnly()},
        ReadCase{"IncompleteFontTagStays", "<body size=5><font face=1 <b>x", "<font face=1 <b>x",
                 WithFont(BodyOnly(5.0), 1, 0)},
        ReadCase{"EveryFontTagRemoved", "<body><font face=1 color=2>a<FONT color=3>b</font><Font>c",
                 "abc", WithFont(BodyOnly(), 1, 2)},
        ReadCase{"LongerNameShadows", "<body><font bgcolor=5 color=3>x", "x",
                 WithFont(BodyOnly(), 0, 5)},
        ReadCase{"IdenticalBodyCopiesRemoved", "<body size=1>a<body size=1>b<BODY size=1>c",
                 "ab<BODY size=1>c", BodyOnly(1.0)},
        ReadCase{"ValueMissingOrWithoutEquals", "<body size= hvpl=3 angle>x", "x",
                 BodyOnly(0, 0, 3)},
        ReadCase{"WhiteSpaceBeforeValue", "<body size=\t 2.5 bgcolor=\n4>x", "x", BodyOnly(2.5, 4)},
        ReadCase{"HugeNumbersSaturate",
                 "<body bgcolor=99999999999 hvpl=300 space=1e39 angle=-1e39 size=1e999>"
                 "<font face=99999999999 color=-99999999999>x",
                 "x",
                 WithFont(BodyOnly(HUGE_VAL, INT_MAX, 44, HUGE_VALF, -HUGE_VALF), -1, INT_MIN)},
        ReadCase{"ReferencesAndOtherTagsStay", "<body><b>&amp;</b><sub>1</sub><br>",
                 "<b>&amp;</b>1<br>", BodyOnly()},
        ReadCase{"RemovalsAreNotSearchedAgain", "<body><<em>p>", "<p>", BodyOnly()},
        // A two-byte character whose second byte is "S": not the start of "size".
        ReadCase{"NameNeverStartsInsideACharacter", "<body \x81Size=9 size=5>x", "x",
                 BodyOnly(5.0)},
        // Nor is a second byte "=" the one a value follows.
        ReadCase{"ValueNeverFollowsASecondByte", "<body size\x81=9 =3>x", "x", BodyOnly(3.0)},
        ReadCase{"LongTagsReadAsShortOnes",
                 LongTag("<body note=", 'x', " size=4 bgcolor=2>") + "a" +
                     LongTag("<font name=", 'y', " FACE=3 color=6>") +
                     LongTag("<body note=", 'x', " size=4 bgcolor=2>") + "b</font></body>",
                 "ab", WithFont(BodyOnly(4.0, 2), 3, 6)}),
    [](const testing::TestParamInfo<ReadCase>& param) { return std::string(param.param.name); });

TEST(MarkupReadNull, NullDocumentGivesNullAndWritesNothing) {
  Outputs got;
  EXPECT_EQ(CvtHTMLToStr(nullptr, &got.face, &got.style, &got.size, &got.color, &got.space,
                         &got.hvpl, &got.bgcolor, &got.angle),
            nullptr);
  ExpectSameOutputs(got, Outputs{});
}

TEST(MarkupReadNull, NullOutputsAreSkipped) {
  char document[] = "<body size=2><font face=1 color=2><em>x</em></font></body>";
  const char* text = CvtHTMLToStr(document, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, nullptr);
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "x");
}

}  // namespace
