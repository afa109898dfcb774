#include "markup/markup_reader.h"

#include "markup/attr_value.h"
#include "markup/markup_text.h"

namespace {

constexpr std::size_t npos = std::string::npos;

// Where the first start tag `open` ("<body", "<font") at or after `from`
// begins and where its ">" is, in the lower-case copy.
struct TagSpan {
  std::size_t Begin = npos;
  std::size_t End = npos;
  bool Found() const { return Begin != npos && End != npos; }
};

TagSpan FindStartTag(const std::string& lower, const char* open, std::size_t from = 0) {
  TagSpan span;
  span.Begin = FindInText(lower, open, from);
  if (span.Begin != npos) span.End = FindInText(lower, ">", span.Begin);
  return span;
}

// The closing style tags in the order they decide the style number 1 to 4.
constexpr const char* kClosingStyleTags[] = {"</em>", "</strong>", "</u>", "</strike>"};

// Tag forms rewritten in the text, in this order; matched exactly, so only
// tags written all in lower or all in upper case.
struct TagEdit {
  const char* From;
  const char* To;
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
  const TagSpan body = FindStartTag(LowerCaseCopy(text), "<body");
  if (!body.Found()) return;
  ReplaceInText(text, text.substr(body.Begin, body.End - body.Begin + 1), "");
}

// Removes every complete font start tag; one with another "<" before its ">"
// is incomplete and stays.
void RemoveFontTags(std::string& text) {
  std::string lower = LowerCaseCopy(text);
  std::size_t from = 0;
  for (TagSpan font = FindStartTag(lower, "<font"); font.Found();
       font = FindStartTag(lower, "<font", from)) {
    const std::size_t inner = FindInText(lower, "<", font.Begin + 1);
    if (inner != npos && inner < font.End) {
      from = inner;
      continue;
    }
    text.erase(font.Begin, font.End - font.Begin + 1);
    lower.erase(font.Begin, font.End - font.Begin + 1);
    from = 0;
  }
}

}  // namespace

std::optional<MarkupReading> ReadMarkup(const std::string& document) {
  const std::string lower = LowerCaseCopy(document);
  const TagSpan body = FindStartTag(lower, "<body");
  if (!body.Found()) return std::nullopt;

  MarkupReading reading;
  ReadBody(lower.substr(body.Begin, body.End - body.Begin), reading.Params);

  const TagSpan font = FindStartTag(lower, "<font");
  if (font.Found()) {
    ReadFont(lower.substr(font.Begin, font.End - font.Begin), reading.Params);
    reading.HasFont = true;
  }

  for (short style = 1; style <= 4; ++style) {
    if (FindInText(lower, kClosingStyleTags[style - 1]) != npos) {
      reading.Params.Style = style;
      reading.HasStyle = true;
      break;
    }
  }

  reading.Text = document;
  for (const TagEdit& edit : kTagEdits) ReplaceInText(reading.Text, edit.From, edit.To);
  RemoveBodyTag(reading.Text);
  RemoveFontTags(reading.Text);
  return reading;
}
