// Text conversion between the layer's UTF-8 and the library's code page 936.
#ifndef INKLINE_TOOLS_GBK_H
#define INKLINE_TOOLS_GBK_H

#include <string>

// Converts UTF-8 to GBK bytes. Characters GBK cannot represent become '?' and
// are counted in *unrepresentable (when given). Invalid UTF-8 is treated the
// same way, byte by byte.
std::string Utf8ToGbk(const std::string& utf8, int* unrepresentable = nullptr);

// Converts GBK bytes to UTF-8; bytes that do not decode become U+FFFD.
std::string GbkToUtf8(const std::string& gbk);

#endif  // INKLINE_TOOLS_GBK_H
