// The library's application object: constructed when the library loads, it
// owns the result buffer of the markup conversion functions.
#ifndef INKLINE_SRC_FRAME_APP_H
#define INKLINE_SRC_FRAME_APP_H

#include <inkline/afx.h>

#include <cstddef>
#include <thread>

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

  // Copies a conversion result into the calling thread's result buffer and
  // returns that buffer. The thread that loaded the library uses ResultBuffer;
  // every other thread gets a buffer of its own under the same rules (1024
  // zero bytes at first, released when the thread ends or the library stops),
  // so threads converting at once never overwrite each other's results. Null
  // when the result cannot be stored; the buffer then keeps its previous
  // content.
  char* StoreResult(const char* result, std::size_t length);

  char* ResultBuffer;
  int ResultBufferSize;

 private:
  std::thread::id LoadingThread;
};

// The application object of the current module state, or null before the
// library has started and once it has stopped.
CInklineApp* InklineApp();

// Constructs the application object and runs its start-up, once per load;
// false when the start-up fails (the load then fails).
bool StartInklineApp();

// Runs the application object's exit operation, destroys it and frees every
// thread's result buffer; the library is unloading.
void StopInklineApp();

// Copies `length` bytes of `result` and a NUL into `block`. When `length` is
// at least `capacity` the block is first replaced by length + 1 zero bytes; it
// never shrinks. Returns the block, or null with block and capacity untouched
// when length + 1 does not fit the 32-bit capacity or memory runs out.
// `result` must not point into `block`.
char* StoreResultInBlock(char*& block, int& capacity, const char* result, std::size_t length);

#endif  // INKLINE_SRC_FRAME_APP_H
