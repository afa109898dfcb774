#include "html/html_elem_attr.h"

#include "html/attribute_scan.h"
#include "html/html_text.h"

using html_text::AssignBytes;
using html_text::IsWhiteSpace;
using html_text::SkipWhiteSpace;

// Attribute lists make empty attributes to parse into, so those cost no
// string construction.
CHTMLElemAttr::CHTMLElemAttr(const char* name, const char* value) {
  if (name) Name = name;
  if (value) Value = value;
}

int CHTMLElemAttr::ParseAttribute(const char* text) {
  const char* nameBegin = SkipWhiteSpace(text);
  html_text::AttributeBytes bytes;
  if (!html_text::ScanAttribute(nameBegin, bytes)) return 0;
  AssignBytes(Name, bytes.NameBegin, bytes.NameEnd);
  if (bytes.AsWritten) {
    AssignBytes(Value, bytes.ValueBegin, bytes.ValueEnd);
  } else {
    AssignValue(bytes.ValueBegin, bytes.ValueEnd);
  }
  return static_cast<int>(bytes.End - text);
}

void CHTMLElemAttr::SetValue(const std::string& value) {
  AssignValue(value.data(), value.data() + value.size());
}

void CHTMLElemAttr::AssignValue(const char* begin, const char* end) {
  while (begin < end && IsWhiteSpace(*begin)) ++begin;
  while (end > begin && IsWhiteSpace(end[-1])) --end;
  const char* p = begin;
  while (p < end && *p != '\n' && *p != '\r' && *p != '\t') ++p;
  const auto clean = static_cast<std::size_t>(p - begin);
  // The bytes may be the value's own (SetValue(Value)): they are moved in
  // first and folded in place, which only ever writes behind what it reads.
  AssignBytes(Value, begin, end);
  if (p == end) return;
  std::size_t kept = clean;
  for (std::size_t i = clean; i < Value.size(); ++i) {
    const char c = Value[i];
    if (c == '\n') continue;
    Value[kept++] = c == '\r' || c == '\t' ? ' ' : c;
  }
  Value.erase(kept);
}
