// Parses a tag, an attribute list and one attribute at the start of any bytes.
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "html/html_tag.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const FuzzText text(data, size);
  const int length = static_cast<int>(text.Length);

  CHTMLTag tag;
  bool opening = false;
  bool closing = false;
  const int consumed = tag.ParseTag(text.Get(), opening, closing, true);
  FuzzCheck(consumed >= 0 && consumed <= length);
  if (consumed > 0) {
    const char last = text.Get()[consumed - 1];
    // Only the empty tag "<>" stops at its "<".
    FuzzCheck(last == '>' || (last == '<' && !opening && !closing));
    if (!opening) FuzzCheck(tag.GetAttributes() == nullptr);
  } else {
    FuzzCheck(tag.GetTagName().empty() && tag.GetAttributes() == nullptr);
  }

  CHTMLAttributes attributes;
  const int used = attributes.ParseAttributes(text.Get());
  FuzzCheck(used >= 0 && used <= length);
  FuzzCheck((used == 0) == (attributes.GetCount() == 0));

  CHTMLElemAttr attribute;
  const int one = attribute.ParseAttribute(text.Get());
  FuzzCheck(one >= 0 && one <= length);
  return 0;
}
