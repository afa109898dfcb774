// Starts the application object when the library (or a program linking its
// objects) loads, and stops it at unload. The Windows library does this in
// DllMain instead.
#include "frame/app.h"

namespace {

struct AppLifetime {
  AppLifetime() { StartInklineApp(); }
  ~AppLifetime() { StopInklineApp(); }
  AppLifetime(const AppLifetime&) = delete;
  AppLifetime& operator=(const AppLifetime&) = delete;
} theAppLifetime;

}  // namespace
