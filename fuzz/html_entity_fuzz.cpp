// Resolves a reference at the start of any bytes.
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "html/html_entity_resolver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzText text(data, size);
  const CHTMLEntityResolver resolver;
  char out = 0;
  const int consumed = resolver.ResolveEntity(text.Get(), out);
  FuzzCheck(consumed >= 0 && static_cast<size_t>(consumed) <= text.Length);
  if (consumed > 0) {
    FuzzCheck(text.Get()[consumed - 1] == ';');
  } else {
    FuzzCheck(out == 0);
  }
  return 0;
}
