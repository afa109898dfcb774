// Search and replace on text in the host's double-byte code page, where a
// byte with the high bit set starts a two-byte character. Matches start only
// at character starts, so the second byte of a character never begins one.
#ifndef INKLINE_SRC_MARKUP_MARKUP_TEXT_H
#define INKLINE_SRC_MARKUP_MARKUP_TEXT_H

#include <cstddef>
#include <string>
#include <string_view>

// A copy with the letters A to Z lowered and every two-byte character kept as
// it is; same length, same character positions.
std::string LowerCaseCopy(std::string text);
// The same, in place.
void LowerCaseInPlace(std::string& text);
void LowerCaseInPlace(char* text, std::size_t size);

// The first character position at or after `from` (a character start) where
// `what` begins, or npos. An empty `what` is found at `from`.
std::size_t FindInText(std::string_view text, std::string_view what, std::size_t from = 0);

// Replaces every occurrence of `what`, left to right and without overlap, by
// `with`; the replacements are not searched again. Returns how many.
std::size_t ReplaceInText(std::string& text, const std::string& what, const std::string& with);

#endif  // INKLINE_SRC_MARKUP_MARKUP_TEXT_H
