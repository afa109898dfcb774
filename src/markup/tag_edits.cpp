#include "markup/tag_edits.h"

#include <cstddef>

#include "markup/markup_scan.h"
#include "markup/markup_text.h"

namespace {

struct TagEdit {
  std::string_view From;
  std::string_view To;
};
constexpr TagEdit kTagEdits[] = {
    {"<p>", "\r\n"}, {"</p>", ""},     {"<sup>", ""},     {"</sup>", ""},    {"<sub>", ""},
    {"</sub>", ""},  {"<strong>", ""}, {"</strong>", ""}, {"<em>", ""},      {"</em>", ""},
    {"<u>", ""},     {"</u>", ""},     {"<strike>", ""},  {"</strike>", ""}, {"</body>", ""},
    {"</font>", ""}, {"<P>", "\r\n"},  {"</P>", ""},      {"<SUP>", ""},     {"</SUP>", ""},
    {"<SUB>", ""},   {"</SUB>", ""},   {"<STRONG>", ""},  {"</STRONG>", ""}, {"<EM>", ""},
    {"</EM>", ""},   {"<U>", ""},      {"</U>", ""},      {"<STRIKE>", ""},  {"</STRIKE>", ""},
    {"</BODY>", ""}, {"</FONT>", ""},
};
constexpr std::size_t kLongestEdit = 9;  // "</STRONG>"

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The edit whose tag stands at `pos` (a "<"), or null.
const TagEdit* EditAt(std::string_view text, std::size_t pos) {
  std::size_t end = pos + 1;
  if (end < text.size() && text[end] == '/') ++end;
  while (end < text.size() && end - pos < kLongestEdit && IsAsciiLetter(text[end])) ++end;
  if (end >= text.size() || text[end] != '>') return nullptr;
  const std::string_view tag = text.substr(pos, end + 1 - pos);
  for (const TagEdit& edit : kTagEdits) {
    if (edit.From == tag) return &edit;
  }
  return nullptr;
}

std::string EditPassByPass(std::string_view text) {
  std::string edited(text);
  for (const TagEdit& edit : kTagEdits) {
    ReplaceInText(edited, std::string(edit.From), std::string(edit.To));
  }
  return edited;
}

}  // namespace

// Tags of the table cannot overlap (each is "<", letters or "/", ">"), so one
// pass finding them in the original text finds exactly what the passes find,
// unless a removal joins a "<" before it with what follows into a tag a later
// pass would find. That takes an unclosed "<" just before the removal; then
// the passes are made one by one.
std::string ApplyTagEdits(std::string_view text) {
  constexpr std::size_t npos = std::string::npos;
  std::string out;
  out.reserve(text.size());
  std::size_t openAt = npos;  // in out: a "<" not followed by ">"
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '<') {
      if (const TagEdit* edit = EditAt(text, i)) {
        if (edit->To.empty() && openAt != npos && out.size() - openAt < kLongestEdit) {
          return EditPassByPass(text);
        }
        // No tag of the table holds a CR or LF, so none can span them.
        if (!edit->To.empty()) openAt = npos;
        out += edit->To;
        i += edit->From.size();
        continue;
      }
      openAt = out.size();
    } else if (c == '>') {
      openAt = npos;
    }
    const std::size_t size = CharSizeAt(text, i);
    out.append(text, i, size);
    i += size;
  }
  return out;
}
