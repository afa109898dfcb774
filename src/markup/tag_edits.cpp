#include "markup/tag_edits.h"

#include <cstddef>
#include <cstdint>

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

// What an edit or a style needs to know of the tag at a "<": "<" or "</",
// then up to six ASCII letters, lower-cased, and whether a ">" follows them.
struct TagNameAt {
  bool EndTag = false;
  bool Closed = false;   // the letters end at a ">"
  bool OneCase = false;  // written all in lower or all in upper case
  std::size_t Size = 0;  // bytes from the "<" through the ">"
  char Lowered[6] = {};
  std::size_t Length = 0;
  std::string_view Name() const { return {Lowered, Length}; }
};

TagNameAt ReadTagNameAt(std::string_view text, std::size_t pos) {
  TagNameAt tag;
  std::size_t begin = pos + 1;
  tag.EndTag = begin < text.size() && text[begin] == '/';
  if (tag.EndTag) ++begin;
  bool lower = true, upper = true;
  std::size_t end = begin;
  for (; end < text.size() && end - begin < sizeof tag.Lowered && IsAsciiLetter(text[end]);
       ++end) {
    const char c = text[end];
    (c >= 'a' ? upper : lower) = false;
    tag.Lowered[end - begin] = static_cast<char>(c | 0x20);
  }
  tag.Length = end - begin;
  tag.Closed = tag.Length > 0 && end < text.size() && text[end] == '>';
  tag.OneCase = lower || upper;
  tag.Size = end + 1 - pos;
  return tag;
}

// A bit for each letter, either case, that starts a name of the table's
// start tags or of its end tags.
constexpr std::uint32_t FirstLetters(bool endTags) {
  std::uint32_t bits = 0;
  for (const TagEdit& edit : kTagEdits) {
    const bool endTag = edit.From[1] == '/';
    if (endTag == endTags) bits |= std::uint32_t{1} << ((edit.From[endTag ? 2 : 1] | 0x20) - 'a');
  }
  return bits;
}
constexpr std::uint32_t kStartLetters = FirstLetters(false);
constexpr std::uint32_t kEndLetters = FirstLetters(true);

// Whether the letter after the "<" at pos (or after "</") starts a name an
// edit or a closing style looks at: most tags are ruled out without reading
// their names. Every closing style tag is an edit's end tag as well.
bool MayBeEdited(std::string_view text, std::size_t pos) {
  std::size_t at = pos + 1;
  const bool endTag = at < text.size() && text[at] == '/';
  at += endTag;
  if (at >= text.size() || !IsAsciiLetter(text[at])) return false;
  return ((endTag ? kEndLetters : kStartLetters) >> ((text[at] | 0x20) - 'a') & 1) != 0;
}

// An edit found in the text: the bytes of its tag and what replaces them.
struct EditMatch {
  std::size_t Size = 0;  // 0: no edit applies
  std::string_view To;
};

// The edit of the tag. The same answer as looking the tag up in the table,
// without 32 comparisons for every "<".
EditMatch EditOf(const TagNameAt& tag) {
  if (!tag.Closed || !tag.OneCase || !IsEditedName(tag.Name(), tag.EndTag)) return {};
  return {tag.Size, !tag.EndTag && tag.Name() == "p" ? "\r\n" : ""};
}

// The closing style tags in the order they decide the style number 1 to 4.
constexpr std::string_view kClosingStyleNames[] = {"em", "strong", "u", "strike"};

// MayBeEdited lets every closing style tag through.
constexpr bool EndLettersTakeClosingStyles() {
  for (std::string_view name : kClosingStyleNames)
    if ((kEndLetters >> (name[0] - 'a') & 1) == 0) return false;
  return true;
}
static_assert(EndLettersTakeClosingStyles(), "a closing style tag would be passed unread");

// The style number a closing style tag stands for, in any letter case; 0
// for any other tag.
short ClosingStyleOf(const TagNameAt& tag) {
  if (!tag.EndTag || !tag.Closed) return 0;
  for (short style = 1; style <= 4; ++style) {
    if (tag.Name() == kClosingStyleNames[style - 1]) return style;
  }
  return 0;
}

// The lower of two style numbers, where 0 means none.
short FirstStyle(short a, short b) { return a == 0 || (b != 0 && b < a) ? b : a; }

short FirstClosingStyle(std::string_view text) {
  short best = 0;
  for (std::size_t i = FindAscii(text, '<'); i != std::string_view::npos && best != 1;
       i = FindAscii(text, '<', i + 1)) {
    best = FirstStyle(best, ClosingStyleOf(ReadTagNameAt(text, i)));
  }
  return best;
}

std::string EditPassByPass(std::string_view text) {
  std::string edited(text);
  for (const TagEdit& edit : kTagEdits) {
    ReplaceInText(edited, std::string(edit.From), std::string(edit.To));
  }
  return edited;
}

// The high bit of every byte of word that equals c.
std::uint64_t BytesEqual(std::uint64_t word, char c) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;
  const std::uint64_t x = word ^ (0x0101010101010101u * static_cast<unsigned char>(c));
  return ~(((x & kLow7) + kLow7) | x | kLow7);  // exact: no carry leaves a byte
}

// Whether the text ends with a "<" that a later tag of the table could still
// begin: one with no ">" after it, close enough to the end.
bool EndsInOpenTag(const std::string& text) {
  static_assert(kLongestEdit - 1 == 8, "the window is one word");
  if (text.size() >= 8) {
    // The last eight bytes as one word, the last byte highest: the last "<"
    // stands after the last ">" when its bit is the higher.
    const auto* last = reinterpret_cast<const unsigned char*>(text.data()) + text.size() - 8;
    std::uint64_t word = 0;
    for (int k = 7; k >= 0; --k) word = word << 8 | last[k];
    return BytesEqual(word, '<') > BytesEqual(word, '>');
  }
  for (std::size_t k = text.size(); k > 0; --k) {
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
EditedText ApplyTagEdits(std::string_view text) {
  EditedText edited;
  std::string& out = edited.Text;
  out.reserve(text.size());
  std::size_t done = 0;  // text before this is in out
  for (std::size_t i = FindAscii(text, '<'); i != std::string_view::npos;
       i = FindAscii(text, '<', i)) {
    if (!MayBeEdited(text, i)) {
      ++i;
      continue;
    }
    const TagNameAt tag = ReadTagNameAt(text, i);
    edited.ClosingStyle = FirstStyle(edited.ClosingStyle, ClosingStyleOf(tag));
    const EditMatch edit = EditOf(tag);
    if (edit.Size == 0) {
      ++i;
      continue;
    }
    out.append(text, done, i - done);
    if (edit.To.empty() && EndsInOpenTag(out)) {
      return {EditPassByPass(text), FirstClosingStyle(text)};
    }
    out += edit.To;
    i += edit.Size;
    done = i;
  }
  out.append(text, done, std::string_view::npos);
  return edited;
}
