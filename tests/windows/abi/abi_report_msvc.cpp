// The report of the library as a host built to the MSVC conventions sees it:
// clang for i686-pc-windows-msvc over the Windows SDK's own headers (Wine's;
// msvc_hosts/msvc_host_flags.cmake), so the records' Windows types are the
// SDK's, linked by lld-link against inkline.lib, with no C runtime
// (msvc_hosts/no_crt.cpp).
#include <windows.h>

inline void* operator new(size_t, void* place) noexcept { return place; }

#include "abi_report.h"

namespace {
void WriteOut(const char* text, int length) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(length), &written, nullptr);
}
alignas(8) unsigned char storage[sizeof(CMapString)];
}  // namespace

extern "C" void __cdecl HostMain() {
  abi::Report out(WriteOut);
  abi::ReportLayouts(out);
  ExitProcess(static_cast<UINT>(abi::ReportDrawing(out, storage)));
}
