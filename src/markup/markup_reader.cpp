#include "markup/markup_reader.h"

#include <cstring>
#include <vector>

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
// reader takes it.
std::string LowerTagText(std::string_view text, const TagSpan& span) {
  return LowerCaseCopy(std::string(text.substr(span.Begin, span.End - span.Begin)));
}

// The closing style tags in the order they decide the style number 1 to 4.
constexpr std::string_view kClosingStyleTags[] = {"</em>", "</strong>", "</u>", "</strike>"};

// The number of the first closing style tag of that order found anywhere,
// or 0.
short FirstClosingStyle(std::string_view text) {
  short best = 0;
  for (std::size_t i = FindTag(text, "</"); i != npos; i = FindTag(text, "</", i + 2)) {
    for (short style = 1; style <= 4 && (best == 0 || style < best); ++style) {
      if (TagAt(text, i, kClosingStyleTags[style - 1])) best = style;
    }
    if (best == 1) break;
  }
  return best;
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

// Removes the first body start tag and every identical copy of it.
void RemoveBodyTag(std::string& text) {
  const TagSpan body = FindStartTag(text, "<body");
  if (!body.Found()) return;
  RemoveFromText(text, text.substr(body.Begin, body.End - body.Begin + 1));
}

// Removes every complete font start tag ("<font", then no "<" before its
// ">"), leftmost first, until none is left: a removal can complete the tag
// around it, or join two pieces into a new one. Removals never overlap and
// never spoil one another, so removing each tag as soon as its ">" is read
// leaves the same text. The stack holds the positions of "<" and ">" in the
// text kept so far, which is written over the text itself.
void RemoveFontTags(std::string& text) {
  std::vector<std::size_t> brackets;
  std::size_t kept = 0;  // text before this is kept
  std::size_t done = 0;  // text before this has been read
  auto keep = [&](std::size_t end) {
    std::memmove(&text[kept], text.data() + done, end - done);
    kept += end - done;
    done = end;
  };
  for (std::size_t i = FindAngleBracket(text); i != npos; i = FindAngleBracket(text, i + 1)) {
    keep(i);
    if (text[i] == '>' && !brackets.empty() && text[brackets.back()] == '<' &&
        TagAt(std::string_view(text).substr(0, kept), brackets.back(), "<font")) {
      kept = brackets.back();
      brackets.pop_back();
      done = i + 1;
      continue;
    }
    brackets.push_back(kept);
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
  ReadBody(LowerTagText(document, body), reading.Params);

  const TagSpan font = FindStartTag(document, "<font");
  if (font.Found()) {
    ReadFont(LowerTagText(document, font), reading.Params);
    reading.HasFont = true;
  }

  if (const short style = FirstClosingStyle(document)) {
    reading.Params.Style = style;
    reading.HasStyle = true;
  }

  reading.Text = ApplyTagEdits(document);
  RemoveBodyTag(reading.Text);
  RemoveFontTags(reading.Text);
  return reading;
}
