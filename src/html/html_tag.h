// One parsed markup tag: its name and attributes. A reader reuses one tag
// object for every tag of a document.
#ifndef INKLINE_SRC_HTML_HTML_TAG_H
#define INKLINE_SRC_HTML_HTML_TAG_H

#include <string>

#include "html/html_attributes.h"
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
  // open do not each scan the rest of the text.
  int ParseTag(const char* text, bool& opening, bool& closing, bool readAttributes,
               TagParseMemo* memo = nullptr);

  std::string GetTagName() const { return Name; }

  // Null when the last tag had no attributes, was an end tag or was <>.
  CHTMLAttributes* GetAttributes() { return HasAttributes ? &Attributes : nullptr; }
  const CHTMLAttributes* GetAttributes() const { return HasAttributes ? &Attributes : nullptr; }

 private:
  // Where a tag ends: its ">", null when it does not end; whether it closes
  // as well and whether attributes were found for it.
  struct TagEnd {
    const char* Close = nullptr;
    bool Closing = false;
    bool WithAttributes = false;
  };

  // ParseTag of an opening tag whose name [nameBegin, nameEnd) ends other
  // than at a ">".
  int ParseOpeningTagRest(const char* text, const char* nameBegin, const char* nameEnd,
                          bool& opening, bool& closing, bool readAttributes, TagParseMemo* memo);
  // The end of an opening tag whose name ends at nameEnd, not at a ">", and
  // the attributes found on the way.
  TagEnd FindEndAfterName(const char* text, const char* nameEnd, bool readAttributes,
                          TagParseMemo* memo, html_text::AttributeSpans& spans);

  // Attributes are found first and replace the list only when the tag
  // succeeds, so a tag reuses its attributes' strings from tag to tag.
  CHTMLAttributes Attributes;
  bool HasAttributes = false;
  std::string Name;  // case kept as written
};

#endif  // INKLINE_SRC_HTML_HTML_TAG_H
