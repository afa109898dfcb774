#include "html/html_tag.h"

#include <new>

#include "html/html_text.h"

using html_text::FindChar;
using html_text::IsLetter;
using html_text::IsNameChar;
using html_text::IsWhiteSpace;
using html_text::SkipWhiteSpace;

CHTMLTag::~CHTMLTag() = default;

int CHTMLTag::ParseTag(const char* text, bool& opening, bool& closing, bool readAttributes,
                       TagParseMemo* memo) {
  const char* open = SkipWhiteSpace(text);
  if (*open != '<') return 0;

  if (open[1] == '>') {
    // The empty tag: the ">" stays in the text as character data.
    Name.clear();
    HasAttributes = false;
    opening = closing = false;
    return static_cast<int>(open + 1 - text);
  }

  bool isOpening = false;
  const char* nameBegin = open + 1;
  if (IsLetter(*nameBegin)) {
    isOpening = true;
  } else if (*nameBegin == '/') {
    ++nameBegin;  // an end tag's name may be empty or start with any name character
  } else {
    return 0;
  }

  const char* nameEnd = nameBegin;
  while (IsNameChar(*nameEnd)) ++nameEnd;
  const char after = *nameEnd;
  if (!(after == '\0' || IsWhiteSpace(after) || after == '>' || (isOpening && after == '/'))) {
    return 0;
  }

  bool isClosing = !isOpening;
  bool withAttributes = false;  // parsed into Spare
  const char* close = nullptr;  // the ">" that ends the tag
  if (after == '>') {
    close = nameEnd;
  } else if (!isOpening) {
    return 0;  // an end tag carries nothing after its name
  } else {
    const char* rest = SkipWhiteSpace(nameEnd);
    int used = 0;
    AttributeChainMemo* chains = memo ? &memo->Chains : nullptr;
    if (readAttributes) {
      if (!Spare) Spare.reset(new (std::nothrow) CHTMLAttributes);
      if (!Spare) return 0;
      if (chains) chains->BeginTag(text);
      try {
        used = Spare->ParseAttributes(rest, chains);
      } catch (const std::bad_alloc&) {
        return 0;
      }
      if (used == CHTMLAttributes::kKnownToFail) {
        chains->TagFailed();  // what led there fails as well
        return 0;
      }
    }
    if (used > 0) {
      const char* p = SkipWhiteSpace(rest + used);
      if (*p == '/') {
        isClosing = true;
        ++p;
      }
      if (*p != '>') {
        if (chains) chains->TagFailed();
        return 0;
      }
      close = p;
      withAttributes = true;
    } else {
      // Whatever stands between the name and the first ">" is ignored.
      close = memo ? memo->CloseSearch.Find(nameEnd) : FindChar(nameEnd, '>');
      if (!close) return 0;
      if (close[-1] == '/') isClosing = true;
    }
  }

  opening = isOpening;
  closing = isClosing;
  Name.assign(nameBegin, nameEnd);
  if (withAttributes) Attributes.swap(Spare);
  HasAttributes = withAttributes;
  return static_cast<int>(close + 1 - text);
}
