// A host built as a desktop GIS of the framework's era builds one: to
// Microsoft's conventions (clang for i686-pc-windows-msvc, linked by lld-link
// against inkline.lib and inkhost.lib), over the Windows SDK's own headers and
// the installed public headers, in C++03 as Visual C++ 2005 compiles it or in
// today's C++. With INKLINE_HOST_FRAMEWORK it is a host using the framework's
// shared library (_AFXDLL) that includes the library's headers before
// <afxwin.h>. It has no C runtime (no_crt.cpp): it writes through kernel32
// and exits with the number of failed checks.
#include <inkline/inkline.h>
#if defined(INKLINE_HOST_FRAMEWORK)
#include <afxwin.h>
#endif
#include <inkline/host/hostlib.h>

#include "host_support.h"

namespace {

using host::CountingDevice;
using host::SquareFontLib;

bool StartsWith(const char* text, const char* prefix) {
  for (; *prefix; ++text, ++prefix)
    if (*text != *prefix) return false;
  return true;
}

#if defined(INKLINE_HOST_FRAMEWORK)
typedef CDC WindowDC;  // the framework's own class
#else
// Laid out as the framework lays out its device context.
class WindowDC {
 public:
  WindowDC() : m_hDC(0), m_hAttribDC(0), m_bPrinting(FALSE) {}
  virtual int IsPrinting() const { return m_bPrinting; }
  HDC m_hDC;
  HDC m_hAttribDC;
  BOOL m_bPrinting;
};
#endif

// Storage for a string object the host constructs itself.
union {
  double align;
  unsigned char bytes[sizeof(CMapString)];
} storage;

}  // namespace

// The placement form of new, which a host without a C++ library declares.
inline void* operator new(size_t, void* place) throw() { return place; }

// Draws through the factory, the interface and a string object in the host's
// own storage, converts, and writes TrueType text through a window context.
extern "C" void __cdecl HostMain() {
  host::Checks Check;
  // Declarations a lean <windows.h> leaves out stay visible to the host.
  Check(sizeof(OPENFILENAMEA) > 0 && sizeof(SHFILEINFOA) > 0, "the full <windows.h>");

  SquareFontLib fonts;
  ScopedMapFontLib installed(&fonts);

  CountingDevice outlines(2);
  MapString* text = 0;
  Check(CreateMapString(&outlines, &text) == 1 && text != 0, "CreateMapString");
  if (text) {
    text->SetScale(1.0, 1.0, 1.0);
    Check(text->SetClipFlag(inkline::kClipToWindow) == 1, "SetClipFlag");
    char abc[] = "ABC";
    text->StringOut(abc, 100, 200, 40, 40, 0, inkline::kStyleUnderline, 30, 2,
                    inkline::kArrangementHorizontal, 0, 0, 0);
    Check(outlines.fills == 3 && outlines.lines == 1, "StringOut: three glyphs, one underline");
    char markup[] = "<body size=10><font color=2>AB</font></body>";
    D_RECT box = {10, 10, 300, 100};
    text->HTMLStringOut(markup, 0, 0, &box, 0);
    Check(outlines.fills == 5, "HTMLStringOut: two glyphs");
    text->Free();
  }

  // The exported constructor, fields read at the host's own offsets, a
  // member, the destructor.
  CMapString* own = new (storage.bytes) CMapString(&outlines);
  Check(own->ClipFlag == 1 && own->OutlineColor == 9 && own->LibType == 2 &&
            own->RationalDispMode == 0 && own->DeviceType == 2 && own->PathCap == 500,
        "CMapString's fields after construction");
  char ab[] = "AB";
  Check(own->GetStringRange(50, 60, 40, 40, ab, 0, 0, 0, 1.0, 0, 0) == 1, "GetStringRange");
  Check(own->RangePoly[0].x == 50 && own->RangePoly[0].y == 60 && own->RangePoly[2].x == 130 &&
            own->RangePoly[2].y == 100 && own->RangePoly[4].x == 50,
        "RangePoly");
  own->CMapString::~CMapString();

  char plain[] = "abc";
  const char* document = CvtStrToHTML(plain, 1, 2, 12.5, 3, 0.5f, 0, 4, 15.0f);
  Check(document != 0 && StartsWith(document, "<body"), "CvtStrToHTML");

  // TrueType text on a 128 x 64 window context.
  HDC memory = CreateCompatibleDC(0);
  HBITMAP bitmap = CreateBitmap(128, 64, 1, 32, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  PatBlt(memory, 0, 0, 128, 64, WHITENESS);
  WindowDC window;
  window.m_hDC = window.m_hAttribDC = memory;
  CountingDevice screen(0);
  screen.WinHeight = 64;
  screen.WinRect.xmax = 128;
  screen.WinRect.ymax = 64;
  screen.pWinDC = reinterpret_cast<CDC*>(&window);
  if (CreateMapString(&screen, &text) == 1 && text) {
    text->SetScale(1.0, 1.0, 1.0);
    char hi[] = "HI";
    text->StringOut(hi, 10, 20, 30, 30, 0, 0, 0, 0, 0, 0, 0, 0);
    text->Free();
  }
  int inked = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x) inked += GetPixel(memory, x, y) != RGB(255, 255, 255);
  Check(inked > 20 && screen.fills == 0, "TrueType text through the window context");
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);

  Check.Finish("host");
}
