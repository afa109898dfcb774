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

bool IsDesktop(HWND window) {
  return !window || window == reinterpret_cast<HWND>(&desktopToken);
}

// The desktop's context, made by the first GetDC of the desktop and never
// deleted: every string drawn asks it for the screen's resolution, which
// must cost little and take no lock that drawing threads share. Until then
// no handle is it.
std::atomic<HDC> desktopDC{nullptr};

HDC DesktopDC() {
  static const HDC dc = [] {
    const HDC made = CreateCompatibleDC(nullptr);
    desktopDC.store(made, std::memory_order_release);
    return made;
  }();
  return dc;
}
}  // namespace

extern "C" {

int InklineSetScreenPixelsPerInch(int pixelsPerInch) {
  return screenPixelsPerInch.exchange(pixelsPerInch);
}

HWND WINAPI GetDesktopWindow(void) { return reinterpret_cast<HWND>(&desktopToken); }

// A context for the window's (or the screen's) client area: the desktop's
// own for the desktop, else a fresh one; the caller gives it back with
// ReleaseDC, which keeps the desktop's.
HDC WINAPI GetDC(HWND window) {
  return IsDesktop(window) ? DesktopDC() : CreateCompatibleDC(nullptr);
}

int WINAPI ReleaseDC(HWND window, HDC dc) {
  if (IsDesktop(window) && dc && dc == desktopDC.load(std::memory_order_acquire)) return 1;
  return DeleteDC(dc) ? 1 : 0;
}

int WINAPI GetDeviceCaps(HDC handle, int index) {
  if (!handle || handle != desktopDC.load(std::memory_order_acquire)) {
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
