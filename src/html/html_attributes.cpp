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

void CHTMLAttributes::Assign(const html_text::AttributeSpans& spans) {
  const std::size_t count = spans.Size();
  if (count == 0) return;
  // Room first: the only step that can fail.
  if (List.size() < count) {
    if (List.capacity() == 0) List.reserve(count > kUsualAttributes ? count : kUsualAttributes);
    List.resize(count);
  }
  for (std::size_t i = 0; i < count; ++i) {
    const html_text::AttributeBytes& bytes = spans[i];
    CHTMLElemAttr& attribute = List[i];
    const auto nameLength = static_cast<std::size_t>(bytes.NameEnd - bytes.NameBegin);
    const auto valueLength = static_cast<std::size_t>(bytes.ValueEnd - bytes.ValueBegin);
    if (attribute.Name.capacity() < nameLength) attribute.Name.reserve(nameLength);
    if (attribute.Value.capacity() < valueLength) attribute.Value.reserve(valueLength);
  }
  for (std::size_t i = 0; i < count; ++i) {
    const html_text::AttributeBytes& bytes = spans[i];
    CHTMLElemAttr& attribute = List[i];
    if (bytes.AsWritten) {
      html_text::AssignBytes(attribute.Name, bytes.NameBegin, bytes.NameEnd);
      html_text::AssignBytes(attribute.Value, bytes.ValueBegin, bytes.ValueEnd);
    } else {
      attribute.ParseAttribute(bytes.NameBegin);  // the value needs trimming or folding
    }
  }
  ListCount = count;
}

int CHTMLAttributes::GetCount() const { return static_cast<int>(ListCount); }

CHTMLElemAttr CHTMLAttributes::GetAttribute(int index) const {
  if (index < 0 || index >= GetCount()) return CHTMLElemAttr();
  return List[static_cast<AttributeList::size_type>(index)];
}

void CHTMLAttributes::RemoveAll() { ListCount = 0; }
