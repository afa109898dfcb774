// What a markup reader reports, in document order, to its event sink.
#ifndef INKLINE_SRC_HTML_HTML_READER_EVENTS_H
#define INKLINE_SRC_HTML_HTML_READER_EVENTS_H

#include <cstdint>
#include <string>

class CHTMLTag;

class IHTMLReaderEvents {
 public:
  // Bits of the reader's event mask: which events it sends.
  enum EventMask : uint32_t {
    kParseEvents = 1,     // OnParseBegin and OnParseEnd
    kTagStartEvents = 2,  // OnTagStart
    kTagEndEvents = 4,    // OnTagEnd
    kTextEvents = 8,      // OnText
    kAllEvents = 15,
  };

  virtual ~IHTMLReaderEvents() = default;

  // A handler stops the parse by setting abort; the reader clears it before
  // every call. appData is the reader's application data, passed unchanged.
  virtual void OnParseBegin(uint32_t appData, bool& abort) = 0;
  // The tag object is the reader's own and is overwritten by the next tag.
  virtual void OnTagStart(CHTMLTag& tag, uint32_t appData, bool& abort) = 0;
  // An end tag, or a tag written with "/>" right after its OnTagStart.
  virtual void OnTagEnd(CHTMLTag& tag, uint32_t appData, bool& abort) = 0;
  // A non-empty run of character data, references already replaced.
  virtual void OnText(std::string& text, uint32_t appData, bool& abort) = 0;
  // Always the last event; aborted is true when a handler stopped the parse.
  virtual void OnParseEnd(uint32_t appData, bool aborted) = 0;
  // The reader recognises no comments and never calls this.
  virtual void OnComment(std::string& /*comment*/) {}

 protected:
  IHTMLReaderEvents() = default;
  IHTMLReaderEvents(const IHTMLReaderEvents&) = default;
  IHTMLReaderEvents& operator=(const IHTMLReaderEvents&) = default;
};

#endif  // INKLINE_SRC_HTML_HTML_READER_EVENTS_H
