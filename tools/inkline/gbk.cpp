#include "gbk.h"

#include <cstdio>

#include <inkline/host/gbk.h>
#include <inkline/user_chars.h>

namespace {

// Decodes one UTF-8 sequence at s[i]; false (consuming the bad byte and any
// continuation bytes after it) when it is not valid.
bool NextCodePoint(const std::string& s, size_t& i, char32_t* cp) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = byte(i);
  int extra = lead < 0x80 ? 0 : lead >= 0xF0 && lead < 0xF8 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 ? 1 : -1;
  if (lead >= 0x80 && lead < 0xC2) extra = -1;
  bool ok = extra >= 0 && i + static_cast<size_t>(extra) < s.size();
  char32_t value = extra == 0 ? lead : lead & (0x3F >> extra);
  for (int k = 1; ok && k <= extra; ++k) {
    if ((byte(i + static_cast<size_t>(k)) & 0xC0) != 0x80) ok = false;
    else value = (value << 6) | (byte(i + static_cast<size_t>(k)) & 0x3F);
  }
  if (!ok) {
    ++i;
    while (i < s.size() && (byte(i) & 0xC0) == 0x80) ++i;
    return false;
  }
  i += static_cast<size_t>(extra) + 1;
  *cp = value;
  return true;
}

std::string Utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

void AppendCode(unsigned code, std::string& out) {
  if (code > 0xFF) {
    out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
  } else {
    out += static_cast<char>(code);
  }
}

// The conversion itself; lacking(cp) gives the code of a character GBK
// lacks, 0 to replace it.
template <typename Lacking>
std::string Convert(const std::string& utf8, int* invalid, Lacking lacking) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    if (!NextCodePoint(utf8, i, &cp)) {
      out += '?';
      ++*invalid;
      continue;
    }
    unsigned code = cp < 0x80 ? cp : gbk::FromUnicode(cp);
    if (code == 0 && cp != 0) code = lacking(cp);
    if (code == 0 && cp != 0) code = '?';
    AppendCode(code, out);
  }
  return out;
}

}  // namespace

std::string Utf8ToGbk(const std::string& utf8, int* unrepresentable) {
  int lost = 0;
  std::string out = Convert(utf8, &lost, [&](char32_t) {
    ++lost;
    return 0u;
  });
  if (unrepresentable) *unrepresentable = lost;
  return out;
}

std::string Utf8ToGbkWithUserChars(const std::string& utf8, CodePageLosses* losses) {
  return Convert(utf8, &losses->invalid, [&](char32_t cp) {
    const unsigned code = InklineUserCharCode(cp);
    if (code == 0) ++losses->replaced[cp];
    return code;
  });
}

std::string NameOfCharacter(char32_t c) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
  if (c < 0x20 || c == 0x7F) return name;  // a control character would garble the message
  return std::string(name) + " " + Utf8Of(c);
}

std::string GbkToUtf8(const std::string& gbkText) { return gbk::ToUtf8(gbkText); }
