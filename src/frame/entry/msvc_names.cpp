// Names of the Windows library that a host built by Microsoft's compiler
// links against and that cannot simply alias this compiler's own (the build
// aliases all others in a generated .def file):
//  - MSVC constructors return their object; this compiler's return nothing.
//  - An MSVC table of virtual operations is named at its first slot, two
//    words into this compiler's table (offset to top, type information).
//  Defined here under the names Microsoft's compiler gives them.
#if defined(_WIN32)
#include <new>

#include <inkline/map_string.h>

// The symbol of an exported name: the platform's C prefix "_", and quoted
// for the assembler because MSVC names hold '?' and '@'.
#define INKLINE_SYMBOL(name) __asm__("\"_" name "\"")
#define INKLINE_THISCALL __attribute__((thiscall))

namespace {

// This compiler's table of MapString; its slots start two words in.
extern const void* const MapStringTable[] INKLINE_SYMBOL("_ZTV9MapString");

MapString* StartMapString(MapString* self) {
  *reinterpret_cast<const void* const**>(self) = MapStringTable + 2;
  return self;
}

}  // namespace

// Free functions that take their object in ECX, as thiscall members do; the
// compiler notes that thiscall is meant for members.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
INKLINE_THISCALL CMapString* ConstructCMapString(CMapString* self, DeviceDriver* driver)
    INKLINE_SYMBOL("??0CMapString@@QAE@PAVDeviceDriver@@@Z");
INKLINE_THISCALL CMapString* CopyCMapString(CMapString* self, const CMapString& other)
    INKLINE_SYMBOL("??0CMapString@@QAE@ABV0@@Z");
INKLINE_THISCALL MapString* ConstructMapString(MapString* self)
    INKLINE_SYMBOL("??0MapString@@QAE@XZ");
INKLINE_THISCALL MapString* CopyMapString(MapString* self, const MapString& other)
    INKLINE_SYMBOL("??0MapString@@QAE@ABV0@@Z");
#pragma GCC diagnostic pop

CMapString* ConstructCMapString(CMapString* self, DeviceDriver* driver) {
  return new (self) CMapString(driver);
}
CMapString* CopyCMapString(CMapString* self, const CMapString& other) {
  return new (self) CMapString(other);
}
MapString* ConstructMapString(MapString* self) { return StartMapString(self); }
MapString* CopyMapString(MapString* self, const MapString&) { return StartMapString(self); }

// The MSVC tables: copies of this compiler's slots, made when the library
// loads (an alias cannot point two words into another object's table).
extern const void* const CMapStringTable[] INKLINE_SYMBOL("_ZTV10CMapString");
constexpr int kSlots = 8;  // MapString's eight operations
const void* MsvcMapStringTable[kSlots] INKLINE_SYMBOL("??_7MapString@@6B@");
const void* MsvcCMapStringTable[kSlots] INKLINE_SYMBOL("??_7CMapString@@6B@");

namespace {
const bool tablesCopied = [] {
  for (int i = 0; i < kSlots; ++i) {
    MsvcMapStringTable[i] = MapStringTable[2 + i];
    MsvcCMapStringTable[i] = CMapStringTable[2 + i];
  }
  return true;
}();
}  // namespace
#endif
