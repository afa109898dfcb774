// Byte classes and multibyte stepping shared by the markup parsers.
//
// Markup is a NUL-terminated byte string in the host's double-byte code page:
// a byte with the high bit set leads a two-byte character. Only ASCII bytes
// are ever white space, letters, digits or markup punctuation.
#ifndef INKLINE_SRC_HTML_HTML_TEXT_H
#define INKLINE_SRC_HTML_HTML_TEXT_H

#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace html_text {

// The byte classes below, one table lookup each: tags and attributes test
// every byte of their names and values.
class ByteClasses {
 public:
  enum : unsigned char { kWhiteSpace = 1, kLetter = 2, kDigit = 4, kNamePunctuation = 8 };

  constexpr ByteClasses() {
    for (const char c : {' ', '\t', '\r', '\n', '\v', '\f'}) Set(c, kWhiteSpace);
    for (char c = 'a'; c <= 'z'; ++c) Set(c, kLetter);
    for (char c = 'A'; c <= 'Z'; ++c) Set(c, kLetter);
    for (char c = '0'; c <= '9'; ++c) Set(c, kDigit);
    for (const char c : {'-', '.', ':', '_'}) Set(c, kNamePunctuation);
  }

  constexpr bool Has(char c, unsigned char classes) const {
    return (Bits[static_cast<unsigned char>(c)] & classes) != 0;
  }

 private:
  constexpr void Set(char c, unsigned char bit) { Bits[static_cast<unsigned char>(c)] |= bit; }

  unsigned char Bits[256] = {};
};

inline constexpr ByteClasses kByteClasses{};

// Space, tab, CR, LF, vertical tab and form feed.
inline bool IsWhiteSpace(char c) { return kByteClasses.Has(c, ByteClasses::kWhiteSpace); }

inline bool IsLetter(char c) { return kByteClasses.Has(c, ByteClasses::kLetter); }

inline bool IsDigit(char c) { return kByteClasses.Has(c, ByteClasses::kDigit); }

// Characters a tag or attribute name may continue with.
inline bool IsNameChar(char c) {
  return kByteClasses.Has(c, ByteClasses::kLetter | ByteClasses::kDigit |
                                 ByteClasses::kNamePunctuation);
}

inline bool IsLeadByte(char c) { return (static_cast<unsigned char>(c) & 0x80) != 0; }

// The next character after p. A lead byte steps over its trail byte, except
// when the trail would be the terminating NUL: then it is one byte, so no
// caller ever walks past the end of the text. At the NUL itself p stays.
inline const char* NextChar(const char* p) {
  if (*p == '\0') return p;
  if (IsLeadByte(*p) && p[1] != '\0') return p + 2;
  return p + 1;
}

inline const char* SkipWhiteSpace(const char* p) {
  while (IsWhiteSpace(*p)) ++p;
  return p;
}

// The first character equal to c at or after p, stepping by character so a
// trail byte never matches; null when the text ends first.
inline const char* FindChar(const char* p, char c) {
  for (; *p != '\0'; p = NextChar(p)) {
    if (*p == c) return p;
  }
  return nullptr;
}

// The first byte at or after p and before end that is "<" or "&", or end.
// Character data runs long between them, so eight bytes are tested at once.
inline const char* FindMarkupStart(const char* p, const char* end) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kHigh = 0x8080808080808080u;
  auto holds = [](std::uint64_t word, unsigned char c) {
    const std::uint64_t x = word ^ (kOnes * c);
    return ((x - kOnes) & ~x & kHigh) != 0;
  };
  while (end - p >= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    if (holds(word, '<') || holds(word, '&')) break;
    p += 8;
  }
  while (p < end && *p != '<' && *p != '&') ++p;
  return p;
}

// FindChar for a reader that searches again and again from later and later
// starts in one text. When a start lies on the walk of the previous search,
// that search's answer holds for it as well, so an unclosed "<" repeated
// through a text costs one scan instead of one per "<".
class CharSearchMemo {
 public:
  explicit CharSearchMemo(char wanted) : Wanted(wanted) {}

  // FindChar(p, wanted). Within one text, starts must not go backwards
  // between calls unless Forget runs in between.
  const char* Find(const char* p) {
    // p lies on the last walk when that walk started at or before p, had not
    // stopped before p, and p follows a byte that always ends a character.
    const bool onLastWalk =
        From != nullptr && From <= p && (Found == nullptr || Found >= p) &&
        (From == p || !IsLeadByte(p[-1]));
    if (!onLastWalk) {
      From = p;
      Found = FindChar(p, Wanted);
    }
    return Found;
  }

  // Needed before searching another text.
  void Forget() { From = Found = nullptr; }

 private:
  char Wanted;
  const char* From = nullptr;
  const char* Found = nullptr;
};

}  // namespace html_text

#endif  // INKLINE_SRC_HTML_HTML_TEXT_H
