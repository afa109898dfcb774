// The tag forms the reverse conversion rewrites in a document's text.
#ifndef INKLINE_SRC_MARKUP_TAG_EDITS_H
#define INKLINE_SRC_MARKUP_TAG_EDITS_H

#include <string>
#include <string_view>

// A document's text after the tag edits, and the style its closing tags set.
struct EditedText {
  std::string Text;
  // The first of "</em>", "</strong>", "</u>", "</strike>" (1 to 4, in that
  // order, in any letter case) found anywhere in the document; 0 for none.
  short ClosingStyle = 0;
};

// The text after each edit of the table (paragraph tags to CR LF; style,
// sub/superscript, body and font end tags removed; matched exactly, so only
// tags written all in lower or all in upper case) was made as a pass of its
// own over the whole text, in table order, each pass leaving what it wrote
// or joined for the later passes only.
EditedText ApplyTagEdits(std::string_view text);

#endif  // INKLINE_SRC_MARKUP_TAG_EDITS_H
