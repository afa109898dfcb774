#include "markup/markup_reader.h"

#include <cstring>

#include "html/inline_stack.h"
#include "markup/attr_value.h"
#include "markup/markup_scan.h"
#include "markup/markup_text.h"
#include "markup/tag_edits.h"

namespace {

constexpr std::size_t npos = std::string::npos;

// Where the first start tag `open` ("<body", "<font") at or after `from`
// begins and where its ">" is.
struct TagSpan {
  std::size_t Begin = npos;
  std::size_t End = npos;
  bool Found() const { return Begin != npos && End != npos; }
};

TagSpan FindStartTag(std::string_view text, std::string_view open) {
  TagSpan span;
  span.Begin = FindTag(text, open);
  if (span.Begin != npos) span.End = FindTag(text, ">", span.Begin);
  return span;
}

// A copy of a stretch of text with a NUL after it: on the stack when it is
// as short as tags mostly are, so that a document's tags cost no allocation.
class TextCopy {
 public:
  TextCopy() = default;
  TextCopy(const TextCopy&) = delete;
  TextCopy& operator=(const TextCopy&) = delete;

  // Copies [begin, begin + size), a stretch of another text, over what was held.
  void Assign(const char* begin, std::size_t size) {
    if (size < sizeof Local) {
      std::memcpy(Local, begin, size);
      Local[size] = '\0';
      Begin = Local;
    } else {
      Heap.assign(begin, size);
      Begin = Heap.data();
    }
    Size = size;
  }
  char* Data() { return Begin; }
  std::string_view View() const { return {Begin, Size}; }

 private:
  char Local[256];
  std::string Heap;
  char* Begin = Local;
  std::size_t Size = 0;
};

// The tag's text from its "<" up to its ">", lower-cased, as the attribute
// reader takes it, with a NUL after it; written over `lower`, so one copy
// serves both tags.
std::string_view LowerTagText(std::string_view text, const TagSpan& span, TextCopy& lower) {
  lower.Assign(text.data() + span.Begin, span.End - span.Begin);
  LowerCaseInPlace(lower.Data(), span.End - span.Begin);
  return lower.View();
}

// The value of the attribute `name` in the tag text, as GetAttrValue reads it.
// The names here are ASCII letters, so the "=" is looked for after the name.
template <typename T>
T AttrValue(std::string_view tag, std::string_view name, short kind) {
  const std::size_t at = FindInText(tag, name);
  return AttrValueAt<T>(tag, at == npos ? npos : at + name.size(), kind);
}

void ReadBody(std::string_view tag, MarkupParameters& params) {
  params.Bgcolor = AttrValue<int>(tag, "bgcolor", kAttrInteger);
  params.Angle = AttrValue<float>(tag, "angle", kAttrReal);
  params.Space = AttrValue<float>(tag, "space", kAttrReal);
  params.Size = AttrValue<double>(tag, "size", kAttrReal);
  params.Hvpl = AttrValue<char>(tag, "hvpl", kAttrInteger);
}

void ReadFont(std::string_view tag, MarkupParameters& params) {
  params.Face = AttrValue<short>(tag, "face", kAttrInteger);
  params.Color = AttrValue<int>(tag, "color", kAttrInteger);
}

// Removes the first body start tag with every identical copy of it, left to
// right, and then every complete font start tag ("<font", then no "<" before
// its ">"), leftmost first, until none is left: a removal can complete the
// tag around it, or join two pieces into a new one.
//
// One walk over the brackets does both. A copy of the body tag starts with
// "<" and ends with ">", so skipping each copy where the walk meets its "<"
// leaves the brackets the font removal would see after the copies are gone.
// Font removals never overlap and never spoil one another, so removing each
// tag as soon as its ">" is read leaves the same text. The stack holds the
// positions of "<" and ">" in the text kept so far, which is written over
// the text itself.
void RemoveBodyAndFontTags(std::string& text) {
  const TagSpan body = FindStartTag(text, "<body");
  TextCopy bodyCopy;  // the text below is written over as it is read
  if (body.Found()) bodyCopy.Assign(text.data() + body.Begin, body.End - body.Begin + 1);
  const std::string_view bodyTag = bodyCopy.View();
  InlineStack<std::size_t, 32> brackets;  // positions in the text kept so far
  // The text kept so far is text[0, moved), in its place, then the run
  // text[runBegin, done) read since the last removal, which moves down only
  // when a removal ends it: a document moves a few stretches, not one a tag.
  std::size_t moved = 0;
  std::size_t runBegin = 0;
  std::size_t done = 0;  // text before this has been read
  const auto keptSize = [&] { return moved + (done - runBegin); };
  // Keeps the first keptEnd bytes of the text kept so far and reads on at resume.
  const auto cut = [&](std::size_t keptEnd, std::size_t resume) {
    if (keptEnd > moved && moved != runBegin) {
      std::memmove(&text[moved], text.data() + runBegin, keptEnd - moved);
    }
    moved = keptEnd;
    runBegin = done = resume;
  };
  // Whether a font start tag begins at the kept text's position open.
  const auto fontTagAt = [&](std::size_t open) {
    if (open < moved) {
      cut(keptSize(), done);  // the run moved into place: the kept text is whole
      return text[open] == '<' && TagAt(std::string_view(text.data(), moved), open, "<font");
    }
    const std::string_view run(text.data() + runBegin, done - runBegin);
    return run[open - moved] == '<' && TagAt(run, open - moved, "<font");
  };
  for (std::size_t i = FindAngleBracket(text); i != npos; i = FindAngleBracket(text, i + 1)) {
    done = i;
    if (text[i] == '<' && !bodyTag.empty() &&
        std::string_view(text).substr(i, bodyTag.size()) == bodyTag) {
      cut(keptSize(), i + bodyTag.size());
      i = done - 1;
      continue;
    }
    if (text[i] == '>' && !brackets.Empty() && fontTagAt(brackets.Top())) {
      const std::size_t open = brackets.Top();
      brackets.Pop();
      cut(open, i + 1);
      continue;
    }
    brackets.Push(keptSize());
    done = i + 1;
  }
  done = text.size();
  cut(keptSize(), text.size());
  text.resize(moved);
}

}  // namespace

std::optional<MarkupReading> ReadMarkup(std::string_view document) {
  const TagSpan body = FindStartTag(document, "<body");
  if (!body.Found()) return std::nullopt;

  MarkupReading reading;
  TextCopy tagText;
  ReadBody(LowerTagText(document, body, tagText), reading.Params);

  const TagSpan font = FindStartTag(document, "<font");
  if (font.Found()) {
    ReadFont(LowerTagText(document, font, tagText), reading.Params);
    reading.HasFont = true;
  }

  EditedText edited = ApplyTagEdits(document);
  if (edited.ClosingStyle != 0) {
    reading.Params.Style = edited.ClosingStyle;
    reading.HasStyle = true;
  }
  reading.Text = std::move(edited.Text);
  RemoveBodyAndFontTags(reading.Text);
  return reading;
}
