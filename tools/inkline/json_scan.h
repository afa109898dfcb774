// A strict reader of JSON text that hands over one value at a time: the
// caller walks the outer structure itself (skipping whitespace, taking keys
// and separators) and has each value it wants read whole into a JsonDoc.
// It accepts exactly standard JSON in UTF-8 with an optional byte order mark
// (a NUL byte between values ending the text):
// ill-formed UTF-8, raw control characters and bad escapes in strings, lone
// surrogates, and numbers beyond a double's range are refused.
#ifndef INKLINE_TOOLS_JSON_SCAN_H
#define INKLINE_TOOLS_JSON_SCAN_H

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>

#include "json_value.h"

// The text is not JSON; what() says what is wrong and where.
class JsonSyntaxError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A container starts at the nesting limit.
struct JsonTooDeep {};

class JsonScanner {
 public:
  // Told now and then, every few megabytes, how far the scanner has read.
  using Mark = std::function<void(const char* readUpTo)>;

  // Containers starting at nesting depth maxDepth or deeper are refused.
  JsonScanner(const char* begin, const char* end, int maxDepth, const Mark* mark = nullptr)
      : begin_(begin), p_(begin), end_(end), maxDepth_(maxDepth), mark_(mark), marked_(begin) {}

  // Steps over a byte order mark at the very start.
  void SkipByteOrderMark();
  // The next character after whitespace, or -1 at the end of the text (or
  // at a NUL byte, which ends it).
  int Peek() {
    if (p_ != end_ && static_cast<unsigned char>(*p_) > ' ') return static_cast<unsigned char>(*p_);
    return PeekPastSpace();
  }
  // Steps over the character Peek returned.
  void Advance() { ++p_; }
  // The next character after whitespace must be c; steps over it.
  void Expect(char c);
  // A member's name and its colon, the name decoded into name.
  void Key(std::string* name);
  // One whole value at nesting depth `depth`, its tokens appended to doc.
  void Value(JsonDoc& doc, int depth);
  // Asked at an object while an array is stepped over, the scanner standing
  // at its "{": whether it read the object after all (with Value).
  using ObjectReader = std::function<bool()>;
  // Steps over the array that starts here without reading it, adding to
  // *objects the objects directly inside it. Only strings and brackets are
  // followed: what lies between them is not checked (a reading does that).
  // Each of those objects is first offered to readObject, when given.
  void SkipArray(std::size_t* objects, const ObjectReader* readObject = nullptr);
  // Nothing but whitespace may follow.
  void ExpectEnd();
  // Tells the mark how far the text is read when it is due.
  void MarkProgress() {
    if (p_ - marked_ >= kMarkEvery) MarkNow();
  }

 private:
  static constexpr std::ptrdiff_t kMarkEvery = std::ptrdiff_t{8} << 20;

  void SkipSpace();
  int PeekPastSpace();
  void Object(JsonDoc& doc, int depth);
  void Array(JsonDoc& doc, int depth);
  void String(JsonDoc& doc);
  void DecodeRest(const char* from, JsonDoc& doc);
  // The messages of the cold paths, kept out of the loops that read.
  [[noreturn, gnu::noinline]] void ControlCharacter(bool suggestEscape) const;
  [[noreturn, gnu::noinline]] void UnexpectedInstead(char expected) const;
  void Escape(std::vector<char>& out);
  unsigned Hex4();
  void Utf8Sequences();
  void Utf8Sequence();
  void Number(JsonDoc& doc);
  double SlowDouble(const char* from);
  void Literal(const char* word, JsonValue::Kind kind, JsonDoc& doc);
  void MarkNow();
  [[noreturn]] void Fail(const char* at, const std::string& what) const;
  [[noreturn]] void Unexpected(const char* at, const char* expected) const;

  const char* const begin_;
  const char* p_;
  const char* const end_;
  const int maxDepth_;
  const Mark* mark_;
  const char* marked_;
};

#endif  // INKLINE_TOOLS_JSON_SCAN_H
