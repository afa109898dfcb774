// The library's exported entry points besides the string object's operations.
#include <new>

#include <inkline/map_string.h>

MapString::MapString() = default;
MapString::MapString(const MapString&) = default;
MapString& MapString::operator=(const MapString&) { return *this; }

long CreateMapString(DeviceDriver* driver, MapString** out) {
  CMapString* object = new (std::nothrow) CMapString(driver);
  *out = object;
  return 1;
}

void* Inkline_ExportFunctionPTR() { return nullptr; }
