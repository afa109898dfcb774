// The host kit's view of the code page: the library's own codec, under the
// names hosts use.
#include <inkline/host/gbk.h>

#include <inkline/label_codes.h>
#include <inkline/shared/code_page.h>
#include <inkline/shared/text_units.h>

namespace gbk {

int CharBytes(const char* ch) {
  if (!ch || !ch[0]) return 0;
  return static_cast<int>(shared::CharBytes(ch));
}

unsigned Code(const char* ch) { return ch ? shared::CharCode(ch) : 0; }

char32_t ToUnicode(unsigned code) { return shared::CodePageChar(code); }

unsigned FromUnicode(char32_t codePoint) { return shared::CodePageCodeOf(codePoint); }

bool FromUtf8(const std::string& utf8, std::string* out) {
  return shared::Utf8ToCodePage(utf8, out);
}

// Character by character: a lead byte takes its trail byte along even when
// the pair stands for nothing, so each such pair gives one U+FFFD. A code of
// a shaped cluster of the label being drawn gives the cluster's text.
std::string ToUtf8(const std::string& gbkText) {
  std::string out;
  for (size_t i = 0; i < gbkText.size();) {
    const char* ch = gbkText.c_str() + i;
    const char32_t c = ToUnicode(Code(ch));
    if (const inkline::ShapedCluster* cluster = inkline::ClusterOfChar(c))
      out += cluster->text;
    else
      shared::AppendUtf8(c != 0 || gbkText[i] == 0 ? c : 0xFFFD, &out);
    i += gbkText[i] != 0 ? shared::CharBytes(ch) : 1;
  }
  return out;
}

bool DecodeUtf8(const std::string& utf8, std::u32string* out) {
  out->clear();
  for (size_t i = 0; i < utf8.size();) {
    char32_t c = 0;
    if (!shared::NextUtf8(utf8, &i, &c)) return false;
    out->push_back(c);
  }
  return true;
}

}  // namespace gbk
