#include "html/html_tag.h"

#include <new>

#include "html/attribute_block.h"
#include "html/attribute_scan.h"
#include "html/html_text.h"

using html_text::FindChar;
using html_text::IsLetter;
using html_text::IsWhiteSpace;
using html_text::SkipWhiteSpace;

CHTMLTag::~CHTMLTag() = default;

namespace {

// The name after a tag's "<" and the kind of tag it makes.
struct TagName {
  const char* Begin = nullptr;
  const char* End = nullptr;
  bool Opening = false;
};

// Reads the name after the "<" at open; false when no tag can stand there.
bool ReadTagName(const char* open, TagName& name) {
  const char* begin = open + 1;
  const bool opening = IsLetter(*begin);
  if (!opening) {
    if (*begin != '/') return false;
    ++begin;  // an end tag's name may be empty or start with any name character
  }
  const char* end = html_text::SkipNameChars(begin);
  const char after = *end;
  if (!(after == '\0' || IsWhiteSpace(after) || after == '>' || (opening && after == '/'))) {
    return false;
  }
  name = {begin, end, opening};
  return true;
}

// The attributes at rest, found in order (duplicates kept): their bytes, 0
// when none stands there, -1 when the tag is known to fail. The spans are
// what the memo learns should the tag fail.
int FindAttributes(const char* rest, AttributeChainMemo* memo, html_text::AttributeSpans& spans) {
  const char* end = rest;
  for (;;) {
    const char* nameBegin = SkipWhiteSpace(end);
    if (memo && memo->KnownToFail(nameBegin)) {
      memo->TagFailed(spans);  // what led there fails as well
      return -1;
    }
    html_text::AttributeBytes bytes;
    if (!html_text::ScanAttribute(nameBegin, bytes)) break;
    spans.Push(bytes);
    end = bytes.End;
  }
  return static_cast<int>(end - rest);
}

}  // namespace

int CHTMLTag::ParseLongerTag(const char* text, const char* openingNameEnd, bool& opening,
                             bool& closing, bool readAttributes, TagParseMemo* memo,
                             bool textStays) {
  if (openingNameEnd && html_text::HasClass(*openingNameEnd, html_text::kAttributesMayFollow)) {
    if (readAttributes && memo && textStays) {
      return ParseAttributesInText(text, openingNameEnd, *memo, opening, closing);
    }
    return ParseOpeningTagRest(text, text + 1, openingNameEnd, opening, closing, readAttributes,
                               memo, textStays);
  }
  return ParseOtherTag(text, opening, closing, readAttributes, memo, textStays);
}

int CHTMLTag::ParseOtherTag(const char* text, bool& opening, bool& closing, bool readAttributes,
                            TagParseMemo* memo, bool textStays) {
  const char* open = SkipWhiteSpace(text);
  if (*open != '<') return 0;

  if (open[1] == '>') {
    // The empty tag: the ">" stays in the text as character data.
    Name.clear();
    NameInText = nullptr;
    HasAttributes = false;
    UnbuiltSpans = kNoSpans;
    opening = closing = false;
    return static_cast<int>(open + 1 - text);
  }

  TagName name;
  if (!ReadTagName(open, name)) return 0;
  if (*name.End != '>') {
    // An end tag carries nothing after its name.
    if (!name.Opening) return 0;
    return ParseOpeningTagRest(text, name.Begin, name.End, opening, closing, readAttributes,
                               memo, textStays);
  }
  // The usual tag, no more than a name.
  opening = name.Opening;
  closing = !name.Opening;
  SetName(name.Begin, name.End, textStays);
  HasAttributes = false;
  UnbuiltSpans = kNoSpans;
  return static_cast<int>(name.End + 1 - text);
}

int CHTMLTag::ParseOpeningTagRest(const char* text, const char* nameBegin, const char* nameEnd,
                                  bool& opening, bool& closing, bool readAttributes,
                                  TagParseMemo* memo, bool textStays) {
  // The spans not holding the last tag's unbuilt attributes.
  const int free = UnbuiltSpans == 0 ? 1 : 0;
  html_text::AttributeSpans& spans = FoundSpans[free];
  spans.Clear();
  const TagEnd end = FindEndAfterName(text, nameEnd, readAttributes, memo, spans);
  if (!end.Close) return 0;
  int unbuilt = kNoSpans;
  if (end.WithAttributes && textStays) {
    unbuilt = free;
  } else if (end.WithAttributes) {
    try {
      Attributes.Assign(spans);
    } catch (const std::bad_alloc&) {
      return 0;  // out of memory: no tag, and the old one kept whole
    }
  }
  opening = true;
  closing = end.Closing;
  SetName(nameBegin, nameEnd, textStays);
  HasAttributes = end.WithAttributes;
  UnbuiltSpans = unbuilt;
  return static_cast<int>(end.Close + 1 - text);
}

