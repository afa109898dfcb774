// An event sink for reader tests: writes every event as one line of a trace
// and can ask the reader to stop at a chosen event.
#ifndef INKLINE_TESTS_HTML_RECORDING_SINK_H
#define INKLINE_TESTS_HTML_RECORDING_SINK_H

#include <cstdint>
#include <string>
#include <vector>

#include "html/html_reader.h"
#include "html/html_reader_events.h"
#include "html/html_tag.h"

// "<name a=v ...>" for a tag, as the tests spell expected start tags.
inline std::string DescribeTag(const CHTMLTag& tag) {
  std::string out = tag.GetTagName();
  if (const CHTMLAttributes* attributes = tag.GetAttributes()) {
    for (int i = 0; i < attributes->GetCount(); ++i) {
      const CHTMLElemAttr attribute = attributes->GetAttribute(i);
      out += " " + attribute.GetName() + "=" + attribute.Value;
    }
  }
  return out;
}

class RecordingSink : public IHTMLReaderEvents {
 public:
  // Events are "begin", "<tag a=v>", "</tag>", "text:...", "end" or "end:aborted".
  std::vector<std::string> Events;
  // Reader position seen by each event, when a reader is attached.
  std::vector<uint32_t> Positions;
  const CHTMLReader* Reader = nullptr;
  // Index into Events of the event whose handler sets the abort flag; -1 never.
  int AbortAt = -1;
  std::vector<uint32_t> AppData;
  // Whether any handler received the abort flag already set.
  bool SawAbortSet = false;
  // The tag object of each tag event.
  std::vector<const CHTMLTag*> Tags;

  void OnParseBegin(uint32_t appData, bool& abort) override { Record("begin", appData, abort); }
  void OnTagStart(CHTMLTag& tag, uint32_t appData, bool& abort) override {
    Tags.push_back(&tag);
    Record("<" + DescribeTag(tag) + ">", appData, abort);
  }
  void OnTagEnd(CHTMLTag& tag, uint32_t appData, bool& abort) override {
    Tags.push_back(&tag);
    Record("</" + tag.GetTagName() + ">", appData, abort);
  }
  void OnText(std::string& text, uint32_t appData, bool& abort) override {
    Record("text:" + text, appData, abort);
  }
  void OnParseEnd(uint32_t appData, bool aborted) override {
    bool ignored = false;
    Record(aborted ? "end:aborted" : "end", appData, ignored);
  }

 private:
  void Record(const std::string& event, uint32_t appData, bool& abort) {
    if (abort) SawAbortSet = true;
    if (AbortAt == static_cast<int>(Events.size())) abort = true;
    Events.push_back(event);
    AppData.push_back(appData);
    if (Reader) Positions.push_back(Reader->GetPosition());
  }
};

#endif  // INKLINE_TESTS_HTML_RECORDING_SINK_H
