#include <inkline/host/synthetic_font_lib.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include <inkline/shared/text_units.h>

namespace {

// Counting calls is the only change a draw makes to a shared font or library.
std::mutex& CountLock() {
  static std::mutex lock;
  return lock;
}

// The flattened outline a call hands out: one per font and thread, so string
// objects on several threads can share a font; each stays valid until the
// same thread's next call on that font.
struct FlatOutline {
  std::vector<double> points;
  std::vector<int> sizes;
};
FlatOutline& FlatOutlineOf(const SyntheticFont* font) {
  thread_local std::map<const SyntheticFont*, FlatOutline> outlines;
  return outlines[font];
}

}  // namespace

unsigned SyntheticFont::Code(const char* ch) { return shared::CharCode(ch); }

short SyntheticFont::GetCharOutline(char* ch, double** points, int** partSizes, short* partCount,
                                    double height) {
  {
    std::lock_guard<std::mutex> hold(CountLock());
    ++outlineCalls;
    lastOutlineHeight = height;
  }
  const auto it = outlines.find(Code(ch));
  const std::vector<Contour>& contours = it != outlines.end() ? it->second : defaultOutline;
  FlatOutline& flat = FlatOutlineOf(this);
  flat.points.clear();
  flat.sizes.clear();
  for (const Contour& c : contours) {
    flat.sizes.push_back(static_cast<int>(c.size()));
    for (const auto& p : c) {
      flat.points.push_back(p.first);
      flat.points.push_back(p.second);
    }
  }
  *points = flat.points.data();
  *partSizes = flat.sizes.data();
  *partCount = static_cast<short>(flat.sizes.size());
  return 1;
}

double SyntheticFont::CharLength(char* ch) {
  const auto it = advances.find(Code(ch));
  return it != advances.end() ? it->second : defaultAdvance;
}

SyntheticFontLib::SyntheticFontLib() { AddFont(0, "Synthetic"); }

SyntheticFont& SyntheticFontLib::AddFont(short fontNo, const std::string& faceName) {
  auto& slot = fonts_[fontNo];
  if (!slot) slot = std::make_unique<SyntheticFont>();
  slot->faceName = faceName;
  return *slot;
}

SyntheticFont* SyntheticFontLib::Font(short fontNo) {
  const auto it = fonts_.find(fontNo);
  return it != fonts_.end() ? it->second.get() : nullptr;
}

short SyntheticFontLib::GetFontByName(char* faceName, MapFont** font) {
  *font = nullptr;
  if (!faceName) return 0;
  for (auto& entry : fonts_) {
    if (entry.second->faceName == faceName) {
      *font = entry.second.get();
      return 1;
    }
  }
  return 0;
}

short SyntheticFontLib::GetFontByNo(short fontNo, MapFont** font) {
  {
    std::lock_guard<std::mutex> hold(CountLock());
    ++getFontByNoCalls;
  }
  *font = Font(fontNo);
  return *font ? 1 : 0;
}

short SyntheticFontLib::GetFontNoByName(char* faceName) {
  if (!faceName) return unknownFontNo;
  for (auto& entry : fonts_)
    if (entry.second->faceName == faceName) return entry.first;
  return unknownFontNo;
}

short SyntheticFontLib::GetFontName(short fontNo, char** name) {
  if (!name || !*name) return 0;
  SyntheticFont* f = Font(fontNo);
  if (!f) {
    (*name)[0] = '\0';
    return 0;
  }
  const size_t kept = std::min<size_t>(f->faceName.size(), 63);  // the buffer holds 64
  std::memcpy(*name, f->faceName.data(), kept);
  (*name)[kept] = '\0';
  return 1;
}
