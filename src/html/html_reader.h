// An event-driven reader for the annotation markup: one pass over the text,
// reporting start tags, end tags and runs of character data to an event sink.
// It builds no tree; whatever is not a tag or a known reference is text.
#ifndef INKLINE_SRC_HTML_HTML_READER_H
#define INKLINE_SRC_HTML_HTML_READER_H

#include <cstdint>
#include <string>

#include "html/html_entity_resolver.h"
#include "html/html_reader_events.h"
#include "html/html_tag.h"
#include "html/tag_parse_memo.h"

class CHTMLReader {
 public:
  CHTMLReader() = default;
  virtual ~CHTMLReader();
  CHTMLReader(const CHTMLReader&) = delete;
  CHTMLReader& operator=(const CHTMLReader&) = delete;

  // Parses a NUL-terminated text and returns the position where it stopped:
  // the text's length after a complete parse, less after an abort. An empty
  // (or null) text returns 0 and sends no event at all. Not to be called
  // again from inside an event handler.
  int ReadText(const char* text);

  // Parses the current buffer; 0 when there is none.
  virtual int ParseDocument();

  // The sink is not owned; with none the parse still runs.
  void SetEventSink(IHTMLReaderEvents* sink) { EventSink = sink; }
  IHTMLReaderEvents* GetEventSink() const { return EventSink; }
  // IHTMLReaderEvents::EventMask bits.
  void SetEventMask(uint32_t mask) { EventMask = mask; }
  uint32_t GetEventMask() const { return EventMask; }
  void SetAppData(uint32_t data) { AppData = data; }
  uint32_t GetAppData() const { return AppData; }
  // Whether "&" in character data is offered to the entity resolver.
  void SetResolveEntities(bool on) { ResolveEntities = on; }
  bool GetResolveEntities() const { return ResolveEntities; }
  // Index of the next byte to examine; inside a tag event, just after the tag.
  uint32_t GetPosition() const { return Position; }

 protected:
  // Parses a tag at the current position and steps past it; false leaves
  // the position where it was.
  virtual bool ReadTag(CHTMLTag& tag, bool& opening, bool& closing);
  // Rewrites each collected text just before OnText; this reader's keeps it.
  virtual void FilterText(std::string& text);

 private:
  // ReadTag into the reader's own tag.
  bool ReadOwnTag(bool& opening, bool& closing);
  // Steps past a tag of the length read (0: no tag); whether there was one.
  bool StepPast(int tagLength);
  bool Sends(uint32_t event) const { return EventSink != nullptr && (EventMask & event) != 0; }

  // The steps of a parse. Each one that sends events returns whether a
  // handler asked to stop.
  bool ReadContent();
  void ReadReference();
  // Adds the pending run, Buffer[RunStart, end), to Text.
  void CollectRun(uint32_t end);
  // Grows Text, out of the usual path, before a run of length is added.
  void MakeRoom(std::size_t length);
  bool SendTextBefore(uint32_t tagStart);
  bool SendTagEvents(bool opening, bool closing);
  bool SendFinalText();
  bool SendText();

  bool ResolveEntities = true;
  IHTMLReaderEvents* EventSink = nullptr;
  uint32_t EventMask = IHTMLReaderEvents::kAllEvents;
  uint32_t AppData = 0;
  uint32_t Position = 0;
  const char* Buffer = nullptr;
  uint32_t BufferLength = 0;
  CHTMLEntityResolver EntityResolver;
  TagParseMemo TagMemo;
  // Kept from parse to parse with what they hold, so a reused reader
  // allocates nothing once it has seen its largest text and tag.
  CHTMLTag Tag;          // serves every tag of a parse
  std::string OwnText;   // the text when the thread's own is taken
  // Character data collected since the last tag, during a parse.
  std::string* Text = &OwnText;
  uint32_t RunStart = 0;  // the pending run is Buffer[RunStart, Position)
  // Whether the parse runs this class's own ReadTag and FilterText, which
  // it then calls directly.
  bool OwnSteps = false;
};

#endif  // INKLINE_SRC_HTML_HTML_READER_H
