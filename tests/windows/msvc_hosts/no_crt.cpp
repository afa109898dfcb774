// What the compiler expects of a C runtime, for hosts built without one.
// Compiled without any header, so nothing here meets the runtime's own
// declarations.
typedef unsigned int size_t;

extern "C" {
__declspec(dllimport) void __stdcall ExitProcess(unsigned code);

int _fltused = 0;

int __cdecl _purecall() {
  ExitProcess(3);
  return 0;
}

void* __cdecl memset(void* to, int value, size_t n) {
  unsigned char* p = static_cast<unsigned char*>(to);
  while (n--) *p++ = static_cast<unsigned char>(value);
  return to;
}

void* __cdecl memcpy(void* to, const void* from, size_t n) {
  unsigned char* p = static_cast<unsigned char*>(to);
  const unsigned char* q = static_cast<const unsigned char*>(from);
  while (n--) *p++ = *q++;
  return to;
}
}
