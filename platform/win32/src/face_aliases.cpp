// The alias table. Song (Ming) faces map to AR PL UMing; the sans and
// calligraphic Chinese faces have no free twin installed, so they take the
// installed Chinese font after any better one that may be present; the
// common Latin faces map to their metric-compatible Liberation fonts.
#include "face_aliases.h"

#include <algorithm>
#include <cctype>

namespace gdi {
namespace {

const char* const kLastResort = "DejaVu Sans";

struct Alias {
  const char* face;  // as the host names it, UTF-8, compared without case
  std::vector<std::string> families;
};

const std::vector<std::string>& SongFamilies() {
  static const std::vector<std::string> f{"AR PL UMing CN", "AR PL UMing TW", "AR PL UMing HK"};
  return f;
}

std::vector<std::string> HeiFamilies() {
  std::vector<std::string> f{"Noto Sans CJK SC", "WenQuanYi Zen Hei", "WenQuanYi Micro Hei",
                             "Droid Sans Fallback"};
  f.insert(f.end(), SongFamilies().begin(), SongFamilies().end());
  return f;
}

std::vector<std::string> KaiFamilies() {
  std::vector<std::string> f{"AR PL UKai CN", "AR PL KaitiM GB"};
  f.insert(f.end(), SongFamilies().begin(), SongFamilies().end());
  return f;
}

const std::vector<Alias>& Table() {
  static const std::vector<Alias> table{
      // Song and Ming faces.
      {"\u5b8b\u4f53", SongFamilies()},                  // Song
      {"\u65b0\u5b8b\u4f53", SongFamilies()},            // New Song
      {"simsun", SongFamilies()},
      {"nsimsun", SongFamilies()},
      {"\u4eff\u5b8b", SongFamilies()},                  // FangSong
      {"\u4eff\u5b8b_gb2312", SongFamilies()},
      {"fangsong", SongFamilies()},
      {"fangsong_gb2312", SongFamilies()},
      {"\u534e\u6587\u5b8b\u4f53", SongFamilies()},      // ST Song
      {"\u534e\u6587\u4eff\u5b8b", SongFamilies()},      // ST FangSong
      {"stsong", SongFamilies()},
      {"stfangsong", SongFamilies()},
      {"\u7ec6\u660e\u4f53", SongFamilies()},            // Ming
      {"\u65b0\u7ec6\u660e\u4f53", SongFamilies()},
      {"mingliu", SongFamilies()},
      {"pmingliu", SongFamilies()},
      // Sans (Hei) faces.
      {"\u9ed1\u4f53", HeiFamilies()},                   // Hei
      {"simhei", HeiFamilies()},
      {"\u5fae\u8f6f\u96c5\u9ed1", HeiFamilies()},       // YaHei
      {"microsoft yahei", HeiFamilies()},
      {"\u5e7c\u5706", HeiFamilies()},                   // YouYuan
      {"youyuan", HeiFamilies()},
      {"\u534e\u6587\u7ec6\u9ed1", HeiFamilies()},       // ST XiHei
      {"stxihei", HeiFamilies()},
      // Calligraphic faces.
      {"\u6977\u4f53", KaiFamilies()},                   // Kai
      {"\u6977\u4f53_gb2312", KaiFamilies()},
      {"kaiti", KaiFamilies()},
      {"kaiti_gb2312", KaiFamilies()},
      {"\u534e\u6587\u6977\u4f53", KaiFamilies()},       // ST Kaiti
      {"stkaiti", KaiFamilies()},
      {"\u96b6\u4e66", KaiFamilies()},                   // LiSu
      {"lisu", KaiFamilies()},
      // Latin faces.
      {"arial", {"Liberation Sans"}},
      {"helvetica", {"Liberation Sans"}},
      {"microsoft sans serif", {"Liberation Sans"}},
      {"ms sans serif", {"Liberation Sans"}},
      {"arial narrow", {"Liberation Sans Narrow", "Liberation Sans"}},
      {"times new roman", {"Liberation Serif"}},
      {"times", {"Liberation Serif"}},
      {"ms serif", {"Liberation Serif"}},
      {"courier new", {"Liberation Mono"}},
      {"courier", {"Liberation Mono"}},
      {"tahoma", {"DejaVu Sans"}},
      {"verdana", {"DejaVu Sans"}},
      {"system", {"DejaVu Sans"}},
      {"consolas", {"DejaVu Sans Mono"}},
      {"lucida console", {"DejaVu Sans Mono"}},
      {"georgia", {"DejaVu Serif"}},
  };
  return table;
}

// Lower-cases ASCII letters only: the Chinese names have no case.
std::string Folded(const std::string& s) {
  std::string out = s;
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string Trimmed(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

}  // namespace

std::vector<std::string> FamiliesForFace(const std::string& faceUtf8) {
  std::string face = Trimmed(faceUtf8);
  // "@Face" is the vertical-writing variant of Face; the glyphs are the same.
  if (!face.empty() && face[0] == '@') face.erase(0, 1);
  std::vector<std::string> families;
  if (face.empty()) {
    // No name: the host's default face, Song.
    families = SongFamilies();
  } else {
    const std::string key = Folded(face);
    const auto& table = Table();
    auto hit = std::find_if(table.begin(), table.end(),
                            [&](const Alias& a) { return key == a.face; });
    if (hit != table.end())
      families = hit->families;
    else
      families.push_back(face);
  }
  if (std::find(families.begin(), families.end(), kLastResort) == families.end())
    families.push_back(kLastResort);
  return families;
}

const std::vector<std::string>& ChineseFallbackFamilies() {
  static const std::vector<std::string> f = HeiFamilies();
  return f;
}

}  // namespace gdi
