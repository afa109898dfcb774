#include "json_scan.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using Kind = JsonValue::Kind;

// What a byte means inside a string.
enum : unsigned char { kPlain, kQuote, kBackslash, kControl, kMultiByte };

constexpr std::array<unsigned char, 256> StringClasses() {
  std::array<unsigned char, 256> classes{};
  for (int c = 0; c < 256; ++c)
    classes[static_cast<std::size_t>(c)] = c < 0x20 ? kControl : c >= 0x80 ? kMultiByte : kPlain;
  classes['"'] = kQuote;
  classes['\\'] = kBackslash;
  return classes;
}
constexpr std::array<unsigned char, 256> kStringClass = StringClasses();

unsigned char ClassOf(char c) { return kStringClass[static_cast<unsigned char>(c)]; }

// The first byte from p on that is not printable ASCII other than the
// quote and the backslash, or end: a string goes by many bytes at a time.
const char* SkipPlain(const char* p, const char* end) {
#if defined(__SSE2__)
  const __m128i quote = _mm_set1_epi8('"'), backslash = _mm_set1_epi8('\\'), space = _mm_set1_epi8(0x20);
  for (; end - p >= 16; p += 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    // Compared as signed bytes, those from 0x80 up are below the space too.
    const __m128i special = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, quote), _mm_cmpeq_epi8(x, backslash)),
                                         _mm_cmplt_epi8(x, space));
    if (const int mask = _mm_movemask_epi8(special)) return p + __builtin_ctz(static_cast<unsigned>(mask));
  }
#elif defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  // A flag can be set wrongly only above a byte rightly flagged, so the
  // lowest one is exact.
  constexpr std::uint64_t kOnes = 0x0101010101010101u, kHighs = 0x8080808080808080u;
  const auto hasZero = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
  for (; end - p >= 8; p += 8) {
    std::uint64_t x;
    std::memcpy(&x, p, sizeof x);
    const std::uint64_t below = (x - kOnes * 0x20) & ~x & kHighs;
    const std::uint64_t special =
        (x & kHighs) | below | hasZero(x ^ (kOnes * '"')) | hasZero(x ^ (kOnes * '\\'));
    if (special) return p + __builtin_ctzll(special) / 8;
  }
#endif
  while (p != end && ClassOf(*p) == kPlain) ++p;
  return p;
}

// Sixty-four bytes as skimming sees them: bit i of each mask says what
// byte i is.
struct SkimBlock {
  explicit SkimBlock(const char* p) {
#if defined(__SSE2__)
    for (int part = 0; part < 4; ++part) {
      const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
      const auto is = [&x](char c) { return _mm_cmpeq_epi8(x, _mm_set1_epi8(c)); };
      const auto bits = [part](__m128i m) {
        return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(m))) << (16 * part);
      };
      quotes |= bits(is('"'));
      backslashes |= bits(is('\\'));
      brackets |= bits(_mm_or_si128(_mm_or_si128(is('['), is(']')), _mm_or_si128(is('{'), is('}'))));
    }
#else
    for (int i = 0; i < 64; ++i) {
      const std::uint64_t bit = std::uint64_t{1} << i;
      const char c = p[i];
      if (c == '"') quotes |= bit;
      if (c == '\\') backslashes |= bit;
      if (c == '[' || c == ']' || c == '{' || c == '}') brackets |= bit;
    }
#endif
  }
  std::uint64_t quotes = 0, backslashes = 0, brackets = 0;
};

