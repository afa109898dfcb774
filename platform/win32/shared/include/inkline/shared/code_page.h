// The host's double-byte code page (936, GBK) beside Unicode, and UTF-8: the
// one codec every layer converts text with.
#ifndef INKLINE_SHARED_CODE_PAGE_H
#define INKLINE_SHARED_CODE_PAGE_H

#include <cstddef>
#include <string>

namespace shared {

// Appends code point c to out as UTF-8.
void AppendUtf8(char32_t c, std::string* out);

// Decodes the UTF-8 sequence at text[*at] into *c and steps *at past it.
// False at a sequence that is not UTF-8; *at then steps past the bad byte
// and any continuation bytes after it.
bool NextUtf8(const std::string& text, std::size_t* at, char32_t* c);

// The Unicode character of a two-byte code (lead << 8 | trail) or an ASCII
// byte; a code of the user-defined areas gives the character assigned to it.
// 0 when the code stands for no character.
char32_t CodePageChar(unsigned code);

// The characters of count code page bytes, as a converter reads a stream: a
// byte that starts no valid character, or a lead byte cut off by the end,
// becomes U+FFFD, so every byte is accounted for.
std::u32string DecodeCodePage(const char* bytes, int count);

// A NUL-terminated code page text (a face name, say) as UTF-8, read as
// DecodeCodePage reads it.
std::string CodePageToUtf8(const char* bytes);

// UTF-8 text as code page bytes. False, with *out in no useful state, when
// the text is not UTF-8 or holds a character the code page cannot represent.
bool Utf8ToCodePage(const std::string& utf8, std::string* out);

// The code page code of a code point; 0 when the code page lacks it.
unsigned CodePageCodeOf(char32_t c);

}  // namespace shared

#endif  // INKLINE_SHARED_CODE_PAGE_H
