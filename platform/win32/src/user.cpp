// The desktop window, its device context, device capabilities and PtInRect.
// The portable desktop is a screen of 96 pixels per logical inch unless a
// test sets another (inkline/win32_screen.h).
#include <inkline/win32.h>
#include <inkline/win32_screen.h>

#include <atomic>

#include "gdi_objects.h"

namespace {
std::atomic<int> screenPixelsPerInch{96};
int desktopToken;  // its address is the desktop window's handle
}  // namespace

extern "C" {

int InklineSetScreenPixelsPerInch(int pixelsPerInch) {
  return screenPixelsPerInch.exchange(pixelsPerInch);
}

HWND WINAPI GetDesktopWindow(void) { return reinterpret_cast<HWND>(&desktopToken); }

// A fresh context for the window's (or the screen's) client area; the caller
// gives it back with ReleaseDC.
HDC WINAPI GetDC(HWND) { return CreateCompatibleDC(nullptr); }

int WINAPI ReleaseDC(HWND, HDC dc) { return DeleteDC(dc) ? 1 : 0; }

int WINAPI GetDeviceCaps(HDC handle, int index) {
  {
    gdi::SharedTableLock hold(gdi::LockOf(handle));
    if (!gdi::FindDC(handle)) return 0;
  }
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
      return screenPixelsPerInch.load(std::memory_order_relaxed);
    default:
      return 0;
  }
}

// Inside when left <= x < right and top <= y < bottom.
BOOL WINAPI PtInRect(const RECT* rect, POINT point) {
  if (!rect) return FALSE;
  return point.x >= rect->left && point.x < rect->right && point.y >= rect->top &&
         point.y < rect->bottom;
}

}  // extern "C"
