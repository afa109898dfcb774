// The Windows types and calls the library makes.
//
// On Windows this is <windows.h> itself. Elsewhere it declares a portable
// implementation of the same names (platform/win32/src), written to GDI's
// documented behaviour: handles are opaque pointers, LONG is 32 bits, and the
// structures have Windows' field order and sizes.
#ifndef INKLINE_WIN32_H
#define INKLINE_WIN32_H

#if defined(_WIN32)

// The host's own Windows headers, included as the host would include them
// and with nothing defined that the host did not ask for: a host using the
// framework in its shared library (_AFXDLL) gets them through <afxwin.h>,
// which refuses a <windows.h> included before it; any other through
// <windows.h>.
#if defined(_AFXDLL)
#include <afxwin.h>
#else
#include <windows.h>
#endif

// The library's own framework pieces are linked into each module that uses
// them, never exported.
#define INKLINE_WIN32_API

#else  // portable implementation

#include <stdint.h>  // C header: also readable by tools with no C++ library

#if defined(INKLINE_BUILDING_WIN32)
#define INKLINE_WIN32_API __attribute__((visibility("default")))
#else
#define INKLINE_WIN32_API
#endif

#define WINAPI

// Where long has 32 bits these are Windows' own types, so that C++ names
// built from them are the names Windows code gets.
#if __SIZEOF_LONG__ == 4
typedef long LONG;
typedef unsigned long DWORD;
#else
typedef int32_t LONG;
typedef uint32_t DWORD;
#endif
typedef uint16_t WORD;
typedef uint8_t BYTE;
typedef char CHAR;
typedef int BOOL;
typedef uint32_t UINT;
typedef DWORD COLORREF;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef void* LPVOID;
typedef int HFILE;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

typedef struct HGDIOBJ__* HGDIOBJ;
typedef struct HFONT__* HFONT;
typedef struct HPEN__* HPEN;
typedef struct HBRUSH__* HBRUSH;
typedef struct HDC__* HDC;
typedef struct HWND__* HWND;

typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT;

typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT;

#define LF_FACESIZE 32

typedef struct tagLOGFONTA {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA;

#define RGB(r, g, b) \
  ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) ((BYTE)(rgb))
#define GetGValue(rgb) ((BYTE)(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) ((BYTE)((rgb) >> 16))

// Font weights and character sets used by the library.
#define FW_NORMAL 400
#define FW_BOLD 700
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define GB2312_CHARSET 134

// Stock objects.
#define WHITE_BRUSH 0
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13
#define DEFAULT_GUI_FONT 17

// Background modes.
#define TRANSPARENT 1
#define OPAQUE 2

// Pen styles.
#define PS_SOLID 0
#define PS_NULL 5

// Device capabilities.
#define LOGPIXELSX 88
#define LOGPIXELSY 90

// Point types of a path.
#define PT_CLOSEFIGURE 0x01
#define PT_LINETO 0x02
#define PT_BEZIERTO 0x04
#define PT_MOVETO 0x06

// _llseek origins.
#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2
#define HFILE_ERROR ((HFILE)-1)

#define CLR_INVALID 0xFFFFFFFF
#define GDI_ERROR 0xFFFFFFFFu
#define HGDI_ERROR ((HGDIOBJ)(intptr_t)-1)

extern "C" {

// GDI objects (fonts, pens, brushes) and their selection into device contexts.
INKLINE_WIN32_API HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lf);
INKLINE_WIN32_API HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ obj);
INKLINE_WIN32_API BOOL WINAPI DeleteObject(HGDIOBJ obj);
INKLINE_WIN32_API HGDIOBJ WINAPI GetStockObject(int index);
INKLINE_WIN32_API int WINAPI GetObjectA(HGDIOBJ obj, int size, LPVOID out);
INKLINE_WIN32_API HGDIOBJ WINAPI GetCurrentObject(HDC dc, UINT type);
INKLINE_WIN32_API int WINAPI SetBkMode(HDC dc, int mode);
INKLINE_WIN32_API int WINAPI GetBkMode(HDC dc);
INKLINE_WIN32_API COLORREF WINAPI SetTextColor(HDC dc, COLORREF color);
INKLINE_WIN32_API COLORREF WINAPI GetTextColor(HDC dc);
INKLINE_WIN32_API COLORREF WINAPI SetBkColor(HDC dc, COLORREF color);
INKLINE_WIN32_API COLORREF WINAPI GetBkColor(HDC dc);
INKLINE_WIN32_API HPEN WINAPI CreatePen(int style, int width, COLORREF color);
// A memory device context; the portable implementation draws it into the
// target its owner attaches (inkline/win32_sink.h), or nowhere.
INKLINE_WIN32_API HDC WINAPI CreateCompatibleDC(HDC dc);
INKLINE_WIN32_API BOOL WINAPI DeleteDC(HDC dc);

// Text and paths.
INKLINE_WIN32_API BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
INKLINE_WIN32_API BOOL WINAPI BeginPath(HDC dc);
INKLINE_WIN32_API BOOL WINAPI EndPath(HDC dc);
INKLINE_WIN32_API int WINAPI GetPath(HDC dc, POINT* points, BYTE* types, int count);
INKLINE_WIN32_API BOOL WINAPI PolyDraw(HDC dc, const POINT* points, const BYTE* types, int count);
INKLINE_WIN32_API int WINAPI GetDeviceCaps(HDC dc, int index);

// The desktop window and its device context.
INKLINE_WIN32_API HWND WINAPI GetDesktopWindow(void);
INKLINE_WIN32_API HDC WINAPI GetDC(HWND window);
INKLINE_WIN32_API int WINAPI ReleaseDC(HWND window, HDC dc);
INKLINE_WIN32_API BOOL WINAPI PtInRect(const RECT* rect, POINT point);

// Files, by integer handle.
INKLINE_WIN32_API LONG WINAPI _llseek(HFILE file, LONG offset, int origin);
INKLINE_WIN32_API UINT WINAPI _lread(HFILE file, LPVOID buffer, UINT bytes);
// Reads up to `bytes` bytes at `offset` from the start of the file without
// using or moving the file position, so threads sharing one handle never
// disturb each other's reads. Returns the count read (fewer at the end of the
// file), or HFILE_ERROR as an unsigned value. Not a Windows call: the
// library's own, over pread here and ReadFile with an offset on Windows.
INKLINE_WIN32_API UINT WINAPI ReadFileAt(HFILE file, LONG offset, LPVOID buffer, UINT bytes);

}  // extern "C"

// Object types for GetCurrentObject.
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_FONT 6

#endif  // _WIN32

#endif  // INKLINE_WIN32_H
