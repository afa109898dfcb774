// The library's application object: constructed when the library loads, it
// owns the result buffer of the markup conversion functions.
#ifndef INKLINE_SRC_FRAME_APP_H
#define INKLINE_SRC_FRAME_APP_H

#include <inkline/afx.h>

class CInklineApp : public CWinApp {
 public:
  // Allocates the result buffer: 1024 zero bytes.
  CInklineApp();
  ~CInklineApp() override;
  CInklineApp(const CInklineApp&) = delete;
  CInklineApp& operator=(const CInklineApp&) = delete;

  BOOL InitInstance() override;
  // Frees the result buffer; runs once, when the library unloads.
  int ExitInstance() override;

  char* ResultBuffer;
  int ResultBufferSize;
};

// The application object of the current module state, or null once the
// library has stopped.
CInklineApp* InklineApp();

#endif  // INKLINE_SRC_FRAME_APP_H
