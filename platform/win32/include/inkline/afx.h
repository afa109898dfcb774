// The few pieces of the Windows application framework the library uses: the
// application object, the device-context object that wraps a DC handle, and
// the module-state switch of exported functions.
//
// Where no framework exists these are small stand-ins with the same names and
// the behaviour the library relies on.
#ifndef INKLINE_AFX_H
#define INKLINE_AFX_H

#include <cstring>

#include <inkline/win32.h>

#if defined(INKLINE_HAS_MFC)
#include <afxwin.h>
#else

// A device context object: the framework's wrapper of an HDC, laid out as
// the framework lays it out (a table pointer, the output and attribute
// handles, the printing flag), because a host hands the library its own
// objects in DeviceDriver::pWinDC. The library reads their fields and never
// calls their virtual operations: the host's table is not this one.
class INKLINE_WIN32_API CDC {
 public:
  CDC() = default;
  explicit CDC(HDC dc) : m_hDC(dc), m_hAttribDC(dc) {}
  virtual ~CDC() = default;
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC m_hDC = nullptr;        // where output goes
  HDC m_hAttribDC = nullptr;  // where queries go; the same DC unless printing
  BOOL m_bPrinting = FALSE;

  // The object the framework maps to a handle; the same object for the same
  // handle, kept for the life of the process. Null for a null handle.
  static CDC* FromHandle(HDC dc);

  // The output and the attribute handle of dc, or null. A host's object is
  // the framework's, not this class, so its handles are read from the shared
  // layout (right after the table pointer) rather than through members of
  // this class.
  static HDC OutputHandle(const CDC* dc) { return HandleAt(dc, 1); }
  static HDC AttributeHandle(const CDC* dc) { return HandleAt(dc, 2); }

  int SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
  HGDIOBJ SelectObject(HGDIOBJ obj) { return ::SelectObject(m_hDC, obj); }
  BOOL TextOut(int x, int y, const char* text, int count) {
    return ::TextOutA(m_hDC, x, y, text, count);
  }
  BOOL BeginPath() { return ::BeginPath(m_hDC); }
  BOOL EndPath() { return ::EndPath(m_hDC); }
  int GetPath(POINT* points, BYTE* types, int count) {
    return ::GetPath(m_hDC, points, types, count);
  }
  BOOL PolyDraw(const POINT* points, const BYTE* types, int count) {
    return ::PolyDraw(m_hDC, points, types, count);
  }

 private:
  // The handle `words` pointer-sized words into the object.
  static HDC HandleAt(const CDC* dc, int words) {
    if (!dc) return nullptr;
    HDC handle = nullptr;
    std::memcpy(&handle, reinterpret_cast<const unsigned char*>(dc) + words * sizeof(void*),
                sizeof handle);
    return handle;
  }
};

// The application object of a library: started once when the library loads,
// stopped once when it unloads.
class CWinApp {
 public:
  virtual ~CWinApp() = default;
  virtual BOOL InitInstance() { return TRUE; }
  virtual int ExitInstance() { return 0; }
};

// Switching to a library's own module state is a no-op without a framework:
// the guard exists so exported functions keep their shape on both builds.
struct AfxModuleStateGuard {
  AfxModuleStateGuard() = default;
  AfxModuleStateGuard(const AfxModuleStateGuard&) = delete;
  AfxModuleStateGuard& operator=(const AfxModuleStateGuard&) = delete;
};
#define AFX_MANAGE_STATE_STATIC() [[maybe_unused]] AfxModuleStateGuard afx_module_state_guard_

#endif  // INKLINE_HAS_MFC

#endif  // INKLINE_AFX_H
