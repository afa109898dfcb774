// Where the parts of one tag attribute lie in a text, found in one pass, so
// an attribute list can take the usual attribute without a further walk.
#ifndef INKLINE_SRC_HTML_ATTRIBUTE_SCAN_H
#define INKLINE_SRC_HTML_ATTRIBUTE_SCAN_H

#include "html/html_text.h"
#include "html/inline_stack.h"

namespace html_text {

struct AttributeBytes {
  const char* NameBegin;
  const char* NameEnd;
  const char* ValueBegin;  // the value is empty for a bare name
  const char* ValueEnd;
  const char* End;  // past the attribute, and past its closing quote
  // Whether the value is kept as written: with no white space and no lead
  // byte (whose trail may be white space) there is nothing to trim or fold.
  bool AsWritten;
};

namespace attribute_scan {

// A value in quotes, from its opening quote. An unterminated value runs to
// the end of the text and earns no byte for a quote, so the tag around it
// cannot close.
inline void ScanQuotedValue(const char* open, AttributeBytes& out) {
  constexpr unsigned char kStops = ByteClasses::kNul | ByteClasses::kQuote |
                                   ByteClasses::kWhiteSpace | ByteClasses::kLeadByte;
  const char quote = *open;
  const char* p = open + 1;
  bool asWritten = true;
  for (;;) {
    p = FindClasses(p, kStops);
    const char c = *p;
    if (c == quote || c == '\0') {
      break;
    } else if (HasClass(c, ByteClasses::kQuote)) {
      ++p;  // the other quote
    } else {
      asWritten = false;
      p = NextChar(p);
    }
  }
  out.ValueBegin = open + 1;
  out.ValueEnd = p;
  out.End = *p == quote ? p + 1 : p;
  out.AsWritten = asWritten;
}

// An unquoted value at first, which is neither white space nor a quote nor
// the end. Its first character belongs to it whatever it is; it ends before
// white space, "/", ">" or the end.
inline void ScanUnquotedValue(const char* first, AttributeBytes& out) {
  constexpr unsigned char kStops = ByteClasses::kNul | ByteClasses::kWhiteSpace |
                                   ByteClasses::kTagPunctuation | ByteClasses::kLeadByte;
  bool asWritten = !IsLeadByte(*first);
  const char* p = NextChar(first);
  for (;;) {
    p = FindClasses(p, kStops);
    const char c = *p;
    if (IsLeadByte(c)) {
      asWritten = false;
      p = NextChar(p);
    } else {
      break;
    }
  }
  out.ValueBegin = first;
  out.ValueEnd = out.End = p;
  out.AsWritten = asWritten;
}

}  // namespace attribute_scan

// The attribute whose name starts at nameBegin: a name, or name=value with
// the value unquoted or in single or double quotes. False when no attribute
// stands there.
inline bool ScanAttribute(const char* nameBegin, AttributeBytes& out) {
  if (!IsLetter(*nameBegin)) return false;
  const char* nameEnd = SkipNameChars(nameBegin + 1);
  const char after = *nameEnd;
  if (after == '=') {
    out.NameBegin = nameBegin;
    out.NameEnd = nameEnd;
    const char* p = SkipWhiteSpace(nameEnd + 1);
    if (HasClass(*p, ByteClasses::kQuote)) {
      attribute_scan::ScanQuotedValue(p, out);
    } else if (*p != '\0') {
      attribute_scan::ScanUnquotedValue(p, out);
    } else {
      out.ValueBegin = out.ValueEnd = out.End = p;
      out.AsWritten = true;
    }
    return true;
  }
  // A bare name; the white space after it is left for the next attribute.
  if (!HasClass(after, ByteClasses::kNul | ByteClasses::kWhiteSpace |
                           ByteClasses::kTagPunctuation)) {
    return false;
  }
  out = {nameBegin, nameEnd, nameEnd, nameEnd, nameEnd, true};
  return true;
}

// The attributes of one tag as found, before any is copied: a tag takes
// them only once it knows it parses whole.
using AttributeSpans = InlineStack<AttributeBytes, 16>;

// The attributes from p on, for as long as each parses, into the place
// spans keep for the usual tag's; returns where the last ends, p when none
// stands there, or null when the place runs out first.
inline const char* ScanUsualAttributes(const char* p, AttributeSpans& spans) {
  const char* end = p;
  for (AttributeBytes* slot = spans.NextInPlace(); slot != nullptr; slot = spans.NextInPlace()) {
    if (!ScanAttribute(SkipWhiteSpace(end), *slot)) return end;
    spans.KeepInPlace();
    end = slot->End;
  }
  return nullptr;
}

}  // namespace html_text

#endif  // INKLINE_SRC_HTML_ATTRIBUTE_SCAN_H
