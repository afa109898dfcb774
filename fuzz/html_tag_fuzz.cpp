// Parses a tag, an attribute list and one attribute at the start of any bytes.
#include <cstddef>
#include <cstdint>

#include <string>

#include "fuzz_input.h"
#include "html/html_tag.h"
#include "html/tag_parse_memo.h"

namespace {

std::string Describe(const CHTMLTag& tag) {
  std::string out = tag.GetTagName();
  if (const CHTMLAttributes* attributes = tag.GetAttributes()) {
    for (int i = 0; i < attributes->GetCount(); ++i) {
      const CHTMLElemAttr attribute = attributes->GetAttribute(i);
      out += '\0' + attribute.Name + '\0' + attribute.Value;
    }
  }
  return out;
}

}  // namespace

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

  // A reader's tag, read from a text that stays with the text's end known,
  // goes the quickest way it can; it must read the very same tag.
  TagParseMemo memo;
  memo.TextEnd = text.Get() + length;
  CHTMLTag quick;
  bool quickOpening = false;
  bool quickClosing = false;
  const int quickConsumed =
      quick.ParseTag(text.Get(), quickOpening, quickClosing, true, &memo, true);
  FuzzCheck(quickConsumed == consumed && quickOpening == opening && quickClosing == closing);
  FuzzCheck(Describe(quick) == Describe(tag));

  CHTMLAttributes attributes;
  const int used = attributes.ParseAttributes(text.Get());
  FuzzCheck(used >= 0 && used <= length);
  FuzzCheck((used == 0) == (attributes.GetCount() == 0));

  CHTMLElemAttr attribute;
  const int one = attribute.ParseAttribute(text.Get());
  FuzzCheck(one >= 0 && one <= length);
  return 0;
}
