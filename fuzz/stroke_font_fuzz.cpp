// Reads any bytes as a stroke-font (character-library) file and draws from
// it. The first byte picks the first of twenty characters of GB2312 row 0xA1,
// whose index records lie at the start of the file; the rest is the file,
// padded with zeros past its index. Every character's strokes, read by the
// host's reader and by the library's glyph code, stay on the 16 by 16 grid
// and reach the device as finite coordinates.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

#include <inkline/host/char_library.h>
#include <inkline/host/freetype_font_lib.h>
#include <inkline/host/hostlib.h>
#include <inkline/inkline.h>

#include "checking_device.h"
#include "fuzz_input.h"

namespace {

// A file that exists for one input and is gone after it.
class ScratchFile {
 public:
  explicit ScratchFile(const std::vector<unsigned char>& bytes) {
    char name[] = "/tmp/inkline-stroke-fuzz-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) return;
    Path = name;
    const bool written =
        write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    close(fd);
    if (!written) Path.clear();
  }
  ~ScratchFile() {
    if (!Path.empty()) std::remove(Path.c_str());
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  std::string Path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::vector<unsigned char> file(data + 1, data + size);
  if (file.size() < static_cast<size_t>(clib::kIndexBytes) + 64)
    file.resize(static_cast<size_t>(clib::kIndexBytes) + 64, 0);
  const ScratchFile scratch(file);
  if (scratch.Path.empty()) return 0;

  std::string text;
  for (int i = 0; i < 20; ++i) {
    text += static_cast<char>(0xA1);
    text += static_cast<char>(0xA1 + (data[0] + i) % 94);
  }

  static FreeTypeFontLib fonts;
  std::string error;
  FuzzCheck(fonts.OpenStrokeFont(scratch.Path, &error));
  for (size_t i = 0; i < text.size(); i += 2) {
    for (const clib::Segment& seg : clib::ReadStrokes(fonts.ClibFile, text.c_str() + i)) {
      for (const clib::GridPoint& p : {seg.from, seg.to})
        FuzzCheck(p.x >= 0 && p.x <= 15 && p.y >= 1 && p.y <= 16);
    }
  }

  ScopedMapFontLib installed(&fonts);
  RecordingDevice::Settings settings;
  settings.kind = 2;
  CheckingDevice& device = DeviceFor(settings);
  MapString* s = NewString(device);
  const short style = static_cast<short>(data[0] & 0x10 ? 0x1000 | 0x0400 : 0);
  s->StringOut(text.data(), 10, 500, 24, 20, 0, style, data[0] % 90, 0.5, 0, 5, 1.0, &fonts);
  device.CheckAndForget();
  s->Free();
  fonts.CloseStrokeFont();
  return 0;
}
