#include "markup/attr_value.h"

#include "markup/attr_number.h"
#include "markup/markup_text.h"

namespace {

bool IsLeadingSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The value text of `name`: after the next "=" (the whole tag text when there
// is none), leading white space skipped, cut at the first space.
std::string AttrValueText(const std::string& tagText, std::size_t namePos) {
  const std::size_t equals = FindInText(tagText, "=", namePos);
  std::size_t start = equals == std::string::npos ? 0 : equals + 1;
  while (start < tagText.size() && IsLeadingSpace(tagText[start])) ++start;
  const std::size_t space = FindInText(tagText, " ", start);
  const std::size_t end = space == std::string::npos ? tagText.size() : space;
  return tagText.substr(start, end - start);
}

}  // namespace

template <typename T>
T GetAttrValue(const std::string& tagText, const char* name, short kind) {
  if (!name) return T(0);
  const std::size_t namePos = FindInText(tagText, name);
  if (namePos == std::string::npos) return T(0);
  const std::string value = AttrValueText(tagText, namePos);
  if (value.empty()) return T(0);
  if (kind == kAttrInteger) return NarrowMarkupInteger<T>(ReadMarkupInteger(value.c_str()));
  if (kind == kAttrReal) return NarrowMarkupReal<T>(ReadMarkupReal(value.c_str()));
  return T(0);
}

template int GetAttrValue<int>(const std::string&, const char*, short);
template float GetAttrValue<float>(const std::string&, const char*, short);
template double GetAttrValue<double>(const std::string&, const char*, short);
template char GetAttrValue<char>(const std::string&, const char*, short);
template short GetAttrValue<short>(const std::string&, const char*, short);
