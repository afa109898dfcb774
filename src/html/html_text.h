// Byte classes and multibyte stepping shared by the markup parsers.
//
// Markup is a NUL-terminated byte string in the host's double-byte code page:
// a byte with the high bit set leads a two-byte character. Only ASCII bytes
// are ever white space, letters, digits or markup punctuation.
#ifndef INKLINE_SRC_HTML_HTML_TEXT_H
#define INKLINE_SRC_HTML_HTML_TEXT_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>

#include <inkline/shared/text_units.h>

#if defined(__SSE2__) && defined(__GNUC__)
#include <emmintrin.h>
#endif

// For the few helpers of a parse loop that must stay in it whatever the
// compiler makes of their size.
#if defined(__GNUC__)
#define INKLINE_HTML_ALWAYS_INLINE inline __attribute__((always_inline))
#elif defined(_MSC_VER)
#define INKLINE_HTML_ALWAYS_INLINE __forceinline
#else
#define INKLINE_HTML_ALWAYS_INLINE inline
#endif

namespace html_text {

// The byte classes below, one table lookup each: tags and attributes test
// every byte of their names and values.
class ByteClasses {
 public:
  enum : unsigned char {
    kWhiteSpace = 1,
    kLetter = 2,
    kDigit = 4,
    kNamePunctuation = 8,
    kLeadByte = 16,
    kNul = 32,
    kTagPunctuation = 64,  // "/" and ">"
    kQuote = 128,          // either quote
  };

  constexpr ByteClasses() {
    for (const char c : {' ', '\t', '\r', '\n', '\v', '\f'}) Set(c, kWhiteSpace);
    for (char c = 'a'; c <= 'z'; ++c) Set(c, kLetter);
    for (char c = 'A'; c <= 'Z'; ++c) Set(c, kLetter);
    for (char c = '0'; c <= '9'; ++c) Set(c, kDigit);
    for (const char c : {'-', '.', ':', '_'}) Set(c, kNamePunctuation);
    for (int b = 0x80; b <= 0xFF; ++b) Bits[b] |= kLeadByte;
    Set('\0', kNul);
    for (const char c : {'/', '>'}) Set(c, kTagPunctuation);
    for (const char c : {'"', '\''}) Set(c, kQuote);
  }

  constexpr bool Has(char c, unsigned char classes) const {
    return (Bits[static_cast<unsigned char>(c)] & classes) != 0;
  }

 private:
  constexpr void Set(char c, unsigned char bit) { Bits[static_cast<unsigned char>(c)] |= bit; }

  unsigned char Bits[256] = {};
};

inline constexpr ByteClasses kByteClasses{};

inline bool HasClass(char c, unsigned char classes) { return kByteClasses.Has(c, classes); }

// The bytes after an opening tag's name that let attributes follow it.
inline constexpr unsigned char kAttributesMayFollow =
    ByteClasses::kNul | ByteClasses::kWhiteSpace | ByteClasses::kTagPunctuation;

#if defined(__SSE2__) && defined(__GNUC__)
// Byte classes of 16 bytes at once: each byte of a result is 0xFF where the
// byte of v is of the class.
namespace lanes {

inline __m128i Is(__m128i v, char c) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(c)); }
// The unsigned range [lo, lo + n), moved to the signed one from -128.
inline __m128i InRange(__m128i v, int lo, int n) {
  return _mm_cmplt_epi8(_mm_add_epi8(v, _mm_set1_epi8(static_cast<char>(0x80 - lo))),
                        _mm_set1_epi8(static_cast<char>(-128 + n)));
}
inline __m128i Letters(__m128i v) { return InRange(_mm_or_si128(v, _mm_set1_epi8(0x20)), 'a', 26); }
// "-" to ":": "-", ".", "/", the digits and ":".
inline __m128i DigitsDotsSlash(__m128i v) { return InRange(v, '-', 14); }
inline __m128i WhiteSpace(__m128i v) { return _mm_or_si128(Is(v, ' '), InRange(v, '\t', 5)); }

}  // namespace lanes
#endif

// Space, tab, CR, LF, vertical tab and form feed.
inline bool IsWhiteSpace(char c) { return kByteClasses.Has(c, ByteClasses::kWhiteSpace); }

inline bool IsLetter(char c) { return kByteClasses.Has(c, ByteClasses::kLetter); }

inline bool IsDigit(char c) { return kByteClasses.Has(c, ByteClasses::kDigit); }

// Characters a tag or attribute name may continue with.
inline bool IsNameChar(char c) {
  return kByteClasses.Has(c, ByteClasses::kLetter | ByteClasses::kDigit |
                                 ByteClasses::kNamePunctuation);
}

using shared::IsLeadByte;

// The next character after p. A lead byte steps over its trail byte, except
// when the trail would be the terminating NUL: then it is one byte, so no
// caller ever walks past the end of the text. At the NUL itself p stays.
inline const char* NextChar(const char* p) {
  return *p == '\0' ? p : p + shared::CharBytes(p);
}

// The first byte at or after p that has one of the classes (when stopAt)
// or none of them. The walk must meet a byte that ends it before the text's
// NUL, or at the NUL itself. Four bytes a round: names and values are short,
// and a round's tests cost less than the loop around them.
template <bool stopAt>
inline const char* WalkClasses(const char* p, unsigned char classes) {
  for (;; p += 4) {
    if (HasClass(p[0], classes) == stopAt) return p;
    if (HasClass(p[1], classes) == stopAt) return p + 1;
    if (HasClass(p[2], classes) == stopAt) return p + 2;
    if (HasClass(p[3], classes) == stopAt) return p + 3;
  }
}

