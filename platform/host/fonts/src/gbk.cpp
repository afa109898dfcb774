// GBK decoding: a table of every two-byte code, built once through iconv, so
// that decoding a character afterwards is a lookup; encoding learns each
// character once.
#include <inkline/host/gbk.h>

#include <iconv.h>

#include <inkline/user_chars.h>

#include <atomic>
#include <cstdint>
#include <vector>

namespace gbk {

namespace {

constexpr unsigned kFirstLead = 0x81, kLastLead = 0xFE;
constexpr unsigned kFirstTrail = 0x40, kLastTrail = 0xFE;
constexpr unsigned kTrails = kLastTrail - kFirstTrail + 1;

// Converts `in` with a converter opened for one direction; false when iconv
// refuses any of it.
bool Convert(iconv_t cd, const std::string& in, std::string* out) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  out->clear();
  std::vector<char> buffer(in.size() * 4 + 16);
  char* src = const_cast<char*>(in.data());
  size_t srcLeft = in.size();
  char* dst = buffer.data();
  size_t dstLeft = buffer.size();
  if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) return false;
  if (iconv(cd, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1)) return false;
  out->assign(buffer.data(), buffer.size() - dstLeft);
  return true;
}

struct Converter {
  explicit Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
  ~Converter() {
    if (Ok()) iconv_close(cd);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool Ok() const { return cd != reinterpret_cast<iconv_t>(-1); }
  iconv_t cd;
};

const std::vector<char32_t>& DecodeTable() {
  static const std::vector<char32_t> table = [] {
    std::vector<char32_t> t((kLastLead - kFirstLead + 1) * kTrails, 0);
    Converter cd("UTF-32LE", "GBK");
    if (!cd.Ok()) return t;
    std::string in(2, '\0'), out;
    for (unsigned lead = kFirstLead; lead <= kLastLead; ++lead)
      for (unsigned trail = kFirstTrail; trail <= kLastTrail; ++trail) {
        if (trail == 0x7F) continue;
        in[0] = static_cast<char>(lead);
        in[1] = static_cast<char>(trail);
        if (!Convert(cd.cd, in, &out) || out.size() != 4) continue;
        const auto* b = reinterpret_cast<const unsigned char*>(out.data());
        t[(lead - kFirstLead) * kTrails + (trail - kFirstTrail)] =
            static_cast<char32_t>(b[0] | (b[1] << 8) | (b[2] << 16) |
                                  (static_cast<unsigned long>(b[3]) << 24));
      }
    return t;
  }();
  return table;
}

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

int CharBytes(const char* ch) {
  if (!ch || !ch[0]) return 0;
  return ((static_cast<unsigned char>(ch[0]) & 0x80) && ch[1]) ? 2 : 1;
}

unsigned Code(const char* ch) {
  if (CharBytes(ch) == 2)
    return (static_cast<unsigned char>(ch[0]) << 8) | static_cast<unsigned char>(ch[1]);
  return ch ? static_cast<unsigned char>(ch[0]) : 0;
}

char32_t ToUnicode(unsigned code) {
  if (code < 0x80) return code;
  const unsigned lead = code >> 8, trail = code & 0xFF;
  if (lead < kFirstLead || lead > kLastLead || trail < kFirstTrail || trail > kLastTrail)
    return 0;
  const char32_t c = DecodeTable()[(lead - kFirstLead) * kTrails + (trail - kFirstTrail)];
  return c ? c : InklineUserCharOf(code);  // a user-defined code: its assigned character
}

namespace {

unsigned EncodeThroughIconv(char32_t codePoint) {
  std::string utf8, bytes;
  AppendUtf8(codePoint, &utf8);
  if (!FromUtf8(utf8, &bytes) || bytes.size() != 2) return 0;
  return (static_cast<unsigned char>(bytes[0]) << 8) | static_cast<unsigned char>(bytes[1]);
}

}  // namespace

unsigned FromUnicode(char32_t codePoint) {
  if (codePoint < 0x80) return codePoint;
  constexpr char32_t kBmp = 0x10000;
  if (codePoint >= kBmp) return EncodeThroughIconv(codePoint);
  // iconv costs far more per call than a character is worth in a long text:
  // each character of the plane is asked once, and every thread may learn
  // and read the answers (the same from any thread). Held as code + 1, so 0
  // is "not asked yet".
  static std::atomic<std::uint32_t> learnt[kBmp];
  std::uint32_t known = learnt[codePoint].load(std::memory_order_relaxed);
  if (known == 0) {
    known = EncodeThroughIconv(codePoint) + 1;
    learnt[codePoint].store(known, std::memory_order_relaxed);
  }
  return known - 1;
}

bool FromUtf8(const std::string& utf8, std::string* out) {
  thread_local Converter cd("GBK", "UTF-8");
  return cd.Ok() && Convert(cd.cd, utf8, out);
}

std::string ToUtf8(const std::string& gbkText) {
  std::string out;
  for (size_t i = 0; i < gbkText.size();) {
    const int bytes = CharBytes(gbkText.c_str() + i);
    const char32_t c = ToUnicode(Code(gbkText.c_str() + i));
    AppendUtf8(c != 0 || gbkText[i] == 0 ? c : 0xFFFD, &out);
    i += bytes > 0 ? bytes : 1;
  }
  return out;
}

bool DecodeUtf8(const std::string& utf8, std::u32string* out) {
  out->clear();
  for (size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2
                : (b & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + extra >= utf8.size()) return false;
    char32_t c = extra == 0 ? b : (b & (0x3F >> extra));
    for (int k = 1; k <= extra; ++k) {
      const auto t = static_cast<unsigned char>(utf8[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      c = (c << 6) | (t & 0x3F);
    }
    out->push_back(c);
    i += 1 + extra;
  }
  return true;
}

}  // namespace gbk
