// The one code page codec: a stream decode accounts for every byte, the
// UTF-8 reader refuses what is not UTF-8 and steps past it whole.
#include <gtest/gtest.h>

#include <string>

#include <inkline/shared/code_page.h>
#include <inkline/user_chars.h>

namespace {

TEST(CodePage, StreamDecodeAccountsForEveryByte) {
  const struct {
    std::string bytes;
    std::u32string expected;
  } cases[] = {
      {"A\xD6\xD0", U"A\u4E2D"},
      {"\x80", U"\u20AC"},                // the code page's one single byte above ASCII
      {"\xD6", U"\uFFFD"},                // a lead byte cut off by the end
      {"\xD6\x30", U"\uFFFD" U"0"},       // no such pair: the second byte is read again
      {"\xFF" "A", U"\uFFFD" U"A"},
      {std::string("a\0b", 3), std::u32string(U"a\0b", 3)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(shared::DecodeCodePage(c.bytes.data(), static_cast<int>(c.bytes.size())),
              c.expected)
        << c.bytes;
  }
  // A character the code page lacks, once given a user-defined code, decodes as itself.
  const unsigned code = InklineUserCharCode(0xAC00);
  ASSERT_NE(code, 0u);
  const char pair[] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
  EXPECT_EQ(shared::DecodeCodePage(pair, 2), U"\uAC00");
  EXPECT_EQ(shared::CodePageChar(code), U'\uAC00');
  EXPECT_EQ(shared::CodePageCodeOf(U'\u4E2D'), 0xD6D0u);
  EXPECT_EQ(shared::CodePageCodeOf(U'\uAC00'), 0u);  // not in the code page itself
}

TEST(CodePage, Utf8ReaderStepsPastWholeSequences) {
  const struct {
    std::string text;
    bool ok;
    char32_t c;        // when ok
    std::size_t next;  // where reading goes on
  } cases[] = {
      {"\xE4\xB8\xAD!", true, 0x4E2D, 3},
      {"\xF0\x9F\x98\x80", true, 0x1F600, 4},
      {"\xC0\x80" "A", false, 0, 2},         // overlong: the lead and its continuation
      {"\xF8\x80\x80\x80", false, 0, 4},     // no such lead
      {"\xE4\xB8", false, 0, 2},             // cut off by the end
      {"\xE4" "AB", false, 0, 1},            // no continuation: only the lead goes
  };
  for (const auto& c : cases) {
    std::size_t at = 0;
    char32_t got = 0;
    EXPECT_EQ(shared::NextUtf8(c.text, &at, &got), c.ok) << c.text;
    EXPECT_EQ(at, c.next) << c.text;
    if (c.ok) {
      EXPECT_EQ(got, c.c) << c.text;
    }
  }
  std::string utf8;
  shared::AppendUtf8(0x1F600, &utf8);
  shared::AppendUtf8(0x4E2D, &utf8);
  EXPECT_EQ(utf8, "\xF0\x9F\x98\x80\xE4\xB8\xAD");
}

}  // namespace
