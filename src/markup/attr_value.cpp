#include "markup/attr_value.h"

#include "markup/attr_number.h"
#include "markup/markup_scan.h"
#include "markup/markup_text.h"

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool IsLeadingSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Where the value of the name at namePos begins in the tag text: after the
// next "=" (the whole tag text when there is none), leading white space
// skipped. The value runs to the first space; nothing that can read a number
// reads on past a space, so the number is read in place. Empty values give
// npos. The "=" mostly follows the name at once: a walk finds it sooner
// than a search set up for long texts.
std::size_t AttrValueStart(std::string_view tagText, std::size_t namePos) {
  std::size_t equals = namePos;
  while (equals < tagText.size() && tagText[equals] != '=') equals += CharSizeAt(tagText, equals);
  std::size_t start = equals < tagText.size() ? equals + 1 : 0;
  while (start < tagText.size() && IsLeadingSpace(tagText[start])) ++start;
  return start < tagText.size() ? start : npos;
}

}  // namespace

template <typename T>
T AttrValueAt(std::string_view tagText, std::size_t namePos, short kind) {
  if (namePos == npos) return T(0);
  const std::size_t start = AttrValueStart(tagText, namePos);
  if (start == npos) return T(0);
  const char* value = tagText.data() + start;
  if (kind == kAttrInteger) return NarrowMarkupInteger<T>(ReadMarkupInteger(value));
  if (kind == kAttrReal) return NarrowMarkupReal<T>(ReadMarkupReal(value));
  return T(0);
}

template <typename T>
T GetAttrValue(const std::string& tagText, const char* name, short kind) {
  if (!name) return T(0);
  return AttrValueAt<T>(tagText, FindInText(tagText, name), kind);
}

template int GetAttrValue<int>(const std::string&, const char*, short);
template float GetAttrValue<float>(const std::string&, const char*, short);
template double GetAttrValue<double>(const std::string&, const char*, short);
template char GetAttrValue<char>(const std::string&, const char*, short);
template short GetAttrValue<short>(const std::string&, const char*, short);
template int AttrValueAt<int>(std::string_view, std::size_t, short);
template float AttrValueAt<float>(std::string_view, std::size_t, short);
template double AttrValueAt<double>(std::string_view, std::size_t, short);
template char AttrValueAt<char>(std::string_view, std::size_t, short);
template short AttrValueAt<short>(std::string_view, std::size_t, short);