// Bit i set when an odd number of bits 0 to i are.
std::uint64_t PrefixXor(std::uint64_t x) {
  for (int shift = 1; shift < 64; shift *= 2) x ^= x << shift;
  return x;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsSpace(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

constexpr double kPowersOf10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

void AppendUtf8(std::vector<char>& out, unsigned cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

}  // namespace

void JsonScanner::SkipByteOrderMark() {
  if (p_ == end_ || static_cast<unsigned char>(*p_) != 0xEF) return;
  if (end_ - p_ < 3 || static_cast<unsigned char>(p_[1]) != 0xBB ||
      static_cast<unsigned char>(p_[2]) != 0xBF)
    Fail(p_, "a byte order mark must be EF BB BF");
  p_ += 3;
}

void JsonScanner::SkipSpace() {
  while (p_ != end_ && IsSpace(*p_)) ++p_;
}

// A NUL byte between values ends the text, as it ends a C string: what
// follows it is never read.
int JsonScanner::PeekPastSpace() {
  SkipSpace();
  return p_ == end_ || *p_ == '\0' ? -1 : static_cast<unsigned char>(*p_);
}

void JsonScanner::Expect(char c) {
  if (Peek() != static_cast<unsigned char>(c)) UnexpectedInstead(c);
  ++p_;
}

void JsonScanner::UnexpectedInstead(char c) const { Unexpected(p_, std::string{'\'', c, '\''}.c_str()); }

void JsonScanner::Key(std::string* name) {
  if (Peek() != '"') Unexpected(p_, "a member name");
  JsonDoc key;
  String(key);
  key.Finish();
  name->assign(key.Root().String());
  Expect(':');
}

void JsonScanner::ExpectEnd() {
  if (Peek() != -1) Unexpected(p_, "the end of the text");
}

void JsonScanner::Value(JsonDoc& doc, int depth) {
  switch (Peek()) {
    case '{': return Object(doc, depth);
    case '[': return Array(doc, depth);
    case '"': return String(doc);
    case 't': return Literal("true", Kind::True, doc);
    case 'f': return Literal("false", Kind::False, doc);
    case 'n': return Literal("null", Kind::Null, doc);
    case '-': case '0': case '1': case '2': case '3': case '4':
    case '5': case '6': case '7': case '8': case '9':
      return Number(doc);
    default:
      Unexpected(p_, "a value");
  }
}

void JsonScanner::Object(JsonDoc& doc, int depth) {
  if (depth >= maxDepth_) throw JsonTooDeep{};
  ++p_;
  const std::size_t at = doc.Open(Kind::Object);
  std::size_t members = 0;
  if (Peek() == '}') {
    ++p_;
    return doc.Close(at, 0);
  }
  for (;;) {
    if (Peek() != '"') Unexpected(p_, "a member name");
    String(doc);
    Expect(':');
    if (Peek() == '"')  // the most common member value, read without the dispatch
      String(doc);
    else
      Value(doc, depth + 1);
    ++members;
    MarkProgress();
    const int c = Peek();
    if (c == '}') break;
    if (c != ',') Unexpected(p_, "',' or '}'");
    ++p_;
  }
  ++p_;
  doc.Close(at, members);
}

void JsonScanner::Array(JsonDoc& doc, int depth) {
  if (depth >= maxDepth_) throw JsonTooDeep{};
  ++p_;
  const std::size_t at = doc.Open(Kind::Array);
  std::size_t elements = 0;
  if (Peek() == ']') {
    ++p_;
    return doc.Close(at, 0);
  }
  for (;;) {
    const int first = Peek();
    if ((first >= '0' && first <= '9') || first == '-')  // coordinates, read without the dispatch
      Number(doc);
    else
      Value(doc, depth + 1);
    ++elements;
    MarkProgress();
    const int c = Peek();
    if (c == ']') break;
    if (c != ',') Unexpected(p_, "',' or ']'");
    ++p_;
  }
  ++p_;
  doc.Close(at, elements);
}

// A string without escapes stays a view into the text; the first escape
// moves it to the document's own copy.
void JsonScanner::String(JsonDoc& doc) {
  const char* start = ++p_;
#if defined(__SSE2__)
  // Most strings are short and plain: the first byte of note among the
  // next sixteen is their closing quote.
  if (end_ - p_ >= 16) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p_));
    const unsigned quotes = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(x, _mm_set1_epi8('"'))));
    const unsigned special =
        quotes | static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(
                     _mm_cmpeq_epi8(x, _mm_set1_epi8('\\')), _mm_cmplt_epi8(x, _mm_set1_epi8(0x20)))));
    if (quotes & special & (0u - special)) {
      p_ += __builtin_ctz(special);
      doc.AddView(start, static_cast<std::size_t>(p_ - start));
      ++p_;
      return;
    }
  }
