// Finding markup bytes at character starts: the fast search must give what
// stepping character by character gives, whatever runs of two-byte
// characters (whose second byte may be markup punctuation) stand before.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "markup/markup_scan.h"
#include "markup/markup_text.h"

namespace {

constexpr std::size_t npos = std::string_view::npos;

// The first character start at or after `from` holding a or b, stepping one
// character at a time from the beginning of the text.
std::size_t SteppingFind(std::string_view text, std::size_t from, char a, char b) {
  for (std::size_t i = 0; i < text.size(); i += CharSizeAt(text, i)) {
    if (i >= from && (text[i] == a || text[i] == b)) return i;
  }
  return npos;
}

TEST(MarkupScan, FindsBracketsOnlyAtCharacterStarts) {
  struct Case {
    const char* text;
    std::size_t bracket;  // FindAngleBracket from 0
  } const cases[] = {
      {"ab<", 2},
      {"\x81<a<", 3},          // one lead byte: its "<" is a trail byte
      {"\x81\x82<", 2},        // two high bytes make one character
      {"\x81\x82\x83<>", 4},   // three: the "<" is the second byte of the last
      {"x\x81\x81\x81\x81\x81<\x81>", npos},
      // Runs across the sixteen-byte steps: seventeen high bytes leave the
      // "<" a trail byte, eighteen make it a character.
      {"\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8a\x8b\x8c\x8d\x8e\x8f\x90\x91<", npos},
      {"\x81\x82\x83\x84\x85\x86\x87\x88\x89\x8a\x8b\x8c\x8d\x8e\x8f\x90\x91\x92<", 18},
      {"0123456789abcdef\x81>0123456789abcdef>", 34},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindAngleBracket(c.text), c.bracket) << c.text;
  }
}

TEST(MarkupScan, FastSearchMatchesSteppingOnRandomText) {
  // Long enough for the sixteen-byte steps, with runs of high bytes of every
  // length and markup punctuation in both bytes of a character.
  static const char kBytes[] = {'<', '>', 'a', ' ', '\x81', '\xb0', '\xfe', '<', '\x81'};
  std::mt19937 random(1234);
  for (int n = 0; n < 4000; ++n) {
    std::string text(random() % 80, ' ');
    for (char& c : text) c = kBytes[random() % sizeof kBytes];
    for (std::size_t from = 0; from <= text.size(); from += CharSizeAt(text, from)) {
      ASSERT_EQ(FindAngleBracket(text, from), SteppingFind(text, from, '<', '>')) << text;
      ASSERT_EQ(FindAscii(text, '>', from), SteppingFind(text, from, '>', '>')) << text;
      if (from == text.size()) break;
    }
  }
}

TEST(MarkupScan, FastLowerCaseMatchesSteppingOnRandomText) {
  // Sixteen ASCII bytes go at once; a two-byte character keeps its second
  // byte, an upper-case letter or not, across the blocks' edges.
  static const char kBytes[] = {'A', 'Z', 'a', 'M', '@', '[', '<', ' ', '\xb0', '\x81'};
  std::mt19937 random(99);
  for (int n = 0; n < 4000; ++n) {
    std::string text(random() % 70, ' ');
    for (char& c : text) c = kBytes[random() % (random() % 4 == 0 ? sizeof kBytes : 8)];
    std::string stepped = text;
    for (std::size_t i = 0; i < stepped.size(); i += CharSizeAt(stepped, i)) {
      if (stepped[i] >= 'A' && stepped[i] <= 'Z') stepped[i] = static_cast<char>(stepped[i] + 32);
    }
    std::string fast = text;
    LowerCaseInPlace(fast);
    ASSERT_EQ(fast, stepped) << text;
  }
}

}  // namespace
