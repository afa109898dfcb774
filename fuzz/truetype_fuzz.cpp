// Draws any text on a device that allows TrueType fonts (GetRationalDispMode
// 1), so equal height and width in an upright or italic style go through the
// portable GDI: its fonts, text output and glyph paths, from a real font
// (DejaVu Sans). The first four bytes pick the device kind, size, angle,
// style and spacing; the rest is the text. Every coordinate the device and
// its context get is finite, every point count adds up, and the string
// leaves the pen it found (on the kinds that keep one).
#include <cstddef>
#include <cstdint>
#include <string>

#include <inkline/host/freetype_font_lib.h>
#include <inkline/host/hostlib.h>
#include <inkline/inkline.h>

#include "checking_device.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const FuzzText text(data + 4, size - 4);
  static FreeTypeFontLib fonts([] {
    FreeTypeFontLibOptions options;
    options.table = FontTable::Parse("0 | DejaVu Sans | DejaVu Sans\n");
    return options;
  }());
  ScopedMapFontLib installed(&fonts);

  RecordingDevice::Settings settings;
  settings.kind = static_cast<short>(data[0] % 10);
  settings.rationalDispMode = 1;
  CheckingDevice& device = DeviceFor(settings);
  PEN start{1.0, 3, 0};
  device.SetPen(&start);

  MapString* s = NewString(device);
  const double height = 1 + data[1] % 120;
  const double angle = (static_cast<int8_t>(data[2])) * 3.0;
  // Styles 0 and 2 (italic) keep the TrueType path; the high bits add bold,
  // underline, strike-out and the outline.
  const short style =
      static_cast<short>((data[3] & 1 ? 2 : 0) | (data[3] & 2 ? 0x1000 : 0) |
                         (data[3] & 4 ? 0x2000 : 0) | (data[3] & 8 ? 0x4000 : 0) |
                         (data[3] & 16 ? 0x0400 : 0));
  const double space = (data[3] >> 5) * 0.75;
  std::string bytes(text.Get(), text.Length);
  s->StringOut(bytes.data(), 30, 600, height, height, 0, style, angle, space,
               static_cast<char>(data[0] >> 7), 5, 1.0, &fonts);
  if (KeepsItsPen(settings.kind)) FuzzCheck(SamePen(device.CurPen, start));
  device.CheckAndForget();
  s->Free();
  return 0;
}