// Past the bytes of the classes at p; NUL is of none but kNul.
inline const char* SkipClasses(const char* p, unsigned char classes) {
  return WalkClasses<false>(p, classes);
}

// The first byte at or after p of one of the classes, which hold kNul.
inline const char* FindClasses(const char* p, unsigned char classes) {
  return WalkClasses<true>(p, classes);
}

// Past the name characters at p.
inline const char* SkipNameChars(const char* p) {
  return SkipClasses(p, ByteClasses::kLetter | ByteClasses::kDigit |
                            ByteClasses::kNamePunctuation);
}

// SkipNameChars for a text whose NUL stands at textEnd (null when not
// known). Where 16 bytes can be read they are classified at once: a name's
// end is then found without a guess at its length, which a walk byte by
// byte keeps getting wrong on names of mixed lengths.
inline const char* SkipNameCharsBefore(const char* p, const char* textEnd) {
#if defined(__SSE2__) && defined(__GNUC__)
  if (textEnd != nullptr && textEnd - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i name = _mm_or_si128(
        _mm_or_si128(lanes::Letters(v), lanes::Is(v, '_')),
        _mm_andnot_si128(lanes::Is(v, '/'), lanes::DigitsDotsSlash(v)));
    const unsigned other = ~static_cast<unsigned>(_mm_movemask_epi8(name)) & 0xFFFFu;
    return other != 0 ? p + __builtin_ctz(other) : SkipNameChars(p + 16);
  }
#endif
  static_cast<void>(textEnd);
  return SkipNameChars(p);
}

// Markup mostly holds no white space, or a single space, where it may
// stand: the first byte is tested before any loop.
inline const char* SkipWhiteSpace(const char* p) {
  if (!IsWhiteSpace(*p)) return p;
  while (IsWhiteSpace(*++p)) {
  }
  return p;
}

// memmove for the short names and values of markup: up to 16 bytes move as
// two loads and two stores (which may overlap), without a library call.
inline void MoveBytes(char* to, const char* from, std::size_t length) {
  auto move = [to, from, length](auto word) {
    decltype(word) head, tail;
    std::memcpy(&head, from, sizeof head);
    std::memcpy(&tail, from + length - sizeof tail, sizeof tail);
    std::memcpy(to, &head, sizeof head);
    std::memcpy(to + length - sizeof tail, &tail, sizeof tail);
  };
  if (length > 16) {
    std::memmove(to, from, length);
  } else if (length >= 8) {
    move(std::uint64_t{});
  } else if (length >= 4) {
    move(std::uint32_t{});
  } else if (length >= 2) {
    move(std::uint16_t{});
  } else if (length == 1) {
    *to = *from;
  }
}

// Replaces s with the bytes [begin, end), which may lie in s itself. Markup
// repeats its names and values, so the bytes are written over the string's
// own, and its length set, rather than through the general replace.
inline void AssignBytes(std::string& s, const char* begin, const char* end) {
  const std::size_t length = static_cast<std::size_t>(end - begin);
  const std::size_t size = s.size();
  if (length <= size) {
    MoveBytes(&s[0], begin, length);
    s.erase(length);
  } else if (length <= s.capacity()) {
    // Longer bytes cannot lie in s: overwrite, then grow within capacity.
    MoveBytes(&s[0], begin, size);
    if (length == size + 1) {
      s.push_back(end[-1]);
    } else {
      s.append(begin + size, length - size);
    }
  } else {
    s.assign(begin, length);
  }
}

// The first character equal to c at or after p, stepping by character so a
// trail byte never matches; null when the text ends first.
inline const char* FindChar(const char* p, char c) {
  for (; *p != '\0'; p = NextChar(p)) {
    if (*p == c) return p;
  }
  return nullptr;
}

// The first byte at or after p and before end that is a or b, or end. Bytes
// are compared sixteen (or eight) at a time: markup runs long between the
// bytes its parsers look for.
inline const char* FindEitherByte(const char* p, const char* end, char a, char b) {
#if defined(__SSE2__) && defined(__GNUC__)
  const __m128i wantA = _mm_set1_epi8(a);
  const __m128i wantB = _mm_set1_epi8(b);
  while (end - p >= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int hits = _mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi8(bytes, wantA), _mm_cmpeq_epi8(bytes, wantB)));
    if (hits != 0) return p + __builtin_ctz(static_cast<unsigned>(hits));
    p += 16;
  }
#else
  constexpr std::uint64_t kOnes = 0x0101010101010101u;
  constexpr std::uint64_t kHigh = 0x8080808080808080u;
  auto holds = [](std::uint64_t word, char c) {
    const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(c));
    return ((x - kOnes) & ~x & kHigh) != 0;
  };
  while (end - p >= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    if (holds(word, a) || holds(word, b)) break;
    p += 8;
  }
#endif
  while (p < end && *p != a && *p != b) ++p;
  return p;
}

// The first "<" or "&" at or after p and before end, or end.
inline const char* FindMarkupStart(const char* p, const char* end) {
  return FindEitherByte(p, end, '<', '&');
}

// Whether the byte at pos starts a character, for an ASCII byte in a text
// where from (at or before pos) starts one. A byte after an ASCII byte always
// starts a character, and lead bytes pair off from there, so the byte is a
// trail byte exactly when an odd run of high bytes stands right before it.
inline bool StartsCharacter(const char* from, const char* pos) {
  const char* runStart = pos;
  while (runStart > from && IsLeadByte(runStart[-1])) --runStart;
  return (pos - runStart) % 2 == 0;
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