#endif
  for (;;) {
    p_ = SkipPlain(p_, end_);
    if (p_ == end_) Fail(p_, "the text ends inside a string");
    switch (ClassOf(*p_)) {
      case kQuote:
        doc.AddView(start, static_cast<std::size_t>(p_ - start));
        ++p_;
        return;
      case kBackslash: return DecodeRest(start, doc);
      case kControl: ControlCharacter(true);
      default: Utf8Sequences();
    }
  }
}

void JsonScanner::DecodeRest(const char* from, JsonDoc& doc) {
  std::vector<char>& out = doc.DecodeBuffer();
  const std::size_t first = out.size();
  const char* run = from;
  for (;;) {
    p_ = SkipPlain(p_, end_);
    if (p_ == end_) Fail(p_, "the text ends inside a string");
    switch (ClassOf(*p_)) {
      case kQuote:
        out.insert(out.end(), run, p_);
        ++p_;
        return doc.AddDecoded(first);
      case kBackslash:
        out.insert(out.end(), run, p_);
        Escape(out);
        run = p_;
        break;
      case kControl: ControlCharacter(false);
      default: Utf8Sequences();
    }
  }
}

void JsonScanner::ControlCharacter(bool suggestEscape) const {
  const std::string code = Hex(static_cast<unsigned char>(*p_), 4);
  Fail(p_, "control character U+" + code + " in a string" +
               (suggestEscape ? " (write it as \\u" + code + ")" : std::string()));
}

void JsonScanner::Escape(std::vector<char>& out) {
  const char* at = p_++;
  if (p_ == end_) Fail(p_, "the text ends inside a string");
  const char c = *p_++;
  switch (c) {
    case '"': case '\\': case '/': out.push_back(c); return;
    case 'b': out.push_back('\b'); return;
    case 'f': out.push_back('\f'); return;
    case 'n': out.push_back('\n'); return;
    case 'r': out.push_back('\r'); return;
    case 't': out.push_back('\t'); return;
    case 'u': break;
    default: Fail(at, "unknown escape in a string");
  }
  unsigned cp = Hex4();
  if (cp >= 0xDC00 && cp <= 0xDFFF) Fail(at, "lone low surrogate \\u" + Hex(cp, 4) + " in a string");
  if (cp >= 0xD800 && cp <= 0xDBFF) {
    if (end_ - p_ < 2 || p_[0] != '\\' || p_[1] != 'u')
      Fail(at, "high surrogate \\u" + Hex(cp, 4) + " without its low half in a string");
    p_ += 2;
    const unsigned low = Hex4();
    if (low < 0xDC00 || low > 0xDFFF)
      Fail(at, "high surrogate \\u" + Hex(cp, 4) + " without its low half in a string");
    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
  }
  AppendUtf8(out, cp);
}

unsigned JsonScanner::Hex4() {
  unsigned value = 0;
  for (int i = 0; i < 4; ++i, ++p_) {
    if (p_ == end_) Fail(p_, "the text ends inside a string");
    const char c = *p_;
    const int digit = IsDigit(c) ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                                           : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : -1;
    if (digit < 0) Fail(p_, "expected four hexadecimal digits after \\u");
    value = value * 16 + static_cast<unsigned>(digit);
  }
  return value;
}

// Well-formed UTF-8 sequences of two to four bytes, for as long as they
// follow one another: no overlong forms, no surrogates, nothing past U+10FFFF.
void JsonScanner::Utf8Sequences() {
  while (p_ != end_ && static_cast<unsigned char>(*p_) >= 0x80) Utf8Sequence();
}

