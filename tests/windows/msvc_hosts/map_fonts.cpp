// mapfonts.dll: the font and utility libraries of a host whose font and
// colour libraries are DLLs of their own. It exports the host's functions
// with __declspec(dllexport) on their definitions, so it declares them so
// too, through the library's own macro. Counts the library's calls into it.
#define INKLINE_HOSTLIB_API __declspec(dllexport)
#include <inkline/fontlib.h>
#include <inkline/host/hostlib.h>

namespace {
MapFontLib* installed = 0;
long libraryCalls = 0;

int CharBytes(const char* p) { return (*p & 0x80) && p[1] ? 2 : 1; }
}  // namespace

INKLINE_HOSTLIB_API MapFontLib* INKLINE_CALL GetMapFontLib() {
  ++libraryCalls;
  return installed;
}

INKLINE_HOSTLIB_API MapFontLib* INKLINE_CALL SetMapFontLib(MapFontLib* lib) {
  MapFontLib* previous = installed;
  installed = lib;
  return previous;
}

INKLINE_HOSTLIB_API int INKLINE_CALL StringCNum(const char* text) {
  int count = 0;
  for (const char* p = text; p && *p; p += CharBytes(p)) ++count;
  return count;
}

// The advances over the 40-unit grid; a column is one cell a character.
INKLINE_HOSTLIB_API double INKLINE_CALL StringLength(char* str, short fontNo, char arrangement,
                                                       MapFontLib* lib) {
  ++libraryCalls;
  if (!str) return 0.0;
  if (arrangement != 0) return StringCNum(str);
  MapFont* font = 0;
  if (!lib) lib = installed;
  if (lib) lib->GetFontByNo(fontNo, &font);
  if (!font) return 0.0;
  double total = 0.0;
  for (char* p = str; *p; p += CharBytes(p)) total += font->CharLength(p);
  return total / 40.0;
}

extern "C" __declspec(dllexport) long __cdecl FontLibraryCalls() { return libraryCalls; }
