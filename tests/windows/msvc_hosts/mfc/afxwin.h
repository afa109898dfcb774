// A stand-in for the framework's <afxwin.h>, for the host-compile test: it
// makes the check the framework makes (its headers must include
// <windows.h> themselves, so a <windows.h> included before them is an error)
// and declares the device-context class as the framework lays it out.
#ifndef __AFXWIN_H__
#define __AFXWIN_H__

// <windows.h> defines _WINDOWS_ in the SDK, _INC_WINDOWS in Wine's headers.
#if defined(_WINDOWS_) || defined(_INC_WINDOWS)
#error WINDOWS.H already included.  MFC apps must not #include <windows.h>
#endif

#include <windows.h>

// The framework's device context: a table pointer (its objects are
// polymorphic), the output and attribute handles, the printing flag.
class CDC {
 public:
  CDC() : m_hDC(0), m_hAttribDC(0), m_bPrinting(FALSE) {}
  virtual int IsPrinting() const { return m_bPrinting; }

  HDC m_hDC;
  HDC m_hAttribDC;
  BOOL m_bPrinting;
};

#endif  // __AFXWIN_H__
