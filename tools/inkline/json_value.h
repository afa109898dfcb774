// A read-only JSON value laid out flat: one token per value, a container's
// members following it in order, so a whole feature is one array that is
// reused from feature to feature. Strings are views into the layer's text
// (or into the document's own copy when they had escapes to decode).
#ifndef INKLINE_TOOLS_JSON_VALUE_H
#define INKLINE_TOOLS_JSON_VALUE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class JsonValue {
 public:
  // Whole numbers keep their kind as written: Integer for negative ones,
  // Unsigned otherwise; anything with a fraction or exponent, or beyond
  // 64 bits, is Float.
  enum class Kind : std::uint8_t { Null, False, True, Integer, Unsigned, Float, String, Array, Object };

  Kind kind() const { return kind_; }
  bool IsNull() const { return kind_ == Kind::Null; }
  bool IsBool() const { return kind_ == Kind::False || kind_ == Kind::True; }
  bool IsNumber() const { return kind_ >= Kind::Integer && kind_ <= Kind::Float; }
  bool IsWhole() const { return kind_ == Kind::Integer || kind_ == Kind::Unsigned; }
  bool IsFloat() const { return kind_ == Kind::Float; }
  bool IsString() const { return kind_ == Kind::String; }
  bool IsArray() const { return kind_ == Kind::Array; }
  bool IsObject() const { return kind_ == Kind::Object; }

  bool Bool() const { return kind_ == Kind::True; }
  // Any number as a double (whole numbers converted as a cast would).
  double Number() const;
  // A whole number as a signed 64-bit value (an unsigned one wraps).
  long long Whole() const { return kind_ == Kind::Unsigned ? static_cast<long long>(u_) : i_; }
  unsigned long long UnsignedWhole() const { return u_; }
  std::string_view String() const { return {str_, len_}; }
  bool Is(std::string_view text) const { return IsString() && String() == text; }

  // Elements of an array, members of an object; 0 for anything else.
  std::size_t Size() const { return IsArray() || IsObject() ? len_ : 0; }
  // The element at index (index < Size()), walking the array.
  const JsonValue& operator[](std::size_t index) const;
  // The value of the object's last member named key (as a parser keeping
  // the last of duplicate keys would), or null.
  const JsonValue* Find(std::string_view key) const;

  // The value after this one and everything inside it.
  const JsonValue* Next() const { return this + span_; }
  // The first element (an array) or first key (an object).
  const JsonValue* First() const { return this + 1; }

  static JsonValue Scalar(Kind kind) {
    JsonValue v;
    v.kind_ = kind;
    return v;
  }

 private:
  friend class JsonDoc;
  union {
    const char* str_ = nullptr;
    double d_;
    long long i_;
    unsigned long long u_;
  };
  std::size_t len_ = 0;       // a string's length, a container's elements or members
  std::uint32_t span_ = 1;   // tokens in the value, itself included
  Kind kind_ = Kind::Null;
};

// The tokens of one value and the decoded strings they point into. Clear
// keeps the memory, so a document reused for each feature stops allocating.
class JsonDoc {
 public:
  JsonDoc() = default;
  JsonDoc(const JsonDoc&) = delete;
  JsonDoc& operator=(const JsonDoc&) = delete;
  JsonDoc(JsonDoc&&) = default;
  JsonDoc& operator=(JsonDoc&&) = default;

  void Clear() {
    tokens_.clear();
    decoded_.clear();
    decodedTokens_.clear();
  }
  bool Empty() const { return tokens_.empty(); }
  const JsonValue& Root() const { return tokens_.front(); }

  // Building, in document order. Each token is written in place: a token
  // built apart and copied in is read back before its parts are stored.
  void Add(JsonValue::Kind kind) { Start(kind); }
  void Add(double d) { Start(JsonValue::Kind::Float).d_ = d; }
  void Add(long long i) { Start(JsonValue::Kind::Integer).i_ = i; }
  void AddUnsigned(unsigned long long u) { Start(JsonValue::Kind::Unsigned).u_ = u; }
  // A string that stays where it is for as long as the document is read.
  void AddView(const char* text, std::size_t length) {
    JsonValue& v = Start(JsonValue::Kind::String);
    v.str_ = text;
    v.len_ = length;
  }
  // Adds a string the document keeps a copy of (text with escapes decoded).
  void AddOwnString(std::string_view text);
  // The scratch a decoded string is written into before AddDecoded.
  std::vector<char>& DecodeBuffer() { return decoded_; }
  // Adds the string decoded_[from, end).
  void AddDecoded(std::size_t from);
  // A container starts; returns its token's place for Close.
  std::size_t Open(JsonValue::Kind kind) {
    Add(kind);
    return tokens_.size() - 1;
  }
  void Close(std::size_t at, std::size_t count) {
    tokens_[at].len_ = count;
    tokens_[at].span_ = static_cast<std::uint32_t>(tokens_.size() - at);
  }
  // Points decoded strings at their text once it has stopped moving.
  void Finish();

 private:
  JsonValue& Start(JsonValue::Kind kind) {
    JsonValue& v = tokens_.emplace_back();
    v.kind_ = kind;
    return v;
  }

  std::vector<JsonValue> tokens_;
  // A vector, not a string: moving the document keeps its strings in place.
  std::vector<char> decoded_;
  std::vector<std::size_t> decodedTokens_;  // tokens whose str_ is an offset into decoded_
};

// An empty object, for a feature without properties.
const JsonValue& EmptyJsonObject();

#endif  // INKLINE_TOOLS_JSON_VALUE_H
