#include "frame/app.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "frame/thread_result_block.h"

namespace {

constexpr int kInitialResultCapacity = 1024;

// The application object lives in static storage but is constructed and
// destroyed explicitly: by the Windows library's DllMain, or elsewhere by a
// static object when the library loads and unloads.
alignas(CInklineApp) unsigned char theAppStorage[sizeof(CInklineApp)];
CInklineApp* theApp = nullptr;
bool theAppRunning = false;

}  // namespace

CInklineApp::CInklineApp() : LoadingThread(std::this_thread::get_id()) {
  ResultBuffer = static_cast<char*>(std::calloc(kInitialResultCapacity, 1));
  ResultBufferSize = ResultBuffer ? kInitialResultCapacity : 0;
}

// The exit operation has normally run by now; this only covers an object
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
  ResultBlock* own = ThisThreadResultBlock();
  if (!own) return nullptr;
  return StoreResultInBlock(own->Block, own->Capacity, result, length);
}

CInklineApp* InklineApp() { return theAppRunning ? theApp : nullptr; }

bool StartInklineApp() {
  if (theApp) return theAppRunning;
  theApp = new (theAppStorage) CInklineApp();
  theAppRunning = theApp->InitInstance() != FALSE;
  return theAppRunning;
}

void StopInklineApp() {
  if (!theApp) return;
  if (theAppRunning) theApp->ExitInstance();
  theAppRunning = false;
  theApp->~CInklineApp();
  theApp = nullptr;
  ReleaseAllResultBlocks();
}

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
