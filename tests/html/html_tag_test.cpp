// Parsing one tag: what it consumes, the flags it writes, what a failure keeps.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>

#include "html/html_tag.h"
#include "html/tag_parse_memo.h"

namespace {

// "name a=v b=w" and the flags, or "none" for a tag without a list.
std::string Describe(const CHTMLTag& tag) {
  std::string out = tag.GetTagName();
  const CHTMLAttributes* attributes = tag.GetAttributes();
  if (!attributes) return out + " (none)";
  for (int i = 0; i < attributes->GetCount(); ++i) {
    const CHTMLElemAttr a = attributes->GetAttribute(i);
    out += " " + a.GetName() + "=" + a.Value;
  }
  return out;
}

struct TagCase {
  const char* text;
  int consumed;
  bool opening;
  bool closing;
  const char* tag;
};

class ParseTagTest : public ::testing::TestWithParam<TagCase> {};

TEST_P(ParseTagTest, NameFlagsAndLength) {
  const TagCase& c = GetParam();
  CHTMLTag tag;
  bool opening = !c.opening;
  bool closing = !c.closing;
  EXPECT_EQ(tag.ParseTag(c.text, opening, closing, true), c.consumed);
  EXPECT_EQ(opening, c.opening);
  EXPECT_EQ(closing, c.closing);
  EXPECT_EQ(Describe(tag), c.tag);
}

INSTANTIATE_TEST_SUITE_P(
    HtmlTag, ParseTagTest,
    ::testing::Values(
        TagCase{"<p>", 3, true, false, "p (none)"},
        TagCase{"<p >x", 4, true, false, "p (none)"},
        TagCase{"<FONT>", 6, true, false, "FONT (none)"},
        TagCase{"  <b>", 5, true, false, "b (none)"},
        TagCase{"<br/>", 5, true, true, "br (none)"},
        TagCase{"<br />", 6, true, true, "br (none)"},
        TagCase{"</font>", 7, false, true, "font (none)"},
        TagCase{"</>", 3, false, true, " (none)"},
        TagCase{"</1.x>", 6, false, true, "1.x (none)"},
        // The empty tag consumes its "<" only.
        TagCase{"<>b", 1, false, false, " (none)"},
        TagCase{" <>", 2, false, false, " (none)"},
        TagCase{"<font face=3 color=255>", 23, true, false, "font face=3 color=255"},
        TagCase{"<font face='Times New Roman'>", 29, true, false, "font face=Times New Roman"},
        TagCase{"<font size>", 11, true, false, "font size="},
        TagCase{"<body bgcolor=3 bgcolor=4>", 26, true, false, "body bgcolor=3 bgcolor=4"},
        TagCase{"<font color=3/>", 15, true, true, "font color=3"},
        TagCase{"<font color='3' />", 18, true, true, "font color=3"},
        TagCase{"<a v='x\r\ny'>", 12, true, false, "a v=x y"},
        // Without a parsable attribute the tag runs to the first ">".
        TagCase{"<p 1=2>", 7, true, false, "p (none)"},
        TagCase{"<p = />", 7, true, true, "p (none)"},
        TagCase{"<p \xb0\xa1>", 6, true, false, "p (none)"},
        TagCase{"<p/ x>", 6, true, false, "p (none)"}));

TEST(HtmlTag, FailureLeavesTagAndFlagsUnchanged) {
  const char* notTags[] = {
      "", "x<b>", "< b>", "<1>", "<!-- c -->", "<", "<b", "<b ", "</font >", "</font x>",
      "</font", "<b;>", "<font face=\"a>", "<font face=\"a", "<a b=1", "<a b=1 ",
      "<a b=1 c", "<a b=1 / >", "<a b=1 x=>", "<a b = c>", "<p \xb0>", "<\xb0\xa1>",
  };
  for (const char* text : notTags) {
    CHTMLTag tag;
    bool opening = false;
    bool closing = false;
    ASSERT_EQ(tag.ParseTag("<old k=v/>", opening, closing, true), 10);
    EXPECT_EQ(tag.ParseTag(text, opening, closing, true), 0) << text;
    EXPECT_TRUE(opening) << text;
    EXPECT_TRUE(closing) << text;
    EXPECT_EQ(Describe(tag), "old k=v") << text;
  }
}

TEST(HtmlTag, ASuccessReplacesTheAttributes) {
  CHTMLTag tag;
  bool opening = false;
  bool closing = false;
  ASSERT_EQ(tag.ParseTag("<font face=1>", opening, closing, true), 13);
  ASSERT_NE(tag.GetAttributes(), nullptr);
  for (const char* next : {"</font>", "<br>", "<>", "<p 1>"}) {
    ASSERT_EQ(tag.ParseTag("<font face=1>", opening, closing, true), 13);
    EXPECT_GT(tag.ParseTag(next, opening, closing, true), 0) << next;
    EXPECT_EQ(tag.GetAttributes(), nullptr) << next;
  }
}

TEST(HtmlTag, WithoutReadingAttributesTheTagRunsToTheFirstClose) {
  CHTMLTag tag;
  bool opening = false;
  bool closing = false;
  EXPECT_EQ(tag.ParseTag("<font face=3 color=4/>", opening, closing, false), 22);
  EXPECT_EQ(Describe(tag), "font (none)");
  EXPECT_TRUE(opening);
  EXPECT_TRUE(closing);
  // Only a ">" inside a quoted value ends it early.
  EXPECT_EQ(tag.ParseTag("<a b='>'>", opening, closing, false), 7);
}

TEST(HtmlTag, ALeadByteBeforeTheEndIsOneByte) {
  // Exactly sized heap copies, so any read past the NUL is caught by ASan.
  for (const std::string text : {"<a\xb0", "<a \xb0", "<a b=\xb0", "<a b=\"\xb0", "</a\xb0",
                                 "<a b=1 \xb0", "<\xb0"}) {
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    CHTMLTag tag;
    bool opening = false;
    bool closing = false;
    EXPECT_EQ(tag.ParseTag(copy.get(), opening, closing, true), 0) << text;
  }
}

// One tag object serves every tag of a document, writing names and values
// over the last tag's strings: whatever lengths follow one another (shorter,
// longer, past the strings' own room), more attributes than before, values
// to trim or fold and values with two-byte characters, it must read each
// tag as a fresh object does, and as its attributes read one by one.
TEST(HtmlTag, AReusedTagReadsLikeAFreshOne) {
  std::mt19937 rng(5);
  auto value = [&rng]() {
    static const char* const kPieces[] = {"0", "7", ".", "a", "Z", " ", "\t", "\r", "\n", "\xb0\xa1"};
    std::string v;
    for (std::size_t n = rng() % 41; n > 0; --n) v += kPieces[rng() % 10];
    return v;
  };
  CHTMLTag reused;
  for (int i = 0; i < 400; ++i) {
    const std::string name(1 + rng() % 12, 'n');
    std::string text = "<" + name;
    const int attributes = static_cast<int>(rng() % 20);
    for (int a = 0; a < attributes; ++a) {
      text += " " + std::string(1 + rng() % 20, static_cast<char>('a' + a % 26)) + "=";
      const std::string v = value();
      text += rng() % 2 ? "\"" + v + "\"" : (v.empty() || v.find_first_of(" \t\r\n") != std::string::npos ? "z" : v);
    }
    text += ">";
    std::string oneByOne = attributes > 0 ? name : name + " (none)";
    CHTMLElemAttr attribute;
    for (const char* p = text.c_str() + 1 + name.size(); *p != '>';) {
      const int consumed = attribute.ParseAttribute(p);
      ASSERT_GT(consumed, 0) << text;
      oneByOne += " " + attribute.GetName() + "=" + attribute.Value;
      p += consumed;
    }
    CHTMLTag fresh;
    bool opening = false;
    bool closing = false;
    const int length = fresh.ParseTag(text.c_str(), opening, closing, true);
    ASSERT_GT(length, 0) << text;
    ASSERT_EQ(reused.ParseTag(text.c_str(), opening, closing, true), length) << text;
    ASSERT_EQ(Describe(fresh), oneByOne) << text;
    ASSERT_EQ(Describe(reused), oneByOne) << text;
  }
}

// A reader's tag, read with the text's end known from a text that stays,
// goes the quickest way it can: for the usual tag it tells where the tag
// ends from classes of its bytes taken 16 at a time, over windows of 64.
// Whatever the attributes' shapes, spaces and quotes, lengths across those
// blocks and windows, or a tag ending right at the text's end, it must read
// every tag as the plain way does.
TEST(HtmlTag, AReadersTagReadsLikeAnyOther) {
  std::mt19937 rng(11);
  static const char* const kNames[] = {"a", "bgcolor", "x-y.z:w_v", "A1", "n,m",
                                       "verylongnamethatrunsonandonpast32"};
  static const char* const kValues[] = {
      "1", "0.000000", "=", "==c", "a/b", "x>y", "\"q\"", "'q'", "\"a b\"", "'a\"b'", "\"a>b\"", "\"\"",
      "\"open", "v\xd6\xd0", "v\xb0", "\"x\xb0\"y\"", "\"\xd6\xd0 x\"", "#f0", "a,b", "\"x\"y", "'x'=y",
      "long0123456789012345678901234567890123456789"};
  static const char* const kSpaces[] = {"", " ", "  ", "\t", " \n "};
  static const char* const kEnds[] = {">", ">", ">", "/>", "/ >", "", " >"};
  auto pick = [&rng](const auto& list) { return list[rng() % (sizeof list / sizeof list[0])]; };
  for (int i = 0; i < 20000; ++i) {
    std::string text = "<font";
    text += kSpaces[1 + rng() % 4];
    for (int a = 0, count = static_cast<int>(rng() % 9); a < count; ++a) {
      if (a > 0) text += pick(kSpaces);
      text += pick(kNames);
      if (rng() % 5 == 0) continue;  // a name alone
      if (rng() % 6 == 0) text += kSpaces[1 + rng() % 4];
      text += "=";
      if (rng() % 6 == 0) text += kSpaces[1 + rng() % 4];
      text += pick(kValues);
    }
    text += pick(kSpaces);
    text += pick(kEnds);
    if (rng() % 2) text += "after";

    CHTMLTag plain;
    bool opening = false;
    bool closing = false;
    const int length = plain.ParseTag(text.c_str(), opening, closing, true);
    TagParseMemo memo;
    memo.TextEnd = text.c_str() + text.size();
    CHTMLTag quick;
    bool quickOpening = false;
    bool quickClosing = false;
    ASSERT_EQ(quick.ParseTag(text.c_str(), quickOpening, quickClosing, true, &memo, true), length)
        << text;
    ASSERT_EQ(quickOpening, opening) << text;
    ASSERT_EQ(quickClosing, closing) << text;
    ASSERT_EQ(Describe(quick), Describe(plain)) << text;
  }
}

}  // namespace
