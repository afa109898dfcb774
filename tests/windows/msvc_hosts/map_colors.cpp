// mapcolors.dll: the colour library of a host whose font and colour
// libraries are DLLs of their own. It defines the host's function plainly,
// with nothing defined before the library's headers, and exports it from its
// link line. White is colour 8, anything else black (1). Counts the
// library's calls into it.
#include <inkline/colorlib.h>

namespace {
long libraryCalls = 0;
}  // namespace

int INKLINE_CALL GetColorNoByCOLORREF(COLORREF rgb, long& colorNo, void*) {
  ++libraryCalls;
  colorNo = rgb == RGB(255, 255, 255) ? 8 : 1;
  return 1;
}

extern "C" __declspec(dllexport) long __cdecl ColorLibraryCalls() { return libraryCalls; }
