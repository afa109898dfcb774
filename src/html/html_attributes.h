// The ordered attributes of one tag.
#ifndef INKLINE_SRC_HTML_HTML_ATTRIBUTES_H
#define INKLINE_SRC_HTML_HTML_ATTRIBUTES_H

#include <cstddef>
#include <vector>

#include "html/attribute_scan.h"
#include "html/html_elem_attr.h"
#include "html/tag_parse_memo.h"

class CHTMLAttributes {
 public:
  CHTMLAttributes() = default;
  virtual ~CHTMLAttributes();
  CHTMLAttributes(const CHTMLAttributes&) = delete;
  CHTMLAttributes& operator=(const CHTMLAttributes&) = delete;

  // Parses as many attributes as stand at text, in order, duplicates kept.
  // Returns the bytes consumed, or 0 when not even one parsed; the old list
  // is then kept. With a memo, each attribute parsed is noted in it, and
  // reaching one known to end a failed tag stops the parse with
  // kKnownToFail (the list is then kept as well).
  int ParseAttributes(const char* text, AttributeChainMemo* memo = nullptr);
  static constexpr int kKnownToFail = -1;

  // ParseAttributes in two steps, for a tag that keeps its old list until it
  // knows the whole tag parses: the attributes are parsed aside, and replace
  // the list only when committed. Another parse drops what was set aside.
  int ParseAside(const char* text, AttributeChainMemo* memo = nullptr);
  void CommitAside();

  // 0 when there is no list.
  int GetCount() const;
  // A copy of the attribute at a 0-based index; an empty attribute for an
  // index out of range.
  CHTMLElemAttr GetAttribute(int index) const;
  // Deletes every attribute and the list itself.
  void RemoveAll();

  // The list exists only while it holds attributes.
  bool HasList() const { return ListCount > 0; }

 private:
  // A tag finds its attributes first and hands them over once it parses.
  friend class CHTMLTag;
  // Replaces the list with attributes already found in a text (at least
  // one), writing them over the old ones' strings. Running out of memory
  // throws before any attribute changes.
  void Assign(const html_text::AttributeSpans& spans);

  using AttributeList = std::vector<CHTMLElemAttr>;
  AttributeList List;  // the first ListCount are the attributes
  std::size_t ListCount = 0;
  // Where a parse collects its attributes before they replace the list; kept
  // with its elements, so a reused object parses without allocating.
  AttributeList Aside;
  std::size_t AsideCount = 0;
};

#endif  // INKLINE_SRC_HTML_HTML_ATTRIBUTES_H
