#include "gbk.h"

#include <cstdio>

#include <inkline/host/gbk.h>
#include <inkline/shared/code_page.h>
#include <inkline/user_chars.h>

namespace {

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
    if (!shared::NextUtf8(utf8, &i, &cp)) {
      out += '?';
      ++*invalid;
      continue;
    }
    unsigned code = shared::CodePageCodeOf(cp);
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
  std::string named = std::string(name) + " ";
  shared::AppendUtf8(c, &named);
  return named;
}

std::string GbkToUtf8(const std::string& gbkText) { return gbk::ToUtf8(gbkText); }
