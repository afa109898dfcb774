// The code page through iconv: every character is converted once, into a
// table, so that decoding afterwards is a lookup and gives the same answer on
// every thread. glibc knows the code page as CP936; GBK is the same but for
// the euro sign at 0x80.
#include <inkline/shared/code_page.h>

#include <iconv.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <vector>

#include <inkline/user_chars.h>

namespace shared {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr unsigned kFirstLead = 0x81, kLastLead = 0xFE;
constexpr unsigned kFirstTrail = 0x40, kLastTrail = 0xFE;
constexpr unsigned kTrails = kLastTrail - kFirstTrail + 1;

// An iconv descriptor for one direction, closed when it goes out of scope.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (Ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of in; false when iconv refuses any of it.
  bool Convert(const std::string& in, std::string* out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::vector<char> buffer(in.size() * 4 + 16);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = buffer.data();
    size_t dstLeft = buffer.size();
    if (iconv(cd_, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) return false;
    if (iconv(cd_, nullptr, nullptr, &dst, &dstLeft) == static_cast<size_t>(-1)) return false;
    out->assign(buffer.data(), buffer.size() - dstLeft);
    return true;
  }

 private:
  iconv_t cd_;
};

// The character of one code page character's bytes, 0 when iconv refuses.
char32_t ConvertOne(Converter& cd, const std::string& bytes) {
  std::string out;
  if (!cd.Convert(bytes, &out) || out.size() != 4) return 0;
  const auto* b = reinterpret_cast<const unsigned char*>(out.data());
  return static_cast<char32_t>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24);
}

struct CodeTable {
  std::array<char32_t, 0x80> single{};  // bytes 0x80-0xFF that stand alone
  std::vector<char32_t> pairs = std::vector<char32_t>((kLastLead - kFirstLead + 1) * kTrails, 0);
};

CodeTable BuildTable() {
  CodeTable table;
  Converter cp936("UTF-32LE", "CP936");
  Converter gbk("UTF-32LE", "GBK");
  Converter& cd = cp936.Ok() ? cp936 : gbk;
  if (!cd.Ok()) return table;  // without the converter only ASCII is known
  for (unsigned b = 0x80; b <= 0xFF; ++b)
    table.single[b - 0x80] = ConvertOne(cd, std::string(1, static_cast<char>(b)));
  std::string pair(2, '\0');
  for (unsigned lead = kFirstLead; lead <= kLastLead; ++lead)
    for (unsigned trail = kFirstTrail; trail <= kLastTrail; ++trail) {
      if (trail == 0x7F) continue;
      pair[0] = static_cast<char>(lead);
      pair[1] = static_cast<char>(trail);
      table.pairs[(lead - kFirstLead) * kTrails + (trail - kFirstTrail)] = ConvertOne(cd, pair);
    }
  return table;
}

const CodeTable& Table() {
  static const CodeTable table = BuildTable();
  return table;
}

}  // namespace

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

bool NextUtf8(const std::string& text, std::size_t* at, char32_t* c) {
  std::size_t& i = *at;
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  // C0 and C1 would only start overlong forms of ASCII.
  const int extra = lead < 0x80 ? 0 : lead >= 0xF8 ? -1 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2
                    : lead >= 0xC2 ? 1 : -1;
  bool ok = extra >= 0 && i + static_cast<std::size_t>(extra) < text.size();
  char32_t value = extra <= 0 ? lead : lead & (0x3F >> extra);
  for (int k = 1; ok && k <= extra; ++k) {
    const unsigned char next = byte(i + static_cast<std::size_t>(k));
    if ((next & 0xC0) != 0x80) ok = false;
    else value = (value << 6) | (next & 0x3F);
  }
  if (!ok) {
    ++i;
    while (i < text.size() && (byte(i) & 0xC0) == 0x80) ++i;
    return false;
  }
  i += static_cast<std::size_t>(extra) + 1;
  *c = value;
  return true;
}

char32_t CodePageChar(unsigned code) {
  if (code < 0x80) return code;
  const unsigned lead = code >> 8, trail = code & 0xFF;
  if (lead < kFirstLead || lead > kLastLead || trail < kFirstTrail || trail > kLastTrail)
    return 0;
  const char32_t c = Table().pairs[(lead - kFirstLead) * kTrails + (trail - kFirstTrail)];
  return c ? c : InklineUserCharOf(code);
}

std::u32string DecodeCodePage(const char* bytes, int count) {
  std::u32string out;
  if (!bytes || count <= 0) return out;
  const auto n = static_cast<std::size_t>(count);
  for (std::size_t i = 0; i < n;) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    char32_t c = b < 0x80 ? b : Table().single[b - 0x80];
    std::size_t used = 1;
    if (c == 0 && b >= 0x80 && i + 1 < n) {
      c = CodePageChar(b << 8 | static_cast<unsigned char>(bytes[i + 1]));
      used = 2;
    }
    if (c == 0 && b != 0) {
      c = kReplacement;  // a byte that starts no character stands alone
      used = 1;
    }
    out.push_back(c);
    i += used;
  }
  return out;
}

std::string CodePageToUtf8(const char* bytes) {
  std::string out;
  if (!bytes) return out;
  std::size_t n = 0;
  while (bytes[n] != '\0') ++n;
  for (char32_t c : DecodeCodePage(bytes, static_cast<int>(n))) AppendUtf8(c, &out);
  return out;
}

bool Utf8ToCodePage(const std::string& utf8, std::string* out) {
  out->clear();
  thread_local Converter cd("GBK", "UTF-8");
  return cd.Ok() && cd.Convert(utf8, out);
}

namespace {

unsigned EncodeThroughIconv(char32_t c) {
  std::string utf8, bytes;
  AppendUtf8(c, &utf8);
  if (!Utf8ToCodePage(utf8, &bytes) || bytes.size() != 2) return 0;
  return static_cast<unsigned char>(bytes[0]) << 8 | static_cast<unsigned char>(bytes[1]);
}

}  // namespace

unsigned CodePageCodeOf(char32_t c) {
  if (c < 0x80) return c;
  constexpr char32_t kBmp = 0x10000;
  if (c >= kBmp) return EncodeThroughIconv(c);
  // iconv costs far more per call than a character is worth in a long text:
  // each character of the plane is asked once, and every thread may learn
  // and read the answers (the same from any thread). Held as code + 1, so 0
  // is "not asked yet".
  static std::atomic<std::uint32_t> learnt[kBmp];
  std::uint32_t known = learnt[c].load(std::memory_order_relaxed);
  if (known == 0) {
    known = EncodeThroughIconv(c) + 1;
    learnt[c].store(known, std::memory_order_relaxed);
  }
  return known - 1;
}

}  // namespace shared
