// Turns a fuzzer's byte buffer into the NUL-terminated text the parsers take:
// an exactly sized heap copy that ends at the first NUL, so a read past the
// end is caught by AddressSanitizer.
#ifndef INKLINE_FUZZ_FUZZ_INPUT_H
#define INKLINE_FUZZ_FUZZ_INPUT_H

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

struct FuzzText {
  FuzzText(const uint8_t* data, size_t size) {
    const void* nul = std::memchr(data, 0, size);
    Length = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - data) : size;
    Bytes.reset(new char[Length + 1]);
    if (Length > 0) std::memcpy(Bytes.get(), data, Length);
    Bytes[Length] = '\0';
  }
  const char* Get() const { return Bytes.get(); }

  std::unique_ptr<char[]> Bytes;
  size_t Length;
};

// A broken rule is a crash, so the fuzzer keeps the input.
inline void FuzzCheck(bool rule) {
  if (!rule) std::abort();
}

#endif  // INKLINE_FUZZ_FUZZ_INPUT_H
