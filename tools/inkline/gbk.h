// Text conversion between the layer's UTF-8 and the library's code page 936.
#ifndef INKLINE_TOOLS_GBK_H
#define INKLINE_TOOLS_GBK_H

#include <map>
#include <string>

// Converts UTF-8 to GBK bytes. Characters GBK cannot represent become '?' and
// are counted in *unrepresentable (when given). Invalid UTF-8 is treated the
// same way, byte by byte.
std::string Utf8ToGbk(const std::string& utf8, int* unrepresentable = nullptr);

// What became of the characters GBK lacks in a conversion that gives them
// codes of the user-defined areas.
struct CodePageLosses {
  int invalid = 0;                     // bytes that were not UTF-8, drawn as '?'
  std::map<char32_t, int> replaced;    // characters beyond the user-defined codes, drawn as '?'
};

// Converts UTF-8 to GBK bytes, giving each character GBK lacks a code of the
// user-defined areas (see inkline/user_chars.h), so it is drawn as itself.
// Only when those codes run out is a character replaced by '?'.
std::string Utf8ToGbkWithUserChars(const std::string& utf8, CodePageLosses* losses);

// "U+00E3 ã": a character for messages.
std::string NameOfCharacter(char32_t c);

// Converts GBK bytes to UTF-8; bytes that do not decode become U+FFFD.
std::string GbkToUtf8(const std::string& gbk);

#endif  // INKLINE_TOOLS_GBK_H
