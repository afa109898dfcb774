#include "markup/attr_value.h"

#include "markup/attr_number.h"
#include "markup/markup_text.h"

namespace {

bool IsLeadingSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Where the value of `name` begins in the tag text: after the next "=" (the
// whole tag text when there is none), leading white space skipped. The value
// runs to the first space; nothing that can read a number reads on past a
// space, so the number is read in place. Empty values give npos.
std::size_t AttrValueStart(const std::string& tagText, std::size_t namePos) {
  const std::size_t equals = FindInText(tagText, "=", namePos);
  std::size_t start = equals == std::string::npos ? 0 : equals + 1;
  while (start < tagText.size() && IsLeadingSpace(tagText[start])) ++start;
  return start < tagText.size() ? start : std::string::npos;
}

}  // namespace

template <typename T>
T GetAttrValue(const std::string& tagText, const char* name, short kind) {
  if (!name) return T(0);
  const std::size_t namePos = FindInText(tagText, name);
  if (namePos == std::string::npos) return T(0);
  const std::size_t start = AttrValueStart(tagText, namePos);
  if (start == std::string::npos) return T(0);
  const char* value = tagText.c_str() + start;
  if (kind == kAttrInteger) return NarrowMarkupInteger<T>(ReadMarkupInteger(value));
  if (kind == kAttrReal) return NarrowMarkupReal<T>(ReadMarkupReal(value));
  return T(0);
}

template int GetAttrValue<int>(const std::string&, const char*, short);
template float GetAttrValue<float>(const std::string&, const char*, short);
template double GetAttrValue<double>(const std::string&, const char*, short);
template char GetAttrValue<char>(const std::string&, const char*, short);
template short GetAttrValue<short>(const std::string&, const char*, short);
