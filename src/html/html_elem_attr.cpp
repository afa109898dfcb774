#include "html/html_elem_attr.h"

#include "html/html_text.h"

using html_text::AssignBytes;
using html_text::IsLeadByte;
using html_text::IsLetter;
using html_text::IsNameChar;
using html_text::IsWhiteSpace;
using html_text::NextChar;
using html_text::SkipWhiteSpace;

// Attribute lists make empty attributes to parse into, so those cost no
// string construction.
CHTMLElemAttr::CHTMLElemAttr(const char* name, const char* value) {
  if (name) Name = name;
  if (value) Value = value;
}

namespace {

using html_text::ByteClasses;
using html_text::HasClass;

// The bytes of a value, and whether they are kept as written: with no white
// space and no lead byte (whose trail may be white space) there is nothing
// to trim or fold.
struct ValueBytes {
  const char* Begin;
  const char* End;
  int ClosingQuote;  // 1 when a closing quote ends the value
  bool AsWritten;
};

// A value in quotes, from its opening quote. An unterminated value runs to
// the end of the text and earns no byte for a quote, so the tag around it
// cannot close.
ValueBytes ScanQuotedValue(const char* open) {
  constexpr unsigned char kStops = ByteClasses::kNul | ByteClasses::kQuote |
                                   ByteClasses::kWhiteSpace | ByteClasses::kLeadByte;
  const char quote = *open;
  const char* p = open + 1;
  bool asWritten = true;
  for (;;) {
    const char c = *p;
    if (!HasClass(c, kStops)) {
      ++p;
    } else if (c == quote || c == '\0') {
      break;
    } else if (HasClass(c, ByteClasses::kQuote)) {
      ++p;  // the other quote
    } else {
      asWritten = false;
      p = NextChar(p);
    }
  }
  return {open + 1, p, *p == quote ? 1 : 0, asWritten};
}

// An unquoted value at first, which is neither white space nor a quote nor
// the end. Its first character belongs to it whatever it is; it ends before
// white space, "/", ">" or the end.
ValueBytes ScanUnquotedValue(const char* first) {
  constexpr unsigned char kStops = ByteClasses::kNul | ByteClasses::kWhiteSpace |
                                   ByteClasses::kTagPunctuation | ByteClasses::kLeadByte;
  bool asWritten = !IsLeadByte(*first);
  const char* p = NextChar(first);
  for (;;) {
    const char c = *p;
    if (!HasClass(c, kStops)) {
      ++p;
    } else if (IsLeadByte(c)) {
      asWritten = false;
      p = NextChar(p);
    } else {
      break;
    }
  }
  return {first, p, 0, asWritten};
}

}  // namespace

int CHTMLElemAttr::ParseAttribute(const char* text) {
  const char* nameBegin = SkipWhiteSpace(text);
  if (!IsLetter(*nameBegin)) return 0;

  const char* nameEnd = nameBegin + 1;
  while (IsNameChar(*nameEnd)) ++nameEnd;
  const char after = *nameEnd;
  if (!(after == '\0' || IsWhiteSpace(after) || after == '=' || after == '>' || after == '/')) {
    return 0;
  }

  if (after != '=') {
    // A bare name; the white space after it is left for the next attribute.
    AssignBytes(Name, nameBegin, nameEnd);
    Value.clear();
    return static_cast<int>(nameEnd - text);
  }

  const char* p = SkipWhiteSpace(nameEnd + 1);
  ValueBytes value{p, p, 0, true};
  if (HasClass(*p, ByteClasses::kQuote)) {
    value = ScanQuotedValue(p);
  } else if (*p != '\0') {
    value = ScanUnquotedValue(p);
  }

  AssignBytes(Name, nameBegin, nameEnd);
  if (value.AsWritten) {
    AssignBytes(Value, value.Begin, value.End);
  } else {
    AssignValue(value.Begin, value.End);
  }
  return static_cast<int>(value.End - text) + value.ClosingQuote;
}

void CHTMLElemAttr::SetValue(const std::string& value) {
  AssignValue(value.data(), value.data() + value.size());
}

void CHTMLElemAttr::AssignValue(const char* begin, const char* end) {
  while (begin < end && IsWhiteSpace(*begin)) ++begin;
  while (end > begin && IsWhiteSpace(end[-1])) --end;
  const char* p = begin;
  while (p < end && *p != '\n' && *p != '\r' && *p != '\t') ++p;
  if (p == end) {
    AssignBytes(Value, begin, end);  // nothing to rewrite
    return;
  }
  Value.clear();
  Value.reserve(static_cast<std::string::size_type>(end - begin));
  for (p = begin; p < end; ++p) {
    const char c = *p;
    if (c == '\n') continue;
    Value.push_back(c == '\r' || c == '\t' ? ' ' : c);
  }
}
