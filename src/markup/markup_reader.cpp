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

// The tag's text from its "<" up to its ">", lower-cased, as the attribute
// reader takes it; written over `lower`, so one buffer serves both tags.
const std::string& LowerTagText(std::string_view text, const TagSpan& span, std::string& lower) {
  lower.assign(text.data() + span.Begin, span.End - span.Begin);
  LowerCaseInPlace(lower);
  return lower;
}

void ReadBody(const std::string& tag, MarkupParameters& params) {
  params.Bgcolor = GetAttrValue<int>(tag, "bgcolor", kAttrInteger);
  params.Angle = GetAttrValue<float>(tag, "angle", kAttrReal);
  params.Space = GetAttrValue<float>(tag, "space", kAttrReal);
  params.Size = GetAttrValue<double>(tag, "size", kAttrReal);
  params.Hvpl = GetAttrValue<char>(tag, "hvpl", kAttrInteger);
}

void ReadFont(const std::string& tag, MarkupParameters& params) {
  params.Face = GetAttrValue<short>(tag, "face", kAttrInteger);
  params.Color = GetAttrValue<int>(tag, "color", kAttrInteger);
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
  const std::string bodyTag =
      body.Found() ? text.substr(body.Begin, body.End - body.Begin + 1) : std::string();
  InlineStack<std::size_t, 32> brackets;  // positions in the text kept so far
  std::size_t kept = 0;  // text before this is kept
  std::size_t done = 0;  // text before this has been read
  auto keep = [&](std::size_t end) {
    if (kept != done) std::memmove(&text[kept], text.data() + done, end - done);
    kept += end - done;
    done = end;
  };
  for (std::size_t i = FindAngleBracket(text); i != npos; i = FindAngleBracket(text, i + 1)) {
    keep(i);
    if (text[i] == '<' && !bodyTag.empty() && text.compare(i, bodyTag.size(), bodyTag) == 0) {
      done = i + bodyTag.size();
      i = done - 1;
      continue;
    }
    if (text[i] == '>' && !brackets.Empty() && text[brackets.Top()] == '<' &&
        TagAt(std::string_view(text).substr(0, kept), brackets.Top(), "<font")) {
      kept = brackets.Top();
      brackets.Pop();
      done = i + 1;
      continue;
    }
    brackets.Push(kept);
    keep(i + 1);
  }
  keep(text.size());
  text.resize(kept);
}

}  // namespace

std::optional<MarkupReading> ReadMarkup(std::string_view document) {
  const TagSpan body = FindStartTag(document, "<body");
  if (!body.Found()) return std::nullopt;

  MarkupReading reading;
  std::string tagText;
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
