#include "html/html_attributes.h"

#include "html/html_text.h"

CHTMLAttributes::~CHTMLAttributes() = default;

int CHTMLAttributes::ParseAttributes(const char* text, AttributeChainMemo* memo) {
  std::unique_ptr<AttributeList> parsed;
  CHTMLElemAttr scratch;
  int used = 0;
  // Each parsed attribute consumes at least its name; at the end of the text
  // no further attribute can parse, which ends the loop.
  for (;;) {
    const char* nameBegin = html_text::SkipWhiteSpace(text + used);
    if (memo && memo->KnownToFail(nameBegin)) return kKnownToFail;
    const int length = scratch.ParseAttribute(text + used);
    if (length == 0) break;
    if (memo) memo->Parsed(nameBegin);
    if (!parsed) parsed = std::make_unique<AttributeList>();
    parsed->push_back(std::make_unique<CHTMLElemAttr>(scratch));
    used += length;
  }
  if (!parsed) return 0;
  List = std::move(parsed);
  return used;
}

int CHTMLAttributes::GetCount() const { return List ? static_cast<int>(List->size()) : 0; }

CHTMLElemAttr CHTMLAttributes::GetAttribute(int index) const {
  if (index < 0 || index >= GetCount()) return CHTMLElemAttr();
  return *(*List)[static_cast<AttributeList::size_type>(index)];
}

void CHTMLAttributes::RemoveAll() { List.reset(); }
