// What a reader learns while parsing the tags of one text, so that tags left
// open cost no more than one scan of the text in all. A "<" that starts no
// complete tag is character data and the next "<" is tried; without the memo
// each try would scan on to wherever the open tag's attributes or the search
// for its ">" run out, often the end of the text.
#ifndef INKLINE_SRC_HTML_TAG_PARSE_MEMO_H
#define INKLINE_SRC_HTML_TAG_PARSE_MEMO_H

#include <memory>
#include <unordered_set>

#include "html/attribute_scan.h"
#include "html/html_text.h"
#include "html/inline_stack.h"

// Attribute chains of tags that failed. Parsing attributes from a given
// position always goes the same way, so once a chain from some attribute
// ended without the tag's ">", any later tag whose chain reaches that
// attribute fails as well.
class AttributeChainMemo {
 public:
  // Whether a chain reaching the attribute named at nameBegin is known to fail.
  bool KnownToFail(const char* nameBegin) const {
    return KnowsFailures() && Failing->count(nameBegin) != 0;
  }
  // Whether any chain that can still be met is known to fail.
  bool KnowsFailures() const { return Failing && !Failing->empty(); }
  // Starts a tag at tagStart: failures wholly before it can no longer be met.
  void BeginTag(const char* tagStart) {
    Pending.Clear();
    if (tagStart > FailingUpTo && Failing && !Failing->empty()) Failing->clear();
  }
  // The current tag parsed an attribute named at nameBegin.
  void Parsed(const char* nameBegin) { Pending.Push(nameBegin); }
  // The current tag's attributes did not end at its ">".
  void TagFailed() {
    for (std::size_t i = 0; i < Pending.Size(); ++i) Fails(Pending[i]);
    Pending.Clear();
  }
  // TagFailed for a tag that noted its attributes not one by one but as the
  // spans it found: those hold where each attribute's name begins.
  void TagFailed(const html_text::AttributeSpans& parsed) {
    for (std::size_t i = 0; i < parsed.Size(); ++i) Fails(parsed[i].NameBegin);
    Pending.Clear();
  }
  void Forget() {
    if (Failing) Failing->clear();
    Pending.Clear();
    FailingUpTo = nullptr;
  }

 private:
  void Fails(const char* nameBegin) {
    // Made at the first failure: most texts have none, and a reader is made
    // for every rich-text string.
    if (!Failing) Failing = std::make_unique<std::unordered_set<const char*>>();
    Failing->insert(nameBegin);
    if (nameBegin > FailingUpTo) FailingUpTo = nameBegin;
  }

  std::unique_ptr<std::unordered_set<const char*>> Failing;
  // The attributes the current tag parsed so far, for callers that note them
  // one by one.
  InlineStack<const char*, 16> Pending;
  const char* FailingUpTo = nullptr;
};

struct TagParseMemo {
  html_text::CharSearchMemo CloseSearch{'>'};
  AttributeChainMemo Chains;
  // The text's terminating NUL, when the reader knows it: a tag may then
  // classify its bytes a block at a time, up to there.
  const char* TextEnd = nullptr;

  // Needed before parsing another text.
  void Forget() {
    CloseSearch.Forget();
    Chains.Forget();
    TextEnd = nullptr;
  }
};

#endif  // INKLINE_SRC_HTML_TAG_PARSE_MEMO_H
