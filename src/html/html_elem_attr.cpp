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
  if (valueBegin == valueEnd) {
    Value.clear();
  } else {
    SetValue(std::string(valueBegin, valueEnd));
  }
  return static_cast<int>(valueEnd - text) + closingQuote;
}

void CHTMLElemAttr::SetValue(const std::string& value) {
  std::string::size_type first = 0;
  std::string::size_type last = value.size();
  while (first < last && IsWhiteSpace(value[first])) ++first;
  while (last > first && IsWhiteSpace(value[last - 1])) --last;

  Value.clear();
  Value.reserve(last - first);
  for (std::string::size_type i = first; i < last; ++i) {
    const char c = value[i];
    if (c == '\n') continue;
    Value.push_back(c == '\r' || c == '\t' ? ' ' : c);
  }
}
