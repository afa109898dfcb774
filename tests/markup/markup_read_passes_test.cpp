// Taking a document apart in one pass gives exactly what the straightforward
// rule gives: every tag edit as a pass of its own over the whole text, in
// table order, then the body tag's copies, then font start tags leftmost first
// until none is left. The rule is written out here as it reads, and random
// documents full of near-tags, nesting and two-byte characters go through
// both. Megabyte documents must not take quadratic time.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <random>
#include <string>

#include "markup/attr_value.h"
#include "markup/markup_reader.h"
#include "markup/markup_text.h"
#include "support/elapsed.h"

namespace {

constexpr std::size_t npos = std::string::npos;

struct Span {
  std::size_t Begin = npos, End = npos;
  bool Found() const { return Begin != npos && End != npos; }
};

Span FindStart(const std::string& lower, const char* open, std::size_t from = 0) {
  Span span;
  span.Begin = FindInText(lower, open, from);
  if (span.Begin != npos) span.End = FindInText(lower, ">", span.Begin);
  return span;
}

std::optional<MarkupReading> ReadByPasses(const std::string& document) {
  static const char* const kEdits[][2] = {
      {"<p>", "\r\n"}, {"</p>", ""},     {"<sup>", ""},     {"</sup>", ""},    {"<sub>", ""},
      {"</sub>", ""},  {"<strong>", ""}, {"</strong>", ""}, {"<em>", ""},      {"</em>", ""},
      {"<u>", ""},     {"</u>", ""},     {"<strike>", ""},  {"</strike>", ""}, {"</body>", ""},
      {"</font>", ""}, {"<P>", "\r\n"},  {"</P>", ""},      {"<SUP>", ""},     {"</SUP>", ""},
      {"<SUB>", ""},   {"</SUB>", ""},   {"<STRONG>", ""},  {"</STRONG>", ""}, {"<EM>", ""},
      {"</EM>", ""},   {"<U>", ""},      {"</U>", ""},      {"<STRIKE>", ""},  {"</STRIKE>", ""},
      {"</BODY>", ""}, {"</FONT>", ""}};
  static const char* const kClosingStyles[] = {"</em>", "</strong>", "</u>", "</strike>"};
  const std::string lower = LowerCaseCopy(document);
  const Span body = FindStart(lower, "<body");
  if (!body.Found()) return std::nullopt;
  MarkupReading r;
  const std::string bodyTag = lower.substr(body.Begin, body.End - body.Begin);
  r.Params.Bgcolor = GetAttrValue<int>(bodyTag, "bgcolor", kAttrInteger);
  r.Params.Angle = GetAttrValue<float>(bodyTag, "angle", kAttrReal);
  r.Params.Space = GetAttrValue<float>(bodyTag, "space", kAttrReal);
  r.Params.Size = GetAttrValue<double>(bodyTag, "size", kAttrReal);
  r.Params.Hvpl = GetAttrValue<char>(bodyTag, "hvpl", kAttrInteger);
  const Span font = FindStart(lower, "<font");
  if (font.Found()) {
    const std::string fontTag = lower.substr(font.Begin, font.End - font.Begin);
    r.Params.Face = GetAttrValue<short>(fontTag, "face", kAttrInteger);
    r.Params.Color = GetAttrValue<int>(fontTag, "color", kAttrInteger);
    r.HasFont = true;
  }
  for (short style = 1; style <= 4 && !r.HasStyle; ++style) {
    if (FindInText(lower, kClosingStyles[style - 1]) != npos) {
      r.Params.Style = style;
      r.HasStyle = true;
    }
  }
  r.Text = document;
  for (const auto& edit : kEdits) ReplaceInText(r.Text, edit[0], edit[1]);
  const Span copyOf = FindStart(LowerCaseCopy(r.Text), "<body");
  if (copyOf.Found()) {
    ReplaceInText(r.Text, r.Text.substr(copyOf.Begin, copyOf.End - copyOf.Begin + 1), "");
  }
  for (Span f = FindStart(LowerCaseCopy(r.Text), "<font"); f.Found();) {
    const std::string lowerText = LowerCaseCopy(r.Text);
    const std::size_t inner = FindInText(lowerText, "<", f.Begin + 1);
    if (inner != npos && inner < f.End) {
      f = FindStart(lowerText, "<font", inner);
      continue;
    }
    r.Text.erase(f.Begin, f.End - f.Begin + 1);
    f = FindStart(LowerCaseCopy(r.Text), "<font");
  }
  return r;
}

// Pieces that make tags, near-tags, nesting, and characters whose second
// byte is markup punctuation.
std::string RandomDocument(std::mt19937& random) {
  static const char* const kPieces[] = {
      "<",      ">",      "/",        "<p>",    "</p>",    "<P>",     "<em>",   "</em>",
      "</EM>",  "<u>",    "</u>",     "<U>",    "</sup>",  "<sub>",   "<SUB>",  "</strong>",
      "<STRIKE>", "</strike>", "</body>", "</BODY>", "</font>", "</FONT>", "<font", "<FONT",
      "<Font",  "<body",  "<BODY",    "<fo",    "nt",      "<bo",     "dy",     "</",
      "p",      "em",     "u",        "sup",    "strong",  " ",       "x",      "size=3",
      " face=2", " color=7", "\x81<",  "\x81>",  "\x82\x83", "\x81",   "\r\n",   "=",
      "<body size=2>",  // a copy of the usual body tag, which may join what is around it
  };
  std::uniform_int_distribution<std::size_t> which(0, sizeof kPieces / sizeof *kPieces - 1);
  std::uniform_int_distribution<int> count(0, 40);
  std::string document = random() % 4 ? "<body size=2>" : "";
  for (int n = count(random); n > 0; --n) document += kPieces[which(random)];
  return document;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }
bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(MarkupReadPasses, OnePassGivesWhatPassAfterPassGives) {
  std::mt19937 random(2718);
  for (int i = 0; i < 40000; ++i) {
    const std::string document = RandomDocument(random);
    const std::optional<MarkupReading> want = ReadByPasses(document);
    const std::optional<MarkupReading> got = ReadMarkup(document);
    ASSERT_EQ(got.has_value(), want.has_value()) << document;
    if (!want) continue;
    ASSERT_EQ(got->Text, want->Text) << document;
    const MarkupParameters& g = got->Params;
    const MarkupParameters& w = want->Params;
    ASSERT_TRUE(g.Face == w.Face && g.Style == w.Style && SameBits(g.Size, w.Size) &&
                g.Color == w.Color && SameBits(g.Space, w.Space) && g.Hvpl == w.Hvpl &&
                g.Bgcolor == w.Bgcolor && SameBits(g.Angle, w.Angle))
        << document;
    ASSERT_EQ(got->HasFont, want->HasFont) << document;
    ASSERT_EQ(got->HasStyle, want->HasStyle) << document;
  }
}

// About a megabyte: font tags nested a hundred thousand deep (each removal
// completes the one around it), then many plain ones, then a body tag and
// copies of it that almost match.
TEST(MarkupReadPasses, MegabyteDocumentsAreTakenApartInLinearTime) {
  const int deep = 100000;
  std::string document = "<body size=3>";
  std::string nested;
  for (int i = 0; i < deep; ++i) nested += "<font ";
  nested += "x" + std::string(deep, '>');
  std::string plain;
  for (int i = 0; i < 10000; ++i) plain += "<font face=1 color=2>ab</font>";
  std::string nearBody;
  for (int i = 0; i < 20000; ++i) nearBody += "<body size=3<body size=";
  document += nested + plain + nearBody;

  std::optional<MarkupReading> reading;
  const double seconds = SecondsFor([&] { reading = ReadMarkup(document); });
  EXPECT_LT(seconds, kLinearBoundSeconds);
  ASSERT_TRUE(reading.has_value());
  std::string abs;
  for (int i = 0; i < 10000; ++i) abs += "ab";
  EXPECT_TRUE(reading->Text == abs + nearBody);
  EXPECT_EQ(reading->Params.Size, 3.0);
}

}  // namespace
