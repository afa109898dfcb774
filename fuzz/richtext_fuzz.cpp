// Lays out any markup as rich text in a box of varying place and size, under
// a body tag of varying size, angle, spacing and column flag, and at varying
// scales. The first eight bytes give the numbers; the rest is the markup.
// Every coordinate the device gets is finite and every point count adds up.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include <inkline/host/hostlib.h>
#include <inkline/host/synthetic_font_lib.h>
#include <inkline/inkline.h>

#include "checking_device.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  const FuzzText text(data + 8, size - 8);
  static SyntheticFontLib fonts;
  ScopedMapFontLib installed(&fonts);
  RecordingDevice::Settings settings;
  settings.kind = static_cast<short>(data[0] % 10);
  settings.dispFlags = static_cast<short>(data[0] & 0x80);  // sizes from the third scale
  CheckingDevice& device = DeviceFor(settings);

  MapString* s = NewString(device);
  const double scales[] = {0.01, 0.5, 1, 3};
  s->SetScale(scales[data[1] & 3], scales[(data[1] >> 2) & 3], scales[(data[1] >> 4) & 3]);
  const double left = static_cast<int8_t>(data[2]) * 8.0;
  const double top = static_cast<int8_t>(data[3]) * 8.0 + 500;
  D_RECT box{left, top, left + data[4] * 4.0, top - data[5] * 4.0};

  char body[128];
  std::snprintf(body, sizeof body, "<body size=%d angle=%d space=%.1f hvpl=%d>",
                data[6] % 64, static_cast<int8_t>(data[7]) * 3, (data[6] >> 6) * 0.5,
                data[7] & 1);
  std::string markup = std::string(body) + std::string(text.Get(), text.Length);
  s->HTMLStringOut(markup.data(), 0, 0, &box, 0);
  device.CheckAndForget();
  s->Free();
  return 0;
}
