// One parsed markup tag: its name and attributes. A reader reuses one tag
// object for every tag of a document.
#ifndef INKLINE_SRC_HTML_HTML_TAG_H
#define INKLINE_SRC_HTML_HTML_TAG_H

#include <memory>
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
  CHTMLAttributes* GetAttributes() const { return HasAttributes ? Attributes.get() : nullptr; }

 private:
  std::unique_ptr<CHTMLAttributes> Attributes;
  // Attributes are parsed into this object, which trades places with
  // Attributes when the tag succeeds: tags reuse two objects and their lists.
  std::unique_ptr<CHTMLAttributes> Spare;
  bool HasAttributes = false;
  std::string Name;  // case kept as written
};

#endif  // INKLINE_SRC_HTML_HTML_TAG_H
