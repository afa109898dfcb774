// Rich-text markup cut into the pieces a shaper treats apart: text it may
// shape, and tags, comments and character references it must leave as they
// are, so the library's reader still finds them.
#ifndef INKLINE_HOST_SHAPING_MARKUP_PIECES_H
#define INKLINE_HOST_SHAPING_MARKUP_PIECES_H

#include <string>
#include <vector>

namespace shaping {

struct MarkupPiece {
  size_t start, length;  // bytes of the markup
  bool text;             // shapeable text, else markup to keep
};

// The pieces of markup in order; together they cover it.
std::vector<MarkupPiece> MarkupPieces(const std::string& markup);

}  // namespace shaping

#endif  // INKLINE_HOST_SHAPING_MARKUP_PIECES_H
