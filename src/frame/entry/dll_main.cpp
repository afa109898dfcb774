// The Windows library's entry point. The application object lives exactly
// from process attach to process detach, and each thread's conversion
// buffer goes when the thread detaches, so nothing of the library is left to
// run after FreeLibrary.
#if defined(_WIN32)
#include <inkline/win32.h>

#include "frame/app.h"
#include "frame/thread_result_block.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  (void)module;
  (void)reserved;
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      return StartInklineApp() ? TRUE : FALSE;
    case DLL_THREAD_DETACH:
      ReleaseThisThreadResultBlock();
      break;
    case DLL_PROCESS_DETACH:
      StopInklineApp();
      EndResultBlocks();
      break;
    default:
      break;
  }
  return TRUE;
}
#endif
