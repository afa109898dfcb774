#include "frame/app.h"

#include <cstdlib>

namespace {

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

}  // namespace

CInklineApp::CInklineApp() {
  ResultBuffer = static_cast<char*>(std::calloc(1024, 1));
  ResultBufferSize = ResultBuffer ? 1024 : 0;
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

CInklineApp* InklineApp() { return theAppRunning ? &theApp : nullptr; }
