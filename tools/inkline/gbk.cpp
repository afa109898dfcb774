#include "gbk.h"

#include <inkline/host/gbk.h>

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

}  // namespace

std::string Utf8ToGbk(const std::string& utf8, int* unrepresentable) {
  if (unrepresentable) *unrepresentable = 0;
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    if (!NextCodePoint(utf8, i, &cp)) {
      out += '?';
      if (unrepresentable) ++*unrepresentable;
      continue;
    }
    const unsigned code = cp < 0x80 ? cp : gbk::FromUnicode(cp);
    if (code == 0 && cp != 0) {
      out += '?';
      if (unrepresentable) ++*unrepresentable;
    } else if (code > 0xFF) {
      out += static_cast<char>(code >> 8);
      out += static_cast<char>(code & 0xFF);
    } else {
      out += static_cast<char>(code);
    }
  }
  return out;
}

std::string GbkToUtf8(const std::string& gbkText) { return gbk::ToUtf8(gbkText); }
