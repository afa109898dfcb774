#include "html/html_attributes.h"

#include "html/attribute_scan.h"
#include "html/html_text.h"

namespace {

// Room for the attributes of most tags, taken at the first attribute.
constexpr std::size_t kUsualAttributes = 8;

}  // namespace

CHTMLAttributes::~CHTMLAttributes() = default;

int CHTMLAttributes::ParseAttributes(const char* text, AttributeChainMemo* memo) {
  const int used = ParseAside(text, memo);
  if (used > 0) CommitAside();
  return used;
}

int CHTMLAttributes::ParseAside(const char* text, AttributeChainMemo* memo) {
  AsideCount = 0;
  std::size_t count = 0;
  const char* end = text;
  // Each parsed attribute consumes at least its name; at the end of the text
  // no further attribute can parse, which ends the loop. Attributes are
  // parsed over the ones an earlier parse left, keeping their strings.
  for (;;) {
    const char* nameBegin = html_text::SkipWhiteSpace(end);
    if (memo && memo->KnownToFail(nameBegin)) return kKnownToFail;
    html_text::AttributeBytes bytes;
    if (!html_text::ScanAttribute(nameBegin, bytes)) break;
    if (count == Aside.size()) {
      if (Aside.empty()) Aside.reserve(kUsualAttributes);
      Aside.emplace_back();
    }
    CHTMLElemAttr& attribute = Aside[count];
    if (bytes.AsWritten) {
      html_text::AssignBytes(attribute.Name, bytes.NameBegin, bytes.NameEnd);
      html_text::AssignBytes(attribute.Value, bytes.ValueBegin, bytes.ValueEnd);
    } else {
      attribute.ParseAttribute(nameBegin);  // the value needs trimming or folding
    }
    if (memo) memo->Parsed(nameBegin);
    ++count;
    end = bytes.End;
  }
  AsideCount = count;
  return static_cast<int>(end - text);
}

void CHTMLAttributes::CommitAside() {
  if (AsideCount == 0) return;
  List.swap(Aside);
  ListCount = AsideCount;
  AsideCount = 0;
}

int CHTMLAttributes::GetCount() const { return static_cast<int>(ListCount); }

CHTMLElemAttr CHTMLAttributes::GetAttribute(int index) const {
  if (index < 0 || index >= GetCount()) return CHTMLElemAttr();
  return List[static_cast<AttributeList::size_type>(index)];
}

void CHTMLAttributes::RemoveAll() { ListCount = 0; }
