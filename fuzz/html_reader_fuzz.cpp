// Runs the markup reader over any bytes and checks the framing of its events
// and the position it returns.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "html/html_reader.h"
#include "html/html_text.h"

namespace {

class CheckingSink : public IHTMLReaderEvents {
 public:
  explicit CheckingSink(int abortAt) : AbortAt(abortAt) {}

  void OnParseBegin(uint32_t, bool& abort) override {
    FuzzCheck(Events == 0 && !abort);
    Step(abort);
  }
  void OnTagStart(CHTMLTag& tag, uint32_t, bool& abort) override {
    FuzzCheck(Begun && !Ended && !abort);
    FuzzCheck(html_text::IsLetter(tag.GetTagName()[0]));
    if (ReadsAttributes) CheckAttributes(tag);
    LastStart = &tag;
    Step(abort);
  }
  void OnTagEnd(CHTMLTag&, uint32_t, bool& abort) override {
    FuzzCheck(Begun && !Ended && !abort);
    Step(abort);
  }
  void OnText(std::string& text, uint32_t, bool& abort) override {
    FuzzCheck(Begun && !Ended && !abort && !text.empty());
    LastText = text;
    Step(abort);
  }
  void OnParseEnd(uint32_t, bool aborted) override {
    FuzzCheck(Begun && !Ended && aborted == Aborted);
    Ended = true;
  }

  // Every attribute parsed has a name that starts with a letter.
  static void CheckAttributes(const CHTMLTag& tag) {
    const CHTMLAttributes* attributes = tag.GetAttributes();
    if (!attributes) return;
    FuzzCheck(attributes->GetCount() > 0);
    for (int i = 0; i < attributes->GetCount(); ++i) {
      FuzzCheck(html_text::IsLetter(attributes->GetAttribute(i).Name[0]));
    }
  }

  bool ReadsAttributes = false;
  bool Begun = false;
  bool Ended = false;
  bool Aborted = false;
  int Events = 0;
  std::string LastText;
  const CHTMLTag* LastStart = nullptr;

 private:
  void Step(bool& abort) {
    Begun = true;
    if (Events++ == AbortAt) abort = Aborted = true;
  }
  int AbortAt;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first byte chooses the options, the rest is the markup.
  const uint8_t options = size > 0 ? data[0] : 0;
  FuzzText text(size > 0 ? data + 1 : data, size > 0 ? size - 1 : 0);

  CHTMLReader reader;
  CheckingSink sink((options & 0x80) ? (options & 0x0F) : -1);
  sink.ReadsAttributes = (options & 0x20) != 0;
  reader.SetEventSink(&sink);
  reader.SetResolveEntities((options & 0x40) == 0);
  const int result = reader.ReadText(text.Get());
  const size_t length = text.Length;
  // The last tag stays readable once its text is gone.
  text.Bytes.reset();
  if (sink.LastStart) {
    FuzzCheck(sink.LastStart->GetTagName().size() <= length);
    CheckingSink::CheckAttributes(*sink.LastStart);
  }

  FuzzCheck(result >= 0 && static_cast<size_t>(result) <= length);
  if (length == 0) {
    FuzzCheck(result == 0 && !sink.Begun);
  } else {
    FuzzCheck(sink.Ended);
    if (!sink.Aborted) {
      FuzzCheck(static_cast<size_t>(result) == length);
    }
  }
  return 0;
}
