#include "markup/markup_scan.h"

#include <cstdint>
#include <cstring>

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool TagAt(std::string_view text, std::size_t pos, std::string_view tag) {
  if (pos > text.size() || text.size() - pos < tag.size()) return false;
  for (std::size_t k = 0; k < tag.size(); ++k) {
    if (LowerAscii(text[pos + k]) != tag[k]) return false;
  }
  return true;
}

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kHighBits = 0x8080808080808080u;

// Whether a word of ASCII bytes holds the byte c.
bool HoldsByte(std::uint64_t asciiWord, char c) {
  const std::uint64_t x = asciiWord ^ (kOnes * static_cast<unsigned char>(c));
  return ((x - kOnes) & ~x & kHighBits) != 0;
}

// The first character start at or after `from` holding the ASCII byte a or
// b. Eight bytes at a time where they are all ASCII (eight characters) or
// all high bytes (four two-byte characters): neither kind can hide a match
// or shift the character starts.
std::size_t FindEither(std::string_view text, std::size_t from, char a, char b) {
  std::size_t i = from;
  while (i < text.size()) {
    if (text.size() - i >= 8) {
      std::uint64_t word;
      std::memcpy(&word, text.data() + i, sizeof word);
      const std::uint64_t high = word & kHighBits;
      if (high == kHighBits || (high == 0 && !HoldsByte(word, a) && !HoldsByte(word, b))) {
        i += 8;
        continue;
      }
    }
    const char c = text[i];
    if (c == a || c == b) return i;
    i += shared::IsLeadByte(c) ? 2 : 1;
  }
  return std::string_view::npos;
}

}  // namespace

std::size_t FindAscii(std::string_view text, char c, std::size_t from) {
  return FindEither(text, from, c, c);
}

std::size_t FindAngleBracket(std::string_view text, std::size_t from) {
  return FindEither(text, from, '<', '>');
}

std::size_t FindTag(std::string_view text, std::string_view tag, std::size_t from) {
  if (tag.empty()) return from <= text.size() ? from : std::string_view::npos;
  for (std::size_t i = FindAscii(text, tag[0], from); i != std::string_view::npos;
       i = FindAscii(text, tag[0], i + 1)) {
    if (TagAt(text, i, tag)) return i;
  }
  return std::string_view::npos;
}
