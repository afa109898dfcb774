// The process-wide font library and the length and count helpers built on it.
#include <atomic>

#include <inkline/host/hostlib.h>
#include <inkline/shared/numeric.h>
#include <inkline/shared/text_units.h>

namespace {
std::atomic<MapFontLib*> processFontLib{nullptr};
}  // namespace

MapFontLib* GetMapFontLib() { return processFontLib.load(); }

MapFontLib* SetMapFontLib(MapFontLib* lib) { return processFontLib.exchange(lib); }

int StringCNum(const char* text) {
  if (!text) return 0;
  int count = 0;
  for (const char* p = text; *p; ++count) {
    p += shared::CharBytes(p);
  }
  return count;
}

// Horizontally, the sum of the advances over the design grid. In a column
// every character takes one cell, so the length is the character count.
double StringLength(char* str, short fontNo, char arrangement, MapFontLib* lib) {
  if (!str) return 0.0;
  if (arrangement != 0) return StringCNum(str);
  if (!lib) lib = GetMapFontLib();
  if (!lib) return 0.0;
  MapFont* font = nullptr;
  lib->GetFontByNo(fontNo, &font);
  if (!font) return 0.0;
  const double grid = shared::DesignGridFor(lib->GetLibType());
  double total = 0.0;
  for (char* p = str; *p;) {
    total += font->CharLength(p);
    p += shared::CharBytes(p);
  }
  return total / grid;
}
