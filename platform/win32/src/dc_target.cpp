// Attaching a device context to the target it draws into, and what the font
// mapper reports about itself.
#include <algorithm>
#include <cstring>

#include <inkline/win32_fonts.h>
#include <inkline/win32_sink.h>

#include "font_cache.h"
#include "gdi_objects.h"

extern "C" {

BOOL InklineSetDCSink(HDC handle, GdiSink* sink) {
  gdi::TableLock hold(gdi::LockOf(handle));
  gdi::DC* dc = gdi::FindDC(handle);
  if (!dc) return FALSE;
  dc->sink = sink;
  return TRUE;
}

int InklineFontFileFor(const LOGFONTA* lf, char* path, int size) {
  if (path && size > 0) path[0] = '\0';
  if (!lf) return 0;
  gdi::FontCache& cache = gdi::FontCache::Instance();
  std::string file;
  {
    std::lock_guard<std::mutex> hold(cache.mutex());
    file = cache.FileFor(*lf);
  }
  if (path && size > 0) {
    const size_t n = std::min(file.size(), static_cast<size_t>(size - 1));
    std::memcpy(path, file.data(), n);
    path[n] = '\0';
  }
  return static_cast<int>(file.size());
}

int InklineGlyphFor(const LOGFONTA* lf, unsigned codePoint, InklineTextGlyph* out) {
  if (!lf || !out) return 0;
  // Which face has the glyph does not depend on the size or the turn: every
  // size asks at one, so the cache makes no size for each.
  LOGFONTA any = *lf;
  any.lfHeight = -32;
  any.lfWidth = 0;
  any.lfEscapement = any.lfOrientation = 0;
  gdi::FontCache& cache = gdi::FontCache::Instance();
  std::lock_guard<std::mutex> hold(cache.mutex());
  const gdi::TextFont* font = cache.TextFontFor(any);
  if (!font) return 0;
  gdi::SizedFace* from = font->face;
  unsigned index = from->IndexOf(codePoint);
  for (size_t i = 0; index == 0 && codePoint >= 0x20 && i < font->fallbacks.size(); ++i) {
    if (const unsigned there = font->fallbacks[i]->IndexOf(codePoint)) {
      from = font->fallbacks[i];
      index = there;
    }
  }
  *out = InklineTextGlyph{from->faceId(), index};
  return 1;
}

long InklineFontFileLoads(void) {
  gdi::FontCache& cache = gdi::FontCache::Instance();
  std::lock_guard<std::mutex> hold(cache.mutex());
  return cache.fileLoads();
}

}  // extern "C"
