// The host's double-byte code page (936, GBK) beside Unicode, through iconv.
#ifndef INKLINE_HOST_GBK_H
#define INKLINE_HOST_GBK_H

#include <string>

namespace gbk {

// Bytes of the character at ch: 2 when the first byte has its high bit set
// and a second byte follows, else 1 (0 at the terminating NUL).
int CharBytes(const char* ch);

// The character code at ch: the byte itself, or lead << 8 | trail.
unsigned Code(const char* ch);

// The Unicode code point of a character code; 0 when the code page has no
// such character.
char32_t ToUnicode(unsigned code);

// The character code of a Unicode code point; 0 when GBK cannot represent it.
unsigned FromUnicode(char32_t codePoint);

// Converts UTF-8 text to GBK bytes. Returns false, with *out in no useful
// state, when the text is not UTF-8 or holds a character GBK cannot represent.
bool FromUtf8(const std::string& utf8, std::string* out);

// Converts GBK bytes to UTF-8; a byte sequence GBK does not define becomes
// U+FFFD.
std::string ToUtf8(const std::string& gbkText);

// Splits UTF-8 text into code points; false on malformed text.
bool DecodeUtf8(const std::string& utf8, std::u32string* out);

}  // namespace gbk

#endif  // INKLINE_HOST_GBK_H