void JsonScanner::Utf8Sequence() {
  const unsigned char lead = static_cast<unsigned char>(*p_);
  int more = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    more = 1;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    more = 2;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    more = 3;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    Fail(p_, "ill-formed UTF-8 in a string");
  }
  if (end_ - p_ <= more) Fail(p_, "ill-formed UTF-8 in a string");
  for (int i = 1; i <= more; ++i) {
    const unsigned char c = static_cast<unsigned char>(p_[i]);
    if (c < (i == 1 ? low : 0x80) || c > (i == 1 ? high : 0xBF)) Fail(p_, "ill-formed UTF-8 in a string");
  }
  p_ += more + 1;
}

// Whole numbers that fit 64 bits stay whole (signed when negative); any
// other number becomes the double nearest to it: exactly computed when the
// digits and the power of ten are both exact doubles, else by strtod.
void JsonScanner::Number(JsonDoc& doc) {
  const char* start = p_;
  const bool negative = *p_ == '-';
  if (negative) ++p_;
  if (p_ == end_ || !IsDigit(*p_)) Unexpected(p_, "a digit");
  // The digits as one integer, which cannot overflow before the twentieth.
  std::uint64_t digits = 0;
  int count = 0;
  const char* const integerStart = p_;
  if (*p_ == '0') ++p_;
  else
    for (; p_ != end_ && IsDigit(*p_); ++p_, ++count) digits = digits * 10 + static_cast<unsigned>(*p_ - '0');
  bool whole = true;
  long long exponent = 0;  // of ten: fraction digits count down, the exponent part adds
  if (p_ != end_ && *p_ == '.') {
    whole = false;
    if (++p_ == end_ || !IsDigit(*p_)) Unexpected(p_, "a digit after the decimal point");
    for (; p_ != end_ && IsDigit(*p_); ++p_, ++count, --exponent)
      digits = digits * 10 + static_cast<unsigned>(*p_ - '0');
  }
  bool overflow = count >= 20;
  if (overflow && whole) {  // twenty digits or more may still fit 64 bits
    digits = 0;
    overflow = false;
    for (const char* d = integerStart; d != p_ && !overflow; ++d)
      overflow = __builtin_mul_overflow(digits, 10u, &digits) ||
                 __builtin_add_overflow(digits, static_cast<unsigned>(*d - '0'), &digits);
  }
  if (p_ != end_ && (*p_ == 'e' || *p_ == 'E')) {
    whole = false;
    bool down = false;
    if (++p_ != end_ && (*p_ == '+' || *p_ == '-')) down = *p_++ == '-';
    if (p_ == end_ || !IsDigit(*p_)) Unexpected(p_, "a digit in the exponent");
    int e = 0;
    for (; p_ != end_ && IsDigit(*p_); ++p_) e = e < 100000 ? e * 10 + (*p_ - '0') : e;
    exponent += down ? -e : e;
  }
  if (whole && !overflow) {
    if (!negative) return doc.AddUnsigned(digits);
    if (digits <= std::uint64_t{1} << 63)
      return doc.Add(static_cast<long long>(0 - digits));
  }
  double d;
  if (!overflow && digits <= std::uint64_t{1} << 53 && exponent >= -22 && exponent <= 22) {
    d = static_cast<double>(digits);
    const std::size_t power = static_cast<std::size_t>(exponent < 0 ? -exponent : exponent);
    d = exponent < 0 ? d / kPowersOf10[power] : d * kPowersOf10[power];
    if (negative) d = -d;
  } else {
    d = SlowDouble(start);
  }
  if (!std::isfinite(d))
    throw JsonSyntaxError("number overflow parsing '" + std::string(start, p_) +
                          "' (beyond the range of a number)");
  doc.Add(d);
}

