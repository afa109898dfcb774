// The reference host's libraries beside the font library interface: how a
// host program or a test installs its font library as the process-wide one,
// and the utility library's character count.
#ifndef INKLINE_HOST_HOSTLIB_H
#define INKLINE_HOST_HOSTLIB_H

#include <inkline/export.h>
#include <inkline/fontlib.h>

// Installs lib as the object GetMapFontLib() returns (null uninstalls it);
// returns the one installed before.
INKLINE_HOSTLIB_API MapFontLib* INKLINE_CALL SetMapFontLib(MapFontLib* lib);

// Number of characters of a text, a two-byte character counting once. A lead
// byte right before the terminating NUL counts as one character.
INKLINE_HOSTLIB_API int INKLINE_CALL StringCNum(const char* text);

// Installs a font library for the life of a scope and puts the previous one back.
class ScopedMapFontLib {
 public:
  explicit ScopedMapFontLib(MapFontLib* lib) : previous_(SetMapFontLib(lib)) {}
  ~ScopedMapFontLib() { SetMapFontLib(previous_); }

 private:
  ScopedMapFontLib(const ScopedMapFontLib&);             // not copied
  ScopedMapFontLib& operator=(const ScopedMapFontLib&);  // not assigned
  MapFontLib* previous_;
};

#endif  // INKLINE_HOST_HOSTLIB_H
