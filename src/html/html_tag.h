// One parsed markup tag: its name and attributes. A reader reuses one tag
// object for every tag of a document.
#ifndef INKLINE_SRC_HTML_HTML_TAG_H
#define INKLINE_SRC_HTML_HTML_TAG_H

#include <cstddef>
#include <string>

#include "html/attribute_scan.h"
#include "html/html_attributes.h"
#include "html/html_text.h"
#include "html/tag_parse_memo.h"

class CHTMLTag {
 public:
  CHTMLTag() = default;
  virtual ~CHTMLTag();
  CHTMLTag(const CHTMLTag&) = delete;
  CHTMLTag& operator=(const CHTMLTag&) = delete;

  // Parses one tag after optional white space at text: <name attrs>,
  // <name attrs/>, </name>, or the empty tag <> of which only the "<" is
  // consumed. Returns the bytes consumed from text, or 0 when no tag stands
  // there; the tag and both flags are then unchanged. On success the name and
  // attributes are replaced and both flags written (<name/> sets both).
  // A reader parsing many tags of one text passes its memo, so tags left
  // open do not each scan the rest of the text. A caller whose text stays
  // unchanged until the next parse or Settle (a reader's buffer during its
  // parse) passes textStays: the tag then reads its name and attributes
  // from the text, and builds strings only when someone asks for them.
  int ParseTag(const char* text, bool& opening, bool& closing, bool readAttributes,
               TagParseMemo* memo = nullptr, bool textStays = false) {
    const char* openingNameEnd;
    const int length = ParseNameTag(text, opening, closing, textStays, nullptr, openingNameEnd);
    return length != 0 ? length
                       : ParseLongerTag(text, openingNameEnd, opening, closing, readAttributes,
                                        memo, textStays);
  }

  // ParseTag of the usual tag, a name alone, <name> or </name>, right at
  // text; 0 for any other text, which ParseTag reads in full. Inline and
  // calling nothing, so a caller pays only for what it reads.
  // textEnd is the text's NUL, or null when not known. When the name of
  // an opening tag ends other than at a ">", openingNameEnd is where it
  // ends; otherwise null.
  int ParseNameTag(const char* text, bool& opening, bool& closing, bool textStays,
                   const char* textEnd, const char*& openingNameEnd) {
    openingNameEnd = nullptr;
    if (*text != '<') return 0;
    const char* nameBegin = text + 1;
    const bool isOpening = html_text::IsLetter(*nameBegin);
    if (!isOpening) {
      if (*nameBegin != '/') return 0;
      ++nameBegin;
    }
    const char* nameEnd = html_text::SkipNameCharsBefore(nameBegin, textEnd);
    if (*nameEnd != '>') {
      if (isOpening) openingNameEnd = nameEnd;
      return 0;
    }
    opening = isOpening;
    closing = !isOpening;
    SetName(nameBegin, nameEnd, textStays);
    HasAttributes = false;
    UnbuiltSpans = kNoSpans;
    return static_cast<int>(nameEnd + 1 - text);
  }

  // ParseTag of a text that holds no name alone, where ParseNameTag found
  // openingNameEnd: an opening tag whose name is followed by attributes
  // takes the shortest way there.
  int ParseLongerTag(const char* text, const char* openingNameEnd, bool& opening, bool& closing,
                     bool readAttributes, TagParseMemo* memo, bool textStays);

  // ParseTag, for a reader, of an opening tag whose name follows the "<"
  // at text and ends at nameEnd, on a byte of kAttributesMayFollow: reads
  // the attributes and leaves them in the text, which stays. The usual such
  // tag is read here at the least cost, any other in full.
  int ParseAttributesInText(const char* text, const char* nameEnd, TagParseMemo& memo,
                            bool& opening, bool& closing);

  std::string GetTagName() const {
    return NameInText ? std::string(NameInText, NameLength) : Name;
  }

  // Null when the last tag had no attributes, was an end tag or was <>.
  // Building attributes left in the text may throw std::bad_alloc.
  CHTMLAttributes* GetAttributes() { return HasAttributes ? &SettledAttributes() : nullptr; }
  const CHTMLAttributes* GetAttributes() const {
    return HasAttributes ? &SettledAttributes() : nullptr;
  }

  // Copies what the tag still reads from the text into its own strings,
  // before the text goes away. Out of memory, what could not be copied is
  // left empty.
  void Settle() noexcept;

 private:
  // Where a tag ends: its ">", null when it does not end; whether it closes
  // as well and whether attributes were found for it.
  struct TagEnd {
    const char* Close = nullptr;
    bool Closing = false;
    bool WithAttributes = false;
  };

  // ParseTag in full, for any text.
  int ParseOtherTag(const char* text, bool& opening, bool& closing, bool readAttributes,
                    TagParseMemo* memo, bool textStays);
  // ParseTag of an opening tag whose name [nameBegin, nameEnd) ends other
  // than at a ">".
  int ParseOpeningTagRest(const char* text, const char* nameBegin, const char* nameEnd,
                          bool& opening, bool& closing, bool readAttributes, TagParseMemo* memo,
                          bool textStays);
  // The end of an opening tag whose name ends at nameEnd, not at a ">", and
  // the attributes found on the way.
  TagEnd FindEndAfterName(const char* text, const char* nameEnd, bool readAttributes,
                          TagParseMemo* memo, html_text::AttributeSpans& spans);

  // The attribute list, built first from the attributes left in the text.
  CHTMLAttributes& SettledAttributes() const;
  // Takes the name [begin, end), as a string or, in a text that stays, in place.
  void SetName(const char* begin, const char* end, bool textStays) {
    if (textStays) {
      NameInText = begin;
      NameLength = static_cast<std::size_t>(end - begin);
    } else {
      CopyName(begin, end);
    }
  }
  // SetName into the tag's own string; kept out of line, away from the
  // usual tag's path.
  void CopyName(const char* begin, const char* end);

  // Attributes are found first and replace the list only when the tag
  // succeeds, so a tag reuses its attributes' strings from tag to tag.
  // Built only when asked for, the list is mutable behind the const getter.
  mutable CHTMLAttributes Attributes;
  // Where a parse left the last tag's attributes unbuilt: one of the two
  // holds them while a further parse finds its own in the other.
  mutable html_text::AttributeSpans FoundSpans[2];
  mutable int UnbuiltSpans = kNoSpans;
  static constexpr int kNoSpans = -1;
  // Or the attributes were not even found yet: a usual tag's end is told
  // without them, and they are found from UnfoundFrom when asked for.
  static constexpr int kUnfound = 2;
  mutable const char* UnfoundFrom = nullptr;
  bool HasAttributes = false;
  std::string Name;  // case kept as written
  // The name as it stands in a text that stays, or in ShortName once
  // settled; null when Name holds it.
  const char* NameInText = nullptr;
  std::size_t NameLength = 0;
  // Where Settle keeps a short name: a reader settles its tag at the end of
  // every parse, and a string's assign costs about as much as parsing a
  // tag. Only the first NameLength bytes are ever read.
  char ShortName[16];
};

#endif  // INKLINE_SRC_HTML_HTML_TAG_H
