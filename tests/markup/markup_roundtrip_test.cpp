// For random annotations, writing the markup and reading it back gives the
// text and the parameters again, as far as six decimals allow.
#include <gtest/gtest.h>

#include <inkline/convert.h>

#include <cmath>
#include <random>
#include <string>

#include "markup/markup_sample.h"

namespace {

constexpr short kStyleUntouched = -99;

TEST(MarkupRoundTrip, GivesBackTextAndParameters) {
  std::mt19937 random(7177);
  for (int i = 0; i < 3000; ++i) {
    const MarkupSample s = RandomMarkupSample(random, i % 10 == 0 ? 600 : 20);
    std::string text = s.text;
    char* document = CvtStrToHTML(text.data(), s.face, s.style, s.size, s.color, s.space, s.hvpl,
                                  s.bgcolor, s.angle);
    ASSERT_NE(document, nullptr);

    short face = 0, style = kStyleUntouched;
    double size = 0;
    int color = 0, bgcolor = 0;
    float space = 0, angle = 0;
    char hvpl = 0;
    const char* back =
        CvtHTMLToStr(document, &face, &style, &size, &color, &space, &hvpl, &bgcolor, &angle);
    ASSERT_NE(back, nullptr);
    SCOPED_TRACE("sample " + std::to_string(i));
    EXPECT_EQ(std::string(back), ExpectedMarkupText(s));
    EXPECT_EQ(face, s.face);
    EXPECT_EQ(style, s.style >= 1 && s.style <= 4 ? s.style : kStyleUntouched);
    EXPECT_EQ(color, s.color);
    EXPECT_EQ(hvpl, s.hvpl);
    EXPECT_EQ(bgcolor, s.bgcolor);
    EXPECT_NEAR(size, s.size, MarkupTolerance(s.size));
    EXPECT_NEAR(space, s.space, MarkupTolerance(s.space));
    EXPECT_NEAR(angle, s.angle, MarkupTolerance(s.angle));
    if (HasFailure()) break;  // one reported sample is enough
  }
}

}  // namespace