double JsonScanner::SlowDouble(const char* from) {
  const std::string text(from, p_);  // strtod needs the terminating NUL the text lacks
  return std::strtod(text.c_str(), nullptr);
}

void JsonScanner::Literal(const char* word, JsonValue::Kind kind, JsonDoc& doc) {
  const std::size_t n = std::strlen(word);
  if (static_cast<std::size_t>(end_ - p_) < n || std::memcmp(p_, word, n) != 0)
    Unexpected(p_, "a value");
  p_ += n;
  doc.Add(kind);
}

void JsonScanner::SkipArray(std::size_t* objects, const ObjectReader* readObject) {
  const char* const start = p_;
  int depth = 0;
  bool inString = false;
  bool escaped = false;  // the next byte is a string's escaped character
  bool read = false;     // an object was read: the stepping goes on after it
  // Follows one byte; true once the array has ended or an object was read.
  const auto follow = [&](const char* at) {
    const char c = *at;
    if (escaped) {
      escaped = false;
    } else if (inString) {
      if (c == '"') inString = false;
      else if (c == '\\') escaped = true;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      if (c == '{' && depth == 1) {
        ++*objects;
        if (readObject) {
          p_ = at;
          if ((*readObject)()) return read = true;
        }
      }
      if (++depth > maxDepth_) Fail(at, "nested too deeply");
    } else if (c == ']' || c == '}') {
      if (--depth == 0) {
        p_ = at + 1;
        return true;
      }
    }
    return false;
  };
  // Follows the bytes from p; true once the array has ended or an object was read.
  const auto stepFrom = [&](const char* p) {
    for (; end_ - p >= 64; p += 64) {
      const SkimBlock block(p);
      if (block.backslashes || escaped) {  // rare: escapes are followed a byte at a time
        for (int i = 0; i < 64; ++i)
          if (follow(p + i)) return true;
        continue;
      }
      // The bytes inside strings lie from an opening quote (itself included)
      // to the closing one: those after an odd number of quotes.
      const std::uint64_t inside = PrefixXor(block.quotes) ^ (inString ? ~std::uint64_t{0} : 0);
      inString = false;  // the brackets followed lie outside strings
      for (std::uint64_t brackets = block.brackets & ~inside; brackets; brackets &= brackets - 1)
        if (follow(p + __builtin_ctzll(brackets))) return true;
      inString = (inside >> 63) != 0;
    }
    for (; p != end_; ++p)
      if (follow(p)) return true;
    return false;
  };
  // An object is read from a "{" outside strings, so the stepping goes on
  // past it as it stood: in the array, outside any string.
  for (const char* from = p_; stepFrom(from); from = p_) {
    if (!read) return;
    read = false;
  }
  if (inString) Fail(end_, "the text ends inside a string");
  Fail(start, "the array never ends");
}

void JsonScanner::MarkNow() {
  if (mark_ && *mark_) (*mark_)(p_);
  marked_ = p_;
}

void JsonScanner::Fail(const char* at, const std::string& what) const {
  long long line = 1;
  const char* lineStart = begin_;
  for (const char* q = begin_; q < at;) {
    const void* newline = std::memchr(q, '\n', static_cast<std::size_t>(at - q));
    if (!newline) break;
    ++line;
    q = lineStart = static_cast<const char*>(newline) + 1;
  }
  throw JsonSyntaxError("line " + std::to_string(line) + ", column " +
                        std::to_string(at - lineStart + 1) + ": " + what);
}

void JsonScanner::Unexpected(const char* at, const char* expected) const {
  std::string found = "the end of the text";
  if (at != end_) {
    const unsigned char c = static_cast<unsigned char>(*at);
    found = c > 0x20 && c < 0x7F ? std::string{'\'', static_cast<char>(c), '\''} : "byte 0x" + Hex(c, 2);
  }
  Fail(at, std::string("expected ") + expected + ", found " + found);
}
