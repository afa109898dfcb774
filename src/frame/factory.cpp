// The library's exported entry points besides the string object's operations.
#include <new>

#include <inkline/map_string.h>

MapString::MapString() = default;
MapString::MapString(const MapString&) = default;
MapString& MapString::operator=(const MapString&) { return *this; }

long CreateMapString(DeviceDriver* driver, MapString** out) {
  // With nowhere to put it, no object is made: it could never be freed.
  if (!out) return 1;
  *out = new (std::nothrow) CMapString(driver);
  return 1;
}

void* Inkline_ExportFunctionPTR() { return nullptr; }
