#include "gbk.h"

#include <cerrno>
#include <iconv.h>

namespace {

// One iconv conversion, going on past what it cannot convert: the bad input is
// skipped (step bytes) and `replacement` written in its place.
std::string Convert(const char* to, const char* from, const std::string& in,
                    const std::string& replacement, size_t step, int* failures) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return in;
  std::string out;
  out.reserve(in.size() * 2);
  char* src = const_cast<char*>(in.data());
  size_t left = in.size();
  char buffer[256];
  while (left > 0) {
    char* dst = buffer;
    size_t room = sizeof buffer;
    const size_t rc = iconv(cd, &src, &left, &dst, &room);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    if (rc != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ or EINVAL: skip one unconvertible character. In UTF-8 that is
    // its first byte and the continuation bytes after it.
    size_t skip = step ? step : 1;
    if (step == 0)
      while (skip < left && (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80) ++skip;
    if (skip > left) skip = left;
    src += skip;
    left -= skip;
    out += replacement;
    if (failures) ++*failures;
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::string Utf8ToGbk(const std::string& utf8, int* unrepresentable) {
  if (unrepresentable) *unrepresentable = 0;
  return Convert("GBK", "UTF-8", utf8, "?", 0, unrepresentable);
}

std::string GbkToUtf8(const std::string& gbk) {
  return Convert("UTF-8", "GBK", gbk, "\xEF\xBF\xBD", 1, nullptr);
}
