// Taking a markup document apart into its plain text and parameters.
#ifndef INKLINE_SRC_MARKUP_MARKUP_READER_H
#define INKLINE_SRC_MARKUP_MARKUP_READER_H

#include <optional>
#include <string>
#include <string_view>

#include "markup/markup_writer.h"

// What a document gives back. The body values are always read (0 when
// missing); face and colour only from a complete font start tag, the style
// only from a closing style tag.
struct MarkupReading {
  std::string Text;
  MarkupParameters Params;
  bool HasFont = false;
  bool HasStyle = false;
};

// Nothing when the document has no "<body" closed by ">".
std::optional<MarkupReading> ReadMarkup(std::string_view document);

#endif  // INKLINE_SRC_MARKUP_MARKUP_READER_H
