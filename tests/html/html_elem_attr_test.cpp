// One attribute and the attribute list of a tag.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "html/html_attributes.h"
#include "html/html_elem_attr.h"

namespace {

struct AttributeCase {
  const char* text;
  int consumed;
  const char* name;
  const char* value;
};

class ParseAttributeTest : public ::testing::TestWithParam<AttributeCase> {};

TEST_P(ParseAttributeTest, ConsumesNameAndValue) {
  const AttributeCase& c = GetParam();
  CHTMLElemAttr attribute("old", "old value");
  EXPECT_EQ(attribute.ParseAttribute(c.text), c.consumed);
  EXPECT_EQ(attribute.GetName(), c.name);
  EXPECT_EQ(attribute.Value, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    HtmlElemAttr, ParseAttributeTest,
    ::testing::Values(
        // A bare name stops before the white space after it.
        AttributeCase{"size>", 4, "size", ""}, AttributeCase{"  size  x", 6, "size", ""},
        AttributeCase{"a-b.c:d_e9/", 10, "a-b.c:d_e9", ""}, AttributeCase{"size", 4, "size", ""},
        // Unquoted values end at white space, "/", ">" or the end.
        AttributeCase{"face=3 color=255>", 6, "face", "3"},
        AttributeCase{"color=255/>", 9, "color", "255"},
        AttributeCase{"x= \t7>", 5, "x", "7"}, AttributeCase{"x=abc", 5, "x", "abc"},
        // Its first character belongs to it whatever it is.
        AttributeCase{"x=>>", 3, "x", ">"}, AttributeCase{"x=/a b", 4, "x", "/a"},
        // Quoted values keep their spaces; the closing quote counts.
        AttributeCase{"face='Times New Roman'>", 22, "face", "Times New Roman"},
        AttributeCase{"face=\"a'b\" c", 10, "face", "a'b"},
        AttributeCase{"face=''>", 7, "face", ""},
        // An unterminated quote runs to the end and earns no byte.
        AttributeCase{"face=\"a b", 9, "face", "a b"},
        // "=" at the end of the text: an empty value.
        AttributeCase{"face=", 5, "face", ""}, AttributeCase{"face=  ", 7, "face", ""},
        // Quoted values are normalised.
        AttributeCase{"v=' a\r\nb\tc '", 12, "v", "a b c"},
        // A lead byte steps over its trail byte, even one equal to the quote.
        AttributeCase{"v=\"\xb0\"x\"", 7, "v", "\xb0\"x"},
        AttributeCase{"v=\xb0>x", 5, "v", "\xb0>x"}));

TEST(HtmlElemAttr, NoAttributeLeavesTheObjectUnchanged) {
  for (const char* text : {"", "   ", "1a=2", "=x", "-a", "a;b", "a\"", "\xb0\xa1=1", ">"}) {
    CHTMLElemAttr attribute("kept", "value");
    EXPECT_EQ(attribute.ParseAttribute(text), 0) << text;
    EXPECT_EQ(attribute.GetName(), "kept") << text;
    EXPECT_EQ(attribute.Value, "value") << text;
  }
}

TEST(HtmlElemAttr, ALeadByteBeforeTheEndIsOneByte) {
  // Exactly sized heap copies, so a step past the NUL is caught by ASan.
  for (const std::string text : {"v=\xb0", "v=\"\xb0", "v=a\xb0"}) {
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    CHTMLElemAttr attribute;
    EXPECT_EQ(attribute.ParseAttribute(copy.get()), static_cast<int>(text.size())) << text;
  }
}

TEST(HtmlElemAttr, SetValueTrimsAndFoldsLineBreaks) {
  struct {
    const char* in;
    const char* out;
  } const cases[] = {
      {"  a  ", "a"},          {"a\r\nb", "a b"},   {"a\nb", "ab"},
      {"a\tb", "a b"},         {"a  b", "a  b"},    {"\r\n\t \v\f", ""},
      {"\va\f", "a"},          {"a\r\rb", "a  b"},  {"\xb0\xa1 ", "\xb0\xa1"},
  };
  for (const auto& c : cases) {
    CHTMLElemAttr attribute;
    attribute.SetValue(c.in);
    EXPECT_EQ(attribute.Value, c.out) << c.in;
    // The value given may be the attribute's own.
    attribute.Value = c.in;
    attribute.SetValue(attribute.Value);
    EXPECT_EQ(attribute.Value, c.out) << c.in;
  }
}

TEST(HtmlElemAttr, ConstructorTakesNullAsEmpty) {
  CHTMLElemAttr attribute(nullptr, nullptr);
  EXPECT_EQ(attribute.GetName(), "");
  EXPECT_EQ(attribute.Value, "");
  CHTMLElemAttr copy(CHTMLElemAttr("n", " v "));
  EXPECT_EQ(copy.GetName(), "n");
  EXPECT_EQ(copy.Value, " v ");
}

std::string Describe(const CHTMLAttributes& attributes) {
  std::string out;
  for (int i = 0; i < attributes.GetCount(); ++i) {
    const CHTMLElemAttr a = attributes.GetAttribute(i);
    out += a.GetName() + "=" + a.Value + ";";
  }
  return out;
}

TEST(HtmlAttributes, ParsesEveryAttributeInOrderKeepingDuplicates) {
  struct {
    const char* text;
    int consumed;
    const char* list;
  } const cases[] = {
      {"face=3 color=255>", 16, "face=3;color=255;"},
      {"bgcolor=3 bgcolor=4", 19, "bgcolor=3;bgcolor=4;"},
      {"size hvpl=1 angle='2 0'/>", 23, "size=;hvpl=1;angle=2 0;"},
      // Stops at the first thing that is not an attribute.
      {"a=1 2b=3>", 3, "a=1;"},
      {"a b = c", 3, "a=;b=;"},
  };
  for (const auto& c : cases) {
    CHTMLAttributes attributes;
    EXPECT_EQ(attributes.ParseAttributes(c.text), c.consumed) << c.text;
    EXPECT_EQ(Describe(attributes), c.list) << c.text;
  }
}

TEST(HtmlAttributes, KeepsTheOldListWhenNothingParses) {
  CHTMLAttributes attributes;
  EXPECT_FALSE(attributes.HasList());
  EXPECT_EQ(attributes.ParseAttributes("/>"), 0);
  EXPECT_FALSE(attributes.HasList());
  EXPECT_EQ(attributes.GetCount(), 0);

  ASSERT_EQ(attributes.ParseAttributes("a=1 b=2"), 7);
  EXPECT_EQ(attributes.ParseAttributes(" >"), 0);
  EXPECT_EQ(Describe(attributes), "a=1;b=2;");
  // A new list replaces the old one whole.
  EXPECT_EQ(attributes.ParseAttributes("c"), 1);
  EXPECT_EQ(Describe(attributes), "c=;");
}

TEST(HtmlAttributes, OutOfRangeIndexGivesAnEmptyAttribute) {
  CHTMLAttributes attributes;
  ASSERT_EQ(attributes.ParseAttributes("a=1 b=2"), 7);
  for (int index : {-1, 2, 1000}) {
    const CHTMLElemAttr a = attributes.GetAttribute(index);
    EXPECT_EQ(a.GetName(), "") << index;
    EXPECT_EQ(a.Value, "") << index;
  }
  EXPECT_EQ(attributes.GetAttribute(1).GetName(), "b");
}

TEST(HtmlAttributes, RemoveAllLeavesNoList) {
  CHTMLAttributes attributes;
  ASSERT_EQ(attributes.ParseAttributes("a"), 1);
  EXPECT_TRUE(attributes.HasList());
  attributes.RemoveAll();
  EXPECT_FALSE(attributes.HasList());
  EXPECT_EQ(attributes.GetCount(), 0);
  EXPECT_EQ(attributes.GetAttribute(0).GetName(), "");
}

}  // namespace
