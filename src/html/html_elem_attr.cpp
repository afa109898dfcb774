#include "html/html_elem_attr.h"

#include "html/html_text.h"

using html_text::IsLetter;
using html_text::IsNameChar;
using html_text::IsWhiteSpace;
using html_text::NextChar;
using html_text::SkipWhiteSpace;

CHTMLElemAttr::CHTMLElemAttr(const char* name, const char* value)
    : Name(name ? name : ""), Value(value ? value : "") {}

namespace {

// An unquoted value ends before any of these.
bool EndsUnquotedValue(char c) { return c == '\0' || IsWhiteSpace(c) || c == '/' || c == '>'; }

}  // namespace

int CHTMLElemAttr::ParseAttribute(const char* text) {
  const char* nameBegin = SkipWhiteSpace(text);
  if (!IsLetter(*nameBegin)) return 0;

  const char* nameEnd = nameBegin;
  while (IsNameChar(*nameEnd)) ++nameEnd;
  const char after = *nameEnd;
  if (!(after == '\0' || IsWhiteSpace(after) || after == '=' || after == '>' || after == '/')) {
    return 0;
  }

  if (after != '=') {
    // A bare name; the white space after it is left for the next attribute.
    Name.assign(nameBegin, nameEnd);
    Value.clear();
    return static_cast<int>(nameEnd - text);
  }

  const char* p = SkipWhiteSpace(nameEnd + 1);
  const char* valueBegin = p;
  const char* valueEnd = p;
  int closingQuote = 0;
  if (*p == '\'' || *p == '"') {
    const char quote = *p;
    valueBegin = valueEnd = p + 1;
    while (*valueEnd != '\0' && *valueEnd != quote) valueEnd = NextChar(valueEnd);
    // An unterminated value runs to the end of the text and earns no byte
    // for a quote, so the tag around it cannot close.
    if (*valueEnd == quote) closingQuote = 1;
  } else if (*p != '\0') {
    // The first character belongs to the value whatever it is.
    valueEnd = NextChar(p);
    while (!EndsUnquotedValue(*valueEnd)) valueEnd = NextChar(valueEnd);
  }

  Name.assign(nameBegin, nameEnd);
  AssignValue(valueBegin, valueEnd);
  return static_cast<int>(valueEnd - text) + closingQuote;
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
    Value.assign(begin, end);  // the usual value: nothing to rewrite
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
