#include "json_value.h"

double JsonValue::Number() const {
  switch (kind_) {
    case Kind::Integer: return static_cast<double>(i_);
    case Kind::Unsigned: return static_cast<double>(u_);
    case Kind::Float: return d_;
    default: return 0;
  }
}

const JsonValue& JsonValue::operator[](std::size_t index) const {
  const JsonValue* v = First();
  for (std::size_t i = 0; i < index; ++i) v = v->Next();
  return *v;
}

const JsonValue* JsonValue::Find(std::string_view key) const {
  if (!IsObject()) return nullptr;
  const JsonValue* found = nullptr;
  const JsonValue* name = First();
  for (std::size_t i = 0; i < len_; ++i) {
    const JsonValue* value = name + 1;
    // The first byte before the whole compare: most names differ in it.
    if (name->len_ == key.size() && (key.empty() || (*name->str_ == key[0] && name->String() == key)))
      found = value;
    name = value->Next();
  }
  return found;
}

void JsonDoc::AddOwnString(std::string_view text) {
  const std::size_t from = decoded_.size();
  decoded_.insert(decoded_.end(), text.begin(), text.end());
  AddDecoded(from);
}

void JsonDoc::AddDecoded(std::size_t from) {
  decodedTokens_.push_back(tokens_.size());
  JsonValue& v = Start(JsonValue::Kind::String);
  v.u_ = from;  // an offset until Finish: the buffer may still move
  v.len_ = decoded_.size() - from;
}

void JsonDoc::Finish() {
  for (const std::size_t t : decodedTokens_) {
    JsonValue& v = tokens_[t];
    const std::size_t offset = static_cast<std::size_t>(v.u_);
    v.str_ = decoded_.data() + offset;
  }
  decodedTokens_.clear();
}

const JsonValue& EmptyJsonObject() {
  static const JsonValue empty = JsonValue::Scalar(JsonValue::Kind::Object);
  return empty;
}
