#include "html/html_attributes.h"

#include "html/html_text.h"

CHTMLAttributes::~CHTMLAttributes() = default;

int CHTMLAttributes::ParseAttributes(const char* text, AttributeChainMemo* memo) {
  Parsed.clear();
  int used = 0;
  // Each parsed attribute consumes at least its name; at the end of the text
  // no further attribute can parse, which ends the loop.
  for (;;) {
    const char* nameBegin = html_text::SkipWhiteSpace(text + used);
    if (memo && memo->KnownToFail(nameBegin)) return kKnownToFail;
    Parsed.emplace_back();
    const int length = Parsed.back().ParseAttribute(text + used);
    if (length == 0) {
      Parsed.pop_back();
      break;
    }
    if (memo) memo->Parsed(nameBegin);
    used += length;
  }
  if (Parsed.empty()) return 0;
  List.swap(Parsed);
  return used;
}

int CHTMLAttributes::GetCount() const { return static_cast<int>(List.size()); }

CHTMLElemAttr CHTMLAttributes::GetAttribute(int index) const {
  if (index < 0 || index >= GetCount()) return CHTMLElemAttr();
  return List[static_cast<AttributeList::size_type>(index)];
}

void CHTMLAttributes::RemoveAll() { List.clear(); }
