// Reading attribute values from the text of a markup tag.
#ifndef INKLINE_SRC_MARKUP_ATTR_VALUE_H
#define INKLINE_SRC_MARKUP_ATTR_VALUE_H

#include <cstddef>
#include <string>
#include <string_view>

// Kinds of value GetAttrValue reads.
constexpr short kAttrInteger = 1;
constexpr short kAttrReal = 2;

// The value of attribute `name` in `tagText`, the lower-cased text of one tag
// from its "<" up to its ">". The name is found as a plain substring (a longer
// name containing it may shadow it); the value follows the next "=", leading
// white space skipped, up to the next space; quotes are not removed. Read as
// an integer (kAttrInteger) or a real (kAttrReal) and then converted to T.
// Reads 0 for a null or missing name, an empty value, or another kind.
// Instantiated for int, float, double, char and short.
template <typename T>
T GetAttrValue(const std::string& tagText, const char* name, short kind);

// GetAttrValue of the name found at namePos (npos: a missing name). The "="
// is looked for from namePos on, so a caller whose name is all ASCII and holds
// no "=" may pass the position just past the name. A NUL must follow tagText,
// as it follows a string's text.
template <typename T>
T AttrValueAt(std::string_view tagText, std::size_t namePos, short kind);

extern template int GetAttrValue<int>(const std::string&, const char*, short);
extern template float GetAttrValue<float>(const std::string&, const char*, short);
extern template double GetAttrValue<double>(const std::string&, const char*, short);
extern template char GetAttrValue<char>(const std::string&, const char*, short);
extern template short GetAttrValue<short>(const std::string&, const char*, short);
extern template int AttrValueAt<int>(std::string_view, std::size_t, short);
extern template float AttrValueAt<float>(std::string_view, std::size_t, short);
extern template double AttrValueAt<double>(std::string_view, std::size_t, short);
extern template char AttrValueAt<char>(std::string_view, std::size_t, short);
extern template short AttrValueAt<short>(std::string_view, std::size_t, short);

#endif  // INKLINE_SRC_MARKUP_ATTR_VALUE_H
