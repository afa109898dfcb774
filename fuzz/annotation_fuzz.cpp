// Draws any bytes as a plain annotation (fractions and raise/lower codes
// included) and as rich-text markup, on a checking recording device with the
// synthetic font library, in a few arrangements and device kinds. Every
// coordinate the device gets is finite, every point count adds up, and a
// plain string leaves the pen it found (on the kinds that keep one).
#include <cstddef>
#include <cstdint>
#include <string>

#include <inkline/host/hostlib.h>
#include <inkline/host/synthetic_font_lib.h>
#include <inkline/inkline.h>

#include "checking_device.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the setting, the rest is the text.
  const uint8_t pick = data[0];
  const FuzzText text(data + 1, size - 1);

  static SyntheticFontLib fonts;
  ScopedMapFontLib installed(&fonts);
  RecordingDevice::Settings settings;
  settings.kind = static_cast<short>(pick % 10);
  settings.rationalDispMode = 0;  // the vector path: no font files needed
  CheckingDevice& device = DeviceFor(settings);
  PEN start{1.0, 3, 0};
  device.SetPen(&start);

  MapString* s = NewString(device);
  std::string bytes(text.Get(), text.Length);
  const short style = static_cast<short>((pick & 0x10 ? 0x0400 : 0) | (pick & 0x20 ? 0x3000 : 0));
  s->StringOut(bytes.data(), 10, 500, 12, 10, 0, style, (pick >> 6) * 30.0, 1.0,
               static_cast<char>((pick >> 3) & 1), 5, 1.2, &fonts);
  if (KeepsItsPen(settings.kind)) FuzzCheck(SamePen(device.CurPen, start));
  device.CheckAndForget();
  D_RECT box{0, 400, 120, 460};
  s->HTMLStringOut(bytes.data(), 0, 0, &box, 0);
  device.CheckAndForget();
  s->Free();
  return 0;
}