int CHTMLTag::ParseAttributesInText(const char* text, const char* nameEnd, TagParseMemo& memo,
                                    bool& opening, bool& closing) {
  // The usual tag: attributes from the first byte after the name's white
  // space, no failing chain to meet, and "/>" or ">" right after them. A tag
  // that fails is read again in full, so the memo learns of it.
  const char* rest = SkipWhiteSpace(nameEnd);
  memo.Chains.BeginTag(text);
  if (IsLetter(*rest) && !memo.Chains.KnowsFailures()) {
#ifdef INKLINE_ATTRIBUTE_BLOCK
    // Told from its bytes' classes, the tag leaves its attributes for later.
    bool closesToo = false;
    const char* usualClose =
        memo.TextEnd ? html_text::FindUsualTagClose(rest, memo.TextEnd, closesToo) : nullptr;
    if (usualClose) {
      opening = true;
      closing = closesToo;
      SetName(text + 1, nameEnd, true);
      HasAttributes = true;
      UnbuiltSpans = kUnfound;
      UnfoundFrom = rest;
      return static_cast<int>(usualClose + 1 - text);
    }
#endif
    const int free = UnbuiltSpans == 0 ? 1 : 0;
    html_text::AttributeSpans& spans = FoundSpans[free];
    spans.Clear();
    const char* end = html_text::ScanUsualAttributes(rest, spans);
    const char* close = end ? SkipWhiteSpace(end) : rest;
    const bool closes = *close == '/';
    close += closes ? 1 : 0;
    if (end != rest && *close == '>') {
      opening = true;
      closing = closes;
      SetName(text + 1, nameEnd, true);
      HasAttributes = true;
      UnbuiltSpans = free;
      return static_cast<int>(close + 1 - text);
    }
  }
  return ParseOpeningTagRest(text, text + 1, nameEnd, opening, closing, true, &memo, true);
}

CHTMLAttributes& CHTMLTag::SettledAttributes() const {
  if (UnbuiltSpans == kUnfound) {
    // The tag parsed whole, so its attributes run up to its end; may throw,
    // leaving them to be found again.
    FoundSpans[0].Clear();
    FindAttributes(UnfoundFrom, nullptr, FoundSpans[0]);
    UnbuiltSpans = 0;
  }
  if (UnbuiltSpans != kNoSpans) {
    Attributes.Assign(FoundSpans[UnbuiltSpans]);  // may throw, leaving the spans to retry
    UnbuiltSpans = kNoSpans;
  }
  return Attributes;
}

void CHTMLTag::CopyName(const char* begin, const char* end) {
  html_text::AssignBytes(Name, begin, end);
  NameInText = nullptr;
}

void CHTMLTag::Settle() noexcept {
  try {
    SettledAttributes();
  } catch (const std::bad_alloc&) {
    HasAttributes = false;
    UnbuiltSpans = kNoSpans;
  }
  if (NameInText == nullptr || NameInText == ShortName) return;
  if (NameLength <= sizeof ShortName) {
    html_text::MoveBytes(ShortName, NameInText, NameLength);
    NameInText = ShortName;
    return;
  }
  try {
    Name.assign(NameInText, NameLength);
  } catch (const std::bad_alloc&) {
    Name.clear();
  }
  NameInText = nullptr;
}

CHTMLTag::TagEnd CHTMLTag::FindEndAfterName(const char* text, const char* nameEnd,
                                            bool readAttributes, TagParseMemo* memo,
                                            html_text::AttributeSpans& spans) {
  const char* rest = SkipWhiteSpace(nameEnd);
  AttributeChainMemo* chains = memo ? &memo->Chains : nullptr;
  int used = 0;
  if (readAttributes) {
    if (chains) chains->BeginTag(text);
    try {
      used = FindAttributes(rest, chains, spans);
    } catch (const std::bad_alloc&) {
      return {};  // out of memory: no tag
    }
    if (used < 0) return {};
  }

  TagEnd end;
  if (used > 0) {
    const char* p = SkipWhiteSpace(rest + used);
    if (*p == '/') {
      end.Closing = true;
      ++p;
    }
    if (*p != '>') {
      if (chains) chains->TagFailed(spans);
      return {};
    }
    end.Close = p;
    end.WithAttributes = true;
    return end;
  }
  // Whatever stands between the name and the first ">" is ignored.
  end.Close = memo ? memo->CloseSearch.Find(nameEnd) : FindChar(nameEnd, '>');
  end.Closing = end.Close != nullptr && end.Close[-1] == '/';
  return end;
}
