// Code page 936 to Unicode through iconv.
#include "code_page.h"

#include <cerrno>
#include <cstdint>
#include <iconv.h>

#include <inkline/user_chars.h>

namespace gdi {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// An iconv descriptor from the code page to UTF-32 (host order), closed when
// it goes out of scope. glibc knows the code page as CP936; GBK is the same
// but for the euro sign at 0x80.
class CodePageDecoder {
 public:
  CodePageDecoder() {
    cd_ = iconv_open("UTF-32LE", "CP936");
    if (cd_ == reinterpret_cast<iconv_t>(-1)) cd_ = iconv_open("UTF-32LE", "GBK");
  }
  ~CodePageDecoder() {
    if (ok()) iconv_close(cd_);
  }
  CodePageDecoder(const CodePageDecoder&) = delete;
  CodePageDecoder& operator=(const CodePageDecoder&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Back to the initial state, whatever an earlier conversion left.
  void Reset() {
    if (ok()) iconv(cd_, nullptr, nullptr, nullptr, nullptr);
  }

  // Converts as much as it can; returns false at an invalid or cut-off
  // sequence, leaving in and left at its first byte.
  bool Convert(char** in, size_t* left, std::u32string* out) {
    char buffer[256];
    while (*left > 0) {
      char* to = buffer;
      size_t room = sizeof buffer;
      const size_t r = iconv(cd_, in, left, &to, &room);
      Append(buffer, static_cast<size_t>(to - buffer), out);
      if (r == static_cast<size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
  }

 private:
  static void Append(const char* utf32le, size_t bytes, std::u32string* out) {
    for (size_t i = 0; i + 4 <= bytes; i += 4) {
      const auto* b = reinterpret_cast<const unsigned char*>(utf32le + i);
      out->push_back(static_cast<char32_t>(b[0] | b[1] << 8 | b[2] << 16 |
                                           static_cast<uint32_t>(b[3]) << 24));
    }
  }

  iconv_t cd_;
};

void AppendUtf8(char32_t c, std::string* out) {
  if (c < 0x80) {
    out->push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (c >> 6)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (c >> 12)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (c >> 18)));
    out->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

std::u32string DecodeCodePage(const char* bytes, int count) {
  std::u32string out;
  if (!bytes || count <= 0) return out;
  // Opening a converter costs more than most texts take to convert: each
  // thread keeps one.
  thread_local CodePageDecoder decoder;
  decoder.Reset();
  if (!decoder.ok()) {
    // Without the converter only ASCII is known.
    for (int i = 0; i < count; ++i) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      out.push_back(b < 0x80 ? b : kReplacement);
    }
    return out;
  }
  char* in = const_cast<char*>(bytes);
  size_t left = static_cast<size_t>(count);
  while (!decoder.Convert(&in, &left, &out)) {
    // A code of the user-defined areas stands for the character assigned to it.
    const char32_t user = left >= 2 ? InklineUserCharOf(static_cast<unsigned char>(in[0]) << 8 |
                                                        static_cast<unsigned char>(in[1]))
                                    : 0;
    out.push_back(user ? user : kReplacement);
    in += user ? 2 : 1;
    left -= user ? 2 : 1;
  }
  return out;
}

std::string CodePageToUtf8(const char* bytes) {
  std::string out;
  if (!bytes) return out;
  size_t n = 0;
  while (bytes[n] != '\0') ++n;
  for (char32_t c : DecodeCodePage(bytes, static_cast<int>(n))) AppendUtf8(c, &out);
  return out;
}

}  // namespace gdi
