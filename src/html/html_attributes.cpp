#include "html/html_attributes.h"

#include "html/html_text.h"

CHTMLAttributes::~CHTMLAttributes() = default;

int CHTMLAttributes::ParseAttributes(const char* text, AttributeChainMemo* memo) {
  std::size_t count = 0;
  int used = 0;
  // Each parsed attribute consumes at least its name; at the end of the text
  // no further attribute can parse, which ends the loop. Attributes are
  // parsed over the ones an earlier parse left, keeping their strings.
  for (;;) {
    const char* nameBegin = html_text::SkipWhiteSpace(text + used);
    if (memo && memo->KnownToFail(nameBegin)) return kKnownToFail;
    if (count == Parsed.size()) Parsed.emplace_back();
    const int length = Parsed[count].ParseAttribute(text + used);
    if (length == 0) break;
    if (memo) memo->Parsed(nameBegin);
    ++count;
    used += length;
  }
  if (count == 0) return 0;
  List.swap(Parsed);
  ListCount = count;
  return used;
}

int CHTMLAttributes::GetCount() const { return static_cast<int>(ListCount); }

CHTMLElemAttr CHTMLAttributes::GetAttribute(int index) const {
  if (index < 0 || index >= GetCount()) return CHTMLElemAttr();
  return List[static_cast<AttributeList::size_type>(index)];
}

void CHTMLAttributes::RemoveAll() { ListCount = 0; }
