// The portable desktop's screen resolution, which a test changes to see what
// the library makes of it. Only the portable implementation has this.
#ifndef INKLINE_WIN32_SCREEN_H
#define INKLINE_WIN32_SCREEN_H

#include <inkline/win32.h>

#if !defined(_WIN32)

extern "C" {
// Sets the pixels per logical inch that GetDeviceCaps reports (LOGPIXELSX
// and LOGPIXELSY, any context) and returns the value set before; 96 at start.
// 0 stands for a system that reports no resolution.
INKLINE_WIN32_API int InklineSetScreenPixelsPerInch(int pixelsPerInch);
}

#endif  // !_WIN32

#endif  // INKLINE_WIN32_SCREEN_H
