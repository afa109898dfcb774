#include "html/html_reader.h"

#include <cstring>

#include "html/html_text.h"

using html_text::IsWhiteSpace;

CHTMLReader::~CHTMLReader() = default;

int CHTMLReader::ReadText(const char* text) {
  if (text == nullptr || *text == '\0') return 0;
  Position = 0;
  Buffer = text;
  BufferLength = static_cast<uint32_t>(std::strlen(text));
  return ParseDocument();
}

bool CHTMLReader::ReadTag(CHTMLTag& tag, bool& opening, bool& closing) {
  const int length = tag.ParseTag(Buffer + Position, opening, closing, true, &TagMemo);
  if (length == 0) return false;
  Position += static_cast<uint32_t>(length);
  return true;
}

void CHTMLReader::FilterText(std::string&) {}

int CHTMLReader::ParseDocument() {
  std::string text;  // character data collected since the last tag
  CHTMLTag tag;      // serves every tag of the parse
  if (Buffer == nullptr || BufferLength == 0) return 0;

  Position = 0;
  TagMemo.Forget();
  bool abort = false;
  // The pending run is Buffer[runStart, Position): bytes are copied into
  // text only when a reference, a tag or the end closes the run.
  uint32_t runStart = 0;
  auto closeRun = [&] {
    text.append(Buffer + runStart, Position - runStart);
  };

  if (Sends(IHTMLReaderEvents::kParseEvents)) EventSink->OnParseBegin(AppData, abort);
  if (!abort) {
    while (Position < BufferLength && IsWhiteSpace(Buffer[Position])) ++Position;
    runStart = Position;

    for (;;) {
      if (Position >= BufferLength) {
        // The end of the text: only here is trailing white space trimmed.
        if (Position > runStart || !text.empty()) {
          closeRun();
          FilterText(text);
          while (!text.empty() && IsWhiteSpace(text.back())) text.pop_back();
          if (!text.empty() && Sends(IHTMLReaderEvents::kTextEvents)) {
            abort = false;
            EventSink->OnText(text, AppData, abort);
          }
        }
        break;
      }

      const char c = Buffer[Position];
      if (c == '&') {
        char resolved = 0;
        const int length =
            ResolveEntities ? EntityResolver.ResolveEntity(Buffer + Position, resolved) : 0;
        if (length > 0) {
          closeRun();
          text.push_back(resolved);
          Position += static_cast<uint32_t>(length);
          runStart = Position;
        } else {
          ++Position;
        }
        continue;
      }
      if (c != '<') {
        // Ordinary character data up to the next "<" or "&".
        Position = static_cast<uint32_t>(
            html_text::FindMarkupStart(Buffer + Position + 1, Buffer + BufferLength) - Buffer);
        continue;
      }

      const uint32_t tagStart = Position;
      bool opening = false;
      bool closing = false;
      if (!ReadTag(tag, opening, closing)) {
        ++Position;  // not a tag: the "<" is character data
        continue;
      }
      // Text before a tag is sent untrimmed.
      if (tagStart > runStart || !text.empty()) {
        text.append(Buffer + runStart, tagStart - runStart);
        FilterText(text);
        if (!text.empty() && Sends(IHTMLReaderEvents::kTextEvents)) {
          abort = false;
          EventSink->OnText(text, AppData, abort);
          if (abort) break;
        }
        text.clear();
      }
      runStart = Position;
      if (opening && Sends(IHTMLReaderEvents::kTagStartEvents)) {
        abort = false;
        EventSink->OnTagStart(tag, AppData, abort);
        if (abort) break;
      }
      if (closing && Sends(IHTMLReaderEvents::kTagEndEvents)) {
        abort = false;
        EventSink->OnTagEnd(tag, AppData, abort);
        if (abort) break;
      }
    }
  }

  if (Sends(IHTMLReaderEvents::kParseEvents)) EventSink->OnParseEnd(AppData, abort);
  Buffer = nullptr;
  BufferLength = 0;
  return static_cast<int>(Position);
}
