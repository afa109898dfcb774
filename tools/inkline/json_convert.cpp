#include "json_convert.h"

using nlohmann::json;

namespace {

using Kind = JsonValue::Kind;

void Add(const json& v, JsonDoc& doc) {
  switch (v.type()) {
    case json::value_t::boolean: return doc.Add(v.get<bool>() ? Kind::True : Kind::False);
    case json::value_t::number_integer: return doc.Add(v.get<long long>());
    case json::value_t::number_unsigned: return doc.AddUnsigned(v.get<unsigned long long>());
    case json::value_t::number_float: return doc.Add(v.get<double>());
    case json::value_t::string: return doc.AddOwnString(v.get_ref<const std::string&>());
    case json::value_t::array: {
      const std::size_t at = doc.Open(Kind::Array);
      for (const json& element : v) Add(element, doc);
      return doc.Close(at, v.size());
    }
    case json::value_t::object: {
      const std::size_t at = doc.Open(Kind::Object);
      for (const auto& [key, member] : v.items()) {
        doc.AddOwnString(key);
        Add(member, doc);
      }
      return doc.Close(at, v.size());
    }
    default: return doc.Add(Kind::Null);
  }
}

}  // namespace

JsonDoc ToJsonDoc(const json& value) {
  JsonDoc doc;
  Add(value, doc);
  doc.Finish();
  return doc;
}

json ToNlohmann(const JsonValue& v) {
  switch (v.kind()) {
    case Kind::Null: return nullptr;
    case Kind::False: return false;
    case Kind::True: return true;
    case Kind::Integer: return static_cast<json::number_integer_t>(v.Whole());
    case Kind::Unsigned: return static_cast<json::number_unsigned_t>(v.UnsignedWhole());
    case Kind::Float: return v.Number();
    case Kind::String: return std::string(v.String());
    case Kind::Array: {
      json array = json::array();
      for (const JsonValue* e = v.First(); array.size() < v.Size(); e = e->Next()) array.push_back(ToNlohmann(*e));
      return array;
    }
    case Kind::Object: break;
  }
  json object = json::object();
  const JsonValue* key = v.First();
  for (std::size_t i = 0; i < v.Size(); ++i, key = key[1].Next())
    object[std::string(key->String())] = ToNlohmann(key[1]);
  return object;
}
