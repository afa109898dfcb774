// Makes any bytes ready as a label's text (shaping what must be shaped) and
// draws them through the label's own codes, on the TrueType path and from
// outlines. The first byte picks the options; the rest is the text. What
// comes out holds together: every code of the bytes stands for a character
// or a cluster of the label, every cluster's pieces add up to its text and
// glyphs, its numbers are finite, and every character of the text (not a
// bad byte, nor one past the codes) comes out exactly once, as a character
// of the bytes or within a cluster. Drawing it sends the device finite
// coordinates only.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include <inkline/host/freetype_font_lib.h>
#include <inkline/host/hostlib.h>
#include <inkline/host/label_text.h>
#include <inkline/inkline.h>
#include <inkline/label_codes.h>
#include <inkline/shared/code_page.h>

#include "checking_device.h"
#include "fuzz_input.h"

namespace {

// The characters of UTF-8 text, bad bytes left out.
std::u32string Characters(const std::string& utf8) {
  std::u32string out;
  for (size_t i = 0; i < utf8.size();) {
    char32_t c = 0;
    if (shared::NextUtf8(utf8, &i, &c)) out.push_back(c);
  }
  return out;
}

// What the bytes stand for, character by character: the code page's own,
// a label's character, or a cluster's text.
std::u32string WhatTheBytesSay(const LabelText& text) {
  std::u32string out;
  const std::string& b = text.bytes;
  for (size_t i = 0; i < b.size();) {
    const auto lead = static_cast<unsigned char>(b[i]);
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    }
    FuzzCheck(i + 1 < b.size());  // a lead byte always has its trail
    const unsigned code = lead << 8 | static_cast<unsigned char>(b[i + 1]);
    i += 2;
    if (!inkline::IsUserDefinedCode(code)) {
      const char32_t c = shared::CodePageChar(code);
      FuzzCheck(c != 0);
      out.push_back(c);
      continue;
    }
    const inkline::ShapedCluster* cluster = text.codes.ClusterOf(code);
    if (!cluster) {
      const char32_t c = text.codes.CharOf(code);
      FuzzCheck(c != 0);
      out.push_back(c);
      continue;
    }
    FuzzCheck(std::isfinite(cluster->advance));
    for (const inkline::ClusterGlyph& g : cluster->glyphs) FuzzCheck(std::isfinite(g.x) && std::isfinite(g.y));
    if (!cluster->pieces.empty()) {
      int bytes = 0, glyphs = 0;
      for (const inkline::TextPiece& p : cluster->pieces) {
        FuzzCheck(p.bytes > 0 && p.glyphs >= 0);
        bytes += p.bytes;
        glyphs += p.glyphs;
      }
      FuzzCheck(bytes == static_cast<int>(cluster->text.size()));
      FuzzCheck(glyphs == static_cast<int>(cluster->glyphs.size()));
    }
    const std::u32string chars = Characters(cluster->text);
    out += chars;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static FreeTypeFontLib fonts;
  static LabelShaper shaper(fonts);
  ScopedMapFontLib installed(&fonts);
  const std::string utf8(reinterpret_cast<const char*>(data + 1), size - 1);
  LabelTextOptions options;
  options.fontNo = static_cast<short>(data[0] & 8 ? 8 : 0);
  options.fontGiven = (data[0] & 1) == 0;
  options.vertical = (data[0] & 2) != 0;
  options.perCluster = (data[0] & 4) != 0;
  const LabelText text = shaper.Convert(utf8, options);

  // Every character is said once; the '?' of a bad byte or of a character
  // past the codes stands where it was.
  std::u32string said = WhatTheBytesSay(text), asked = Characters(utf8);
  if (text.invalid == 0 && text.replaced.empty() && asked.find(U'\0') == std::u32string::npos) {
    std::sort(said.begin(), said.end());
    std::sort(asked.begin(), asked.end());
    FuzzCheck(said == asked);
  }

  RecordingDevice::Settings settings;
  settings.rationalDispMode = static_cast<short>(data[0] >> 7);
  CheckingDevice& device = DeviceFor(settings);
  MapString* s = NewString(device);
  std::string bytes = text.bytes.substr(0, text.bytes.find('\0'));
  {
    const inkline::ScopedLabelCodes codes(&text.codes);
    s->StringOut(bytes.data(), 30, 600, 24, 24, text.fontNo, 0, 0, 0,
                 static_cast<char>(options.vertical ? 1 : 0), 0, 1.0, &fonts);
  }
  device.CheckAndForget();
  s->Free();
  return 0;
}
