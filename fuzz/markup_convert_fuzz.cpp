// Takes any bytes apart as an annotation's markup, then writes the text it
// gave back as markup and takes that apart again: the text must survive.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include <inkline/convert.h>

#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzText document(data, size);
  std::string copy(document.Get(), document.Length);
  short face = 0, style = 0;
  double fontSize = 0;
  int color = 0, bgcolor = 0;
  float space = 0, angle = 0;
  char hvpl = 0;
  const char* text = CvtHTMLToStr(copy.data(), &face, &style, &fontSize, &color, &space, &hvpl,
                                  &bgcolor, &angle);
  if (!text) return 0;
  // The text can hold anything but CR LF pairs (the writer turns those into
  // paragraph marks) and markup the reader would take apart again.
  std::string plain = text;
  if (plain.find('<') != std::string::npos || plain.find('\r') != std::string::npos ||
      plain.find('&') != std::string::npos)
    return 0;
  // Nor a lead byte without its trail byte: in the document it would pair
  // with the "<" of the closing tag.
  for (size_t i = 0; i < plain.size(); ++i)
    if (static_cast<unsigned char>(plain[i]) & 0x80) {
      if (i + 1 == plain.size()) return 0;
      ++i;
    }
  const char* html = CvtStrToHTML(plain.data(), face, 0, 10.0, color, 0.0f, hvpl, 0, 0.0f);
  FuzzCheck(html != nullptr);
  std::string again = html;
  const char* back = CvtHTMLToStr(again.data(), &face, &style, &fontSize, &color, &space, &hvpl,
                                  &bgcolor, &angle);
  FuzzCheck(back != nullptr && plain == back);
  return 0;
}
