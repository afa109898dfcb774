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

// An edit found in the text: the bytes of its tag and what replaces them.
struct EditMatch {
  std::size_t Size = 0;  // 0: no edit applies
  std::string_view To;
};

// Whether a lower-cased tag name is one of the table's: the paragraph and
// style names start and end tags, body and font only end tags.
bool IsEditedName(std::string_view name, bool endTag) {
  switch (name.size()) {
    case 1:
      return name[0] == 'p' || name[0] == 'u';
    case 2:
      return name == "em";
    case 3:
      return name == "sup" || name == "sub";
    case 4:
      return endTag && (name == "body" || name == "font");
    case 6:
      return name == "strong" || name == "strike";
    default:
      return false;
  }
}

// The edit whose tag stands at `pos` (a "<"). The same answer as looking the
// tag up in the table, without 32 comparisons for every "<".
EditMatch EditAt(std::string_view text, std::size_t pos) {
  std::size_t begin = pos + 1;
  const bool endTag = begin < text.size() && text[begin] == '/';
  if (endTag) ++begin;
  char name[6];
  bool lower = true, upper = true;
  std::size_t end = begin;
  for (; end < text.size() && end - begin < sizeof name && IsAsciiLetter(text[end]); ++end) {
    const char c = text[end];
    (c >= 'a' ? upper : lower) = false;
    name[end - begin] = static_cast<char>(c | 0x20);
  }
  if (end == begin || end >= text.size() || text[end] != '>' || !(lower || upper)) return {};
  const std::string_view lowered(name, end - begin);
  if (!IsEditedName(lowered, endTag)) return {};
  return {end + 1 - pos, !endTag && lowered == "p" ? "\r\n" : ""};
}

std::string EditPassByPass(std::string_view text) {
  std::string edited(text);
  for (const TagEdit& edit : kTagEdits) {
    ReplaceInText(edited, std::string(edit.From), std::string(edit.To));
  }
  return edited;
}

// Whether the text ends with a "<" that a later tag of the table could still
// begin: one with no ">" after it, close enough to the end.
bool EndsInOpenTag(const std::string& text) {
  const std::size_t window = text.size() < kLongestEdit ? text.size() : kLongestEdit - 1;
  for (std::size_t k = text.size(); k > text.size() - window; --k) {
    if (text[k - 1] == '>') return false;
    if (text[k - 1] == '<') return true;
  }
  return false;
}

}  // namespace

// Tags of the table cannot overlap (each is "<", letters or "/", ">"), so one
// pass finding them in the original text finds exactly what the passes find,
// unless a removal joins a "<" before it with what follows into a tag a later
// pass would find. That takes an open "<" just before the removal; then the
// passes are made one by one.
std::string ApplyTagEdits(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t done = 0;  // text before this is in out
  for (std::size_t i = FindAscii(text, '<'); i != std::string_view::npos;
       i = FindAscii(text, '<', i)) {
    const EditMatch edit = EditAt(text, i);
    if (edit.Size == 0) {
      ++i;
      continue;
    }
    out.append(text, done, i - done);
    if (edit.To.empty() && EndsInOpenTag(out)) return EditPassByPass(text);
    out += edit.To;
    i += edit.Size;
    done = i;
  }
  out.append(text, done, std::string_view::npos);
  return out;
}
