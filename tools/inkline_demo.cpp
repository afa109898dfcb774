// Creates a string object on the recording device, draws through the
// interface as a host would, and prints the device calls it recorded.
#include <cstdio>

#include <inkline/host/hostlib.h>
#include <inkline/host/recording_device.h>
#include <inkline/host/synthetic_font_lib.h>
#include <inkline/inkline.h>

int main() {
  SyntheticFontLib fonts;
  ScopedMapFontLib installed(&fonts);

  RecordingDevice::Settings settings;
  settings.kind = 0;
  RecordingDevice device(settings);

  MapString* text = nullptr;
  CreateMapString(&device, &text);
  if (!text) {
    std::fprintf(stderr, "inkline-demo: could not create a string object\n");
    return 1;
  }
  text->SetScale(1.0, 1.0, 1.0);
  text->SetClipFlag(1.0);

  char plain[] = "H#-2#=O";
  text->StringOut(plain, 100, 100, 12, 12, 0, 0x2000, 30.0, 1.0, 0, 5, 1.0, nullptr);
  char fraction[] = "/1/2/";
  text->StringOut(fraction, 100, 200, 10, 10, 0, 0, 0.0, 0.0, 0, 0, 0.0, nullptr);

  const std::string trace = device.Trace();
  std::printf("string object on a recording device of kind %d: %zu device calls\n",
              device.GetDeviceType(), device.calls.size());
  std::fputs(trace.c_str(), stdout);
  text->Free();
  return 0;
}
