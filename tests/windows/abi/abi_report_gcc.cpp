// The report of the library as a host built by mingw sees it.
#include <cstdio>
#include <new>

#include "abi_report.h"

namespace {
void WriteOut(const char* text, int length) {
  std::fwrite(text, 1, static_cast<size_t>(length), stdout);
}
alignas(8) unsigned char storage[sizeof(CMapString)];
}  // namespace

int main() {
  abi::Report out(WriteOut);
  abi::ReportLayouts(out);
  const int failures = abi::ReportDrawing(out, storage);
  std::fflush(stdout);
  return failures;
}
