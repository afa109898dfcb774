#include "html/html_reader.h"

#include <cstring>
#include <typeinfo>

#include "html/html_text.h"
#include "html/text_lease.h"

using html_text::IsWhiteSpace;

CHTMLReader::~CHTMLReader() = default;

// Inline: every run of text passes here.
inline void CHTMLReader::CollectRun(uint32_t end) {
  const std::size_t length = end - RunStart;
  if (Text->size() + length >= Text->capacity()) MakeRoom(length);
  Text->append(Buffer + RunStart, length);
}

int CHTMLReader::ReadText(const char* text) {
  if (text == nullptr || *text == '\0') return 0;
  Position = 0;
  Buffer = text;
  BufferLength = static_cast<uint32_t>(std::strlen(text));
  return ParseDocument();
}

// Inline: every tag passes here.
inline bool CHTMLReader::StepPast(int tagLength) {
  if (tagLength == 0) return false;
  Position += static_cast<uint32_t>(tagLength);
  return true;
}

bool CHTMLReader::ReadTag(CHTMLTag& tag, bool& opening, bool& closing) {
  if (&tag == &Tag) return ReadOwnTag(opening, closing);
  return StepPast(tag.ParseTag(Buffer + Position, opening, closing, true, &TagMemo, false));
}

// Always inline: the parse loop's own tags are read here.
INKLINE_HTML_ALWAYS_INLINE bool CHTMLReader::ReadOwnTag(bool& opening, bool& closing) {
  // The buffer stays until the parse ends, when the tag is settled: the tag
  // may read its name and attributes from it. The usual tag, a name alone,
  // is read right here, calling nothing.
  const char* text = Buffer + Position;
  const char* nameEnd;
  const int length =
      Tag.ParseNameTag(text, opening, closing, true, Buffer + BufferLength, nameEnd);
  if (length != 0) return StepPast(length);
  // An attributed tag goes straight to its attributes, as ParseLongerTag
  // would send it, without the stop there.
  if (nameEnd && html_text::HasClass(*nameEnd, html_text::kAttributesMayFollow)) {
    return StepPast(Tag.ParseAttributesInText(text, nameEnd, TagMemo, opening, closing));
  }
  return StepPast(Tag.ParseLongerTag(text, nameEnd, opening, closing, true, &TagMemo, true));
}

void CHTMLReader::FilterText(std::string&) {}

int CHTMLReader::ParseDocument() {
  if (Buffer == nullptr || BufferLength == 0) return 0;

  // The tag reads its name and attributes from the buffer: whatever a
  // handler may still ask of the last tag is copied before the buffer goes,
  // even when a handler throws.
  struct SettleOnExit {
    CHTMLTag& Settled;
    ~SettleOnExit() { Settled.Settle(); }
  } settle{Tag};

  // A class of its own may read tags and filter text its own way.
  OwnSteps = typeid(*this) == typeid(CHTMLReader);
  const TextLease lease(OwnText);
  Text = &lease.Text();
  Position = 0;
  TagMemo.Forget();
  TagMemo.TextEnd = Buffer + BufferLength;
  bool abort = false;
  if (Sends(IHTMLReaderEvents::kParseEvents)) EventSink->OnParseBegin(AppData, abort);
  if (!abort) abort = ReadContent();
  if (Sends(IHTMLReaderEvents::kParseEvents)) EventSink->OnParseEnd(AppData, abort);

  Buffer = nullptr;
  BufferLength = 0;
  Text = &OwnText;
  return static_cast<int>(Position);
}

bool CHTMLReader::ReadContent() {
  while (Position < BufferLength && IsWhiteSpace(Buffer[Position])) ++Position;
  RunStart = Position;
  // Bytes are copied into Text only when a reference, a tag or the end
  // closes the run; character data up to the next "<" or "&" stays put.
  const char* const end = Buffer + BufferLength;
  for (;;) {
    // Tags mostly follow one another: the next byte is tried first.
    const char* next = Buffer + Position;
    if (next < end && *next != '<') next = html_text::FindMarkupStart(next, end);
    Position = static_cast<uint32_t>(next - Buffer);
    if (Position >= BufferLength) break;
    if (Buffer[Position] == '&') {
      ReadReference();
      continue;
    }
    const uint32_t tagStart = Position;
    bool opening = false;
    bool closing = false;
    // A reader of this very class reads its tags itself, in line; any other
    // through its own ReadTag.
    const bool read = OwnSteps ? ReadOwnTag(opening, closing) : ReadTag(Tag, opening, closing);
    if (!read) {
      ++Position;  // not a tag: the "<" is character data
      continue;
    }
    if (SendTextBefore(tagStart) || SendTagEvents(opening, closing)) return true;
  }
  return SendFinalText();
}

void CHTMLReader::ReadReference() {
  char resolved = 0;
  const int length =
      ResolveEntities ? EntityResolver.ResolveEntity(Buffer + Position, resolved) : 0;
  if (length == 0) {
    ++Position;  // the "&" is character data
    return;
  }
  CollectRun(Position);
  Text->push_back(resolved);
  Position += static_cast<uint32_t>(length);
  RunStart = Position;
}

void CHTMLReader::MakeRoom(std::size_t length) {
  // Room at once for what text the rest of the buffer can still hold (up to
  // a bound), so a fresh string grows once, not by doubling.
  constexpr std::size_t kRoomAhead = 4096;
  const std::size_t rest = BufferLength - RunStart + 1;  // at least length + 1
  std::size_t room = rest < kRoomAhead ? rest : kRoomAhead;
  if (room < length) room = length;
  Text->reserve(Text->size() + room);
}

bool CHTMLReader::SendTextBefore(uint32_t tagStart) {
  // Text before a tag is sent untrimmed.
  bool abort = false;
  if (tagStart > RunStart || !Text->empty()) {
    CollectRun(tagStart);
    if (!OwnSteps) FilterText(*Text);
    abort = SendText();
    Text->clear();
  }
  RunStart = Position;
  return abort;
}

// Inline: every tag passes here.
inline bool CHTMLReader::SendTagEvents(bool opening, bool closing) {
  bool abort = false;
  if (opening && Sends(IHTMLReaderEvents::kTagStartEvents)) {
    EventSink->OnTagStart(Tag, AppData, abort);
    if (abort) return true;
  }
  if (closing && Sends(IHTMLReaderEvents::kTagEndEvents)) {
    EventSink->OnTagEnd(Tag, AppData, abort);
  }
  return abort;
}

bool CHTMLReader::SendFinalText() {
  if (Position == RunStart && Text->empty()) return false;
  // The end of the text: only here is trailing white space trimmed.
  CollectRun(Position);
  if (!OwnSteps) FilterText(*Text);
  std::size_t kept = Text->size();
  while (kept > 0 && IsWhiteSpace((*Text)[kept - 1])) --kept;
  Text->resize(kept);
  return SendText();
}

bool CHTMLReader::SendText() {
  bool abort = false;
  if (!Text->empty() && Sends(IHTMLReaderEvents::kTextEvents)) {
    EventSink->OnText(*Text, AppData, abort);
  }
  return abort;
}
