// The report of the library as a host built to the MSVC conventions sees it:
// clang for i686-pc-windows-msvc, linked by lld-link against inkline.lib,
// with no C runtime. The portable declarations of the Windows types stand
// in for <windows.h> (built with _WIN32 undefined); they match it where long
// has 32 bits.
inline void* operator new(unsigned int, void* place) noexcept { return place; }

#include "abi_report.h"

extern "C" {
__declspec(dllimport) void* __stdcall GetStdHandle(unsigned long which);
__declspec(dllimport) int __stdcall WriteFile(void* file, const void* data, unsigned long size,
                                              unsigned long* written, void* overlapped);
__declspec(dllimport) void __stdcall ExitProcess(unsigned code);

// What the compiler expects of a C runtime.
int _fltused = 0;
int __cdecl _purecall() {
  ExitProcess(3);
  return 0;
}
void* __cdecl memset(void* to, int value, unsigned int n) {
  auto* p = static_cast<unsigned char*>(to);
  while (n--) *p++ = static_cast<unsigned char>(value);
  return to;
}
void* __cdecl memcpy(void* to, const void* from, unsigned int n) {
  auto* p = static_cast<unsigned char*>(to);
  const auto* q = static_cast<const unsigned char*>(from);
  while (n--) *p++ = *q++;
  return to;
}
}

namespace {
void WriteOut(const char* text, int length) {
  unsigned long written = 0;
  WriteFile(GetStdHandle(static_cast<unsigned long>(-11)), text,
            static_cast<unsigned long>(length), &written, nullptr);
}
alignas(8) unsigned char storage[sizeof(CMapString)];
}  // namespace

extern "C" void __cdecl HostMain() {
  abi::Report out(WriteOut);
  abi::ReportLayouts(out);
  ExitProcess(static_cast<unsigned>(abi::ReportDrawing(out, storage)));
}
