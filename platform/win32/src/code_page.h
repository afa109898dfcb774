// The host's double-byte code page (936, GBK) as Unicode.
#ifndef INKLINE_PLATFORM_WIN32_CODE_PAGE_H
#define INKLINE_PLATFORM_WIN32_CODE_PAGE_H

#include <string>

namespace gdi {

// The characters of count code page bytes. A byte that starts no valid
// character, or a lead byte cut off by the end, becomes U+FFFD, so every
// byte is accounted for.
std::u32string DecodeCodePage(const char* bytes, int count);

// A face name in code page bytes (NUL-terminated) as UTF-8.
std::string CodePageToUtf8(const char* bytes);

}  // namespace gdi

#endif  // INKLINE_PLATFORM_WIN32_CODE_PAGE_H
