// A host whose font and colour libraries are DLLs of their own (mapfonts.dll,
// mapcolors.dll) loads an inkline.dll built to import each group of the
// host's functions from its own DLL, and draws: the library's calls reach
// both DLLs.
#include <inkline/inkline.h>
#include <inkline/host/hostlib.h>

#include "host_support.h"

extern "C" __declspec(dllimport) long __cdecl FontLibraryCalls();
extern "C" __declspec(dllimport) long __cdecl ColorLibraryCalls();

extern "C" void __cdecl HostMain() {
  host::Checks Check;
  host::SquareFontLib fonts;
  ScopedMapFontLib installed(&fonts);
  host::CountingDevice device(2);
  MapString* text = 0;
  CreateMapString(&device, &text);
  Check(text != 0, "CreateMapString");
  Check(FontLibraryCalls() > 0, "the font library's DLL gave the library its font library");
  if (text) {
    text->SetScale(1.0, 1.0, 1.0);
    const long before = FontLibraryCalls();
    char raised[] = "H#+2";
    text->StringOut(raised, 100, 200, 40, 40, 0, 0, 0, 0, 0, 0, 0, 0);
    Check(device.fills == 2, "StringOut: two glyphs");
    Check(FontLibraryCalls() > before, "the font library's DLL measured the pieces");
    char markup[] = "<body size=10>AB</body>";
    D_RECT box = {10, 10, 300, 100};
    text->HTMLStringOut(markup, 0, 0, &box, 0);
    Check(device.fills == 4, "HTMLStringOut: two glyphs");
    Check(ColorLibraryCalls() > 0, "the colour library's DLL gave the markup its colours");
    text->Free();
  }
  Check.Finish("split host");
}
