#include "frame/app.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kInitialResultCapacity = 1024;

CInklineApp theApp;
bool theAppRunning = false;

// Starts the application object once the library is loaded and stops it once
// at unload, as the framework does for a library with its own application
// object. Defined after theApp, so it is constructed after it and destroyed
// before it.
struct AppLifetime {
  AppLifetime() { theAppRunning = theApp.InitInstance() != FALSE; }
  ~AppLifetime() {
    if (theAppRunning) theApp.ExitInstance();
    theAppRunning = false;
  }
} theAppLifetime;

// The result buffer of a thread other than the one that loaded the library.
struct ThreadResultBuffer {
  char* Block;
  int Capacity;

  ThreadResultBuffer() {
    Block = static_cast<char*>(std::calloc(kInitialResultCapacity, 1));
    Capacity = Block ? kInitialResultCapacity : 0;
  }
  ~ThreadResultBuffer() { std::free(Block); }
  ThreadResultBuffer(const ThreadResultBuffer&) = delete;
  ThreadResultBuffer& operator=(const ThreadResultBuffer&) = delete;
};

}  // namespace

CInklineApp::CInklineApp() : LoadingThread(std::this_thread::get_id()) {
  ResultBuffer = static_cast<char*>(std::calloc(kInitialResultCapacity, 1));
  ResultBufferSize = ResultBuffer ? kInitialResultCapacity : 0;
}

// The exit operation has normally run by now; this only covers a process
// that never got to it.
CInklineApp::~CInklineApp() { std::free(ResultBuffer); }

BOOL CInklineApp::InitInstance() { return CWinApp::InitInstance(); }

int CInklineApp::ExitInstance() {
  std::free(ResultBuffer);
  ResultBuffer = nullptr;
  ResultBufferSize = 0;
  return CWinApp::ExitInstance();
}

char* CInklineApp::StoreResult(const char* result, std::size_t length) {
  if (std::this_thread::get_id() == LoadingThread) {
    return StoreResultInBlock(ResultBuffer, ResultBufferSize, result, length);
  }
  thread_local ThreadResultBuffer own;
  return StoreResultInBlock(own.Block, own.Capacity, result, length);
}

CInklineApp* InklineApp() { return theAppRunning ? &theApp : nullptr; }

char* StoreResultInBlock(char*& block, int& capacity, const char* result, std::size_t length) {
  // The capacity is a 32-bit count that must also hold the NUL.
  if (length >= static_cast<std::size_t>(INT_MAX)) return nullptr;
  if (!block || static_cast<long long>(length) >= capacity) {
    // The new block is taken before the old one goes, so a failure leaves
    // the previous result in place.
    char* grown = static_cast<char*>(std::calloc(length + 1, 1));
    if (!grown) return nullptr;
    std::free(block);
    block = grown;
    capacity = static_cast<int>(length + 1);
  }
  std::memcpy(block, result, length);
  block[length] = '\0';
  return block;
}
