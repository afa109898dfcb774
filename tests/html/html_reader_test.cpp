// The reader's events, their order, the trimming rules, the mask, the abort
// protocol and the position it returns.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "html/html_reader.h"
#include "recording_sink.h"
#include "support/elapsed.h"

namespace {

std::string Join(const std::vector<std::string>& events) {
  std::string out;
  for (const std::string& e : events) out += (out.empty() ? "" : "|") + e;
  return out;
}

struct ReaderCase {
  const char* text;
  const char* events;
  int result;
};

class ReaderEventsTest : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(ReaderEventsTest, SendsEventsInDocumentOrder) {
  const ReaderCase& c = GetParam();
  CHTMLReader reader;
  RecordingSink sink;
  reader.SetEventSink(&sink);
  EXPECT_EQ(reader.ReadText(c.text), c.result);
  EXPECT_EQ(Join(sink.Events), c.events);
  EXPECT_FALSE(sink.SawAbortSet);
}

INSTANTIATE_TEST_SUITE_P(
    HtmlReader, ReaderEventsTest,
    ::testing::Values(
        ReaderCase{"", "", 0},
        ReaderCase{" \t\r\n\v\f", "begin|end", 6},
        ReaderCase{"  abc", "begin|text:abc|end", 5},
        // Trailing white space goes only at the end; text before a tag keeps it.
        ReaderCase{"<p>  </p>x  ", "begin|<p>|text:  |</p>|text:x|end", 12},
        ReaderCase{"x \r\n<b>", "begin|text:x \r\n|<b>|end", 7},
        ReaderCase{"a &lt; b<br/>z", "begin|text:a < b|<br>|</br>|text:z|end", 14},
        ReaderCase{"a&lt;b&amp;lt;", "begin|text:a<b&lt;|end", 14},
        ReaderCase{"&quot;&apos;&gt;", "begin|text:\"'>|end", 16},
        // A reference without its ";" is text.
        ReaderCase{"a &lt b; c", "begin|text:a &lt b; c|end", 10},
        ReaderCase{"&lt", "begin|text:&lt|end", 3},
        // &nbsp; is an ordinary space once resolved, trimmed only at the end.
        ReaderCase{"x&nbsp;&nbsp;", "begin|text:x|end", 13},
        ReaderCase{"&nbsp;", "begin|end", 6},
        ReaderCase{"&nbsp;<b>", "begin|text: |<b>|end", 9},
        ReaderCase{"x<y", "begin|text:x<y|end", 3},
        ReaderCase{"1 < 2", "begin|text:1 < 2|end", 5},
        ReaderCase{"<!-- note -->", "begin|text:<!-- note -->|end", 13},
        // The empty tag sends no event but closes the text before it.
        ReaderCase{"a<>b", "begin|text:a|text:>b|end", 4},
        ReaderCase{"<>", "begin|text:>|end", 2},
        ReaderCase{"</font x>", "begin|text:</font x>|end", 9},
        ReaderCase{"<font face=\"a>b</font>", "begin|text:<font face=\"a>b|</font>|end", 22},
        ReaderCase{"<br/>", "begin|<br>|</br>|end", 5},
        ReaderCase{"</>", "begin|</>|end", 3},
        ReaderCase{"<body bgcolor=3 size='12'><FONT face=1>\xd6\xd0</FONT></body>",
                   "begin|<body bgcolor=3 size=12>|<FONT face=1>|text:\xd6\xd0|</FONT>|</body>|end",
                   55},
        // The reader looks at single bytes: "<" after a lead byte still opens a tag.
        ReaderCase{"a\xb0<b>", "begin|text:a\xb0|<b>|end", 5},
        ReaderCase{"x\xb0", "begin|text:x\xb0|end", 2},
        // Attributes in every shape, tags past 64 bytes and ending near the
        // text's end: the usual ones are told apart from the rest by their
        // bytes, and both must read as one.
        ReaderCase{"<body bgcolor=\"0\" angle=0.000000 space=0.500000  size=2.000000 hvpl=0 "
                   "face='Deja Vu'>x</body>",
                   "begin|<body bgcolor=0 angle=0.000000 space=0.500000 size=2.000000 hvpl=0 "
                   "face=Deja Vu>|text:x|</body>|end",
                   93},
        ReaderCase{"<a bcdefghijklmnopqrstuvwxyz=abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstu"
                   "vwxyz0123456789 c=1>z",
                   "begin|<a bcdefghijklmnopqrstuvwxyz=abcdefghijklmnopqrstuvwxyzabcdefghijklmnopq"
                   "rstuvwxyz0123456789 c=1>|text:z|end",
                   97},
        ReaderCase{"<font face=\"a>b\" color=1/>x", "begin|<font face=a>b color=1>|</font>|text:x|end",
                   27},
        ReaderCase{"<a b= \"c\" d=e\"f\" g=\"h\"i=j>x", "begin|<a b=c d=e\"f\" g=h i=j>|text:x|end", 27},
        ReaderCase{"<a b= c k>x", "begin|<a b=c k=>|text:x|end", 11},
        ReaderCase{"<a b==c d>", "begin|<a b==c d=>|end", 10},
        ReaderCase{"<a b= >x>y", "begin|<a b=>x>|text:y|end", 10},
        ReaderCase{"<a b=c\"d>e\"f>", "begin|<a b=c\"d>|text:e\"f>|end", 13},
        ReaderCase{"<a b=1 2c=3>", "begin|text:<a b=1 2c=3>|end", 12},
        ReaderCase{"<a b\"c>d\" e>", "begin|<a>|text:d\" e>|end", 12},
        ReaderCase{"<a b=\"c\"=d>e", "begin|text:<a b=\"c\"=d>e|end", 12},
        ReaderCase{"<a b=\xb0>c>d", "begin|<a b=\xb0>c>|text:d|end", 10},
        ReaderCase{"<a b=c=\"d>e\">", "begin|<a b=c=\"d>|text:e\">|end", 13},
        ReaderCase{"<font name=\"\xd6\xd0 x\" size=2>y", "begin|<font name=\xd6\xd0 x size=2>|text:y|end",
                   26},
        ReaderCase{"x<font face=1>", "begin|text:x|<font face=1>|end", 14},
        ReaderCase{"<a b=c/d>e", "begin|text:<a b=c/d>e|end", 10},
        ReaderCase{"<a b=\"c\" =d>", "begin|text:<a b=\"c\" =d>|end", 12},
        ReaderCase{"<a b=\"c\",d>", "begin|text:<a b=\"c\",d>|end", 11}));

TEST(HtmlReader, EntityOptionOffKeepsReferences) {
  CHTMLReader reader;
  RecordingSink sink;
  reader.SetEventSink(&sink);
  reader.SetResolveEntities(false);
  EXPECT_EQ(reader.ReadText("a &lt; b&nbsp;"), 14);
  EXPECT_EQ(Join(sink.Events), "begin|text:a &lt; b&nbsp;|end");
}

TEST(HtmlReader, EventMaskSelectsEventGroups) {
  const char* text = " a<b>c<br/>&lt;</b> ";
  struct {
    uint32_t mask;
    const char* events;
  } const cases[] = {
      {0, ""},
      {1, "begin|end"},
      {2, "<b>|<br>"},
      {4, "</br>|</b>"},
      {8, "text:a|text:c|text:<"},
      {15, "begin|text:a|<b>|text:c|<br>|</br>|text:<|</b>|end"},
      // Bits beyond the four groups change nothing.
      {0xFFFFFFF0u, ""},
  };
  for (const auto& c : cases) {
    CHTMLReader reader;
    RecordingSink sink;
    reader.SetEventSink(&sink);
    reader.SetEventMask(c.mask);
    EXPECT_EQ(reader.ReadText(text), 20) << c.mask;
    EXPECT_EQ(Join(sink.Events), c.events) << c.mask;
  }
}

TEST(HtmlReader, RunsWithoutASink) {
  CHTMLReader reader;
  EXPECT_EQ(reader.ReadText("<b>x</b>"), 8);
  EXPECT_EQ(reader.ReadText(nullptr), 0);
}

TEST(HtmlReader, AHandlerStopsTheParse) {
  struct {
    const char* text;
    int abortAt;  // index of the event whose handler sets the flag
    const char* events;
    int result;
  } const cases[] = {
      {"<b>text</b>", 1, "begin|<b>|end:aborted", 3},
      {"<b>text</b>", 0, "begin|end:aborted", 0},
      // A start tag written with "/>" gets no end event after an abort.
      {"<br/>x", 1, "begin|<br>|end:aborted", 5},
      {"<br/>x", 2, "begin|<br>|</br>|end:aborted", 5},
      // Text before a tag is sent after the tag was read.
      {"ab<c>d", 1, "begin|text:ab|end:aborted", 5},
      {"ab</c>d", 2, "begin|text:ab|</c>|end:aborted", 6},
      // Stopping at the last text changes only the flag.
      {"abc", 1, "begin|text:abc|end:aborted", 3},
      // Asking to stop in OnParseEnd is too late to matter.
      {"abc", 2, "begin|text:abc|end", 3},
  };
  for (const auto& c : cases) {
    CHTMLReader reader;
    RecordingSink sink;
    sink.AbortAt = c.abortAt;
    reader.SetEventSink(&sink);
    EXPECT_EQ(reader.ReadText(c.text), c.result) << c.text << " " << c.abortAt;
    EXPECT_EQ(Join(sink.Events), c.events) << c.text << " " << c.abortAt;
    EXPECT_FALSE(sink.SawAbortSet);
  }
}

TEST(HtmlReader, AbortWithoutParseEventsStillStops) {
  CHTMLReader reader;
  RecordingSink sink;
  sink.AbortAt = 0;
  reader.SetEventSink(&sink);
  reader.SetEventMask(IHTMLReaderEvents::kTagStartEvents | IHTMLReaderEvents::kTextEvents);
  EXPECT_EQ(reader.ReadText("<a>b<c>"), 3);
  EXPECT_EQ(Join(sink.Events), "<a>");
}

TEST(HtmlReader, TagEventsSeeThePositionAfterTheTagAndOneTagObject) {
  CHTMLReader reader;
  RecordingSink sink;
  sink.Reader = &reader;
  reader.SetEventSink(&sink);
  reader.SetAppData(0xC0FFEEu);
  EXPECT_EQ(reader.ReadText("a &lt; b<br/>z<i>"), 17);
  EXPECT_EQ(Join(sink.Events), "begin|text:a < b|<br>|</br>|text:z|<i>|end");
  EXPECT_EQ(sink.Positions, (std::vector<uint32_t>{0, 13, 13, 13, 17, 17, 17}));
  EXPECT_EQ(sink.AppData, std::vector<uint32_t>(7, 0xC0FFEEu));
  ASSERT_EQ(sink.Tags.size(), 3u);
  EXPECT_EQ(sink.Tags[0], sink.Tags[1]);
  EXPECT_EQ(sink.Tags[1], sink.Tags[2]);
}

TEST(HtmlReader, IsIdleBetweenTextsAndReusable) {
  CHTMLReader reader;
  RecordingSink sink;
  sink.AbortAt = 1;
  reader.SetEventSink(&sink);
  EXPECT_EQ(reader.ReadText("<b>x</b>"), 3);
  // The buffer is released after every parse, even an aborted one.
  EXPECT_EQ(reader.ParseDocument(), 0);

  sink.Events.clear();
  sink.AbortAt = -1;
  EXPECT_EQ(reader.ReadText("<b>x</b>"), 8);
  EXPECT_EQ(Join(sink.Events), "begin|<b>|text:x|</b>|end");
  EXPECT_EQ(reader.ParseDocument(), 0);
  EXPECT_EQ(Join(sink.Events), "begin|<b>|text:x|</b>|end");
}

// Reads a text of its own from inside each OnText, as a handler drawing
// nested markup would, and notes whether the text it was handed survived.
class NestingSink : public RecordingSink {
 public:
  void OnText(std::string& text, uint32_t appData, bool& abort) override {
    const std::string before = text;
    CHTMLReader inner;
    RecordingSink innerSink;
    inner.SetEventSink(&innerSink);
    inner.ReadText("<i>inner text that is longer than the outer one</i>");
    Inner.push_back(Join(innerSink.Events));
    if (text != before) Spoilt = true;
    RecordingSink::OnText(text, appData, abort);
  }
  std::vector<std::string> Inner;
  bool Spoilt = false;
};

TEST(HtmlReader, AParseInsideAHandlerLeavesTheOuterTextWhole) {
  CHTMLReader reader;
  NestingSink sink;
  reader.SetEventSink(&sink);
  EXPECT_EQ(reader.ReadText("one<b>two</b>"), 13);
  EXPECT_FALSE(sink.Spoilt);
  EXPECT_EQ(Join(sink.Events), "begin|text:one|<b>|text:two|</b>|end");
  ASSERT_EQ(sink.Inner.size(), 2u);
  EXPECT_EQ(sink.Inner[1], "begin|<i>|text:inner text that is longer than the outer one|</i>|end");
}

// Drops texts that read "drop" and pads the others with a space.
class FilteringReader : public CHTMLReader {
 protected:
  void FilterText(std::string& text) override {
    if (text == "drop") {
      text.clear();
    } else {
      text += ' ';
    }
  }
};

TEST(HtmlReader, FilterTextRunsBeforeTheEventAndBeforeTheFinalTrim) {
  FilteringReader reader;
  RecordingSink sink;
  reader.SetEventSink(&sink);
  EXPECT_EQ(reader.ReadText("keep<b>drop</b>tail"), 19);
  EXPECT_EQ(Join(sink.Events), "begin|text:keep |<b>|</b>|text:tail|end");
}

// Remembers the last start tag without reading it, and describes it only at
// each text and once the parse is over.
class LateReadingSink : public IHTMLReaderEvents {
 public:
  const CHTMLTag* Last = nullptr;
  std::vector<std::string> Seen;

  void OnParseBegin(uint32_t, bool&) override {}
  void OnTagStart(CHTMLTag& tag, uint32_t, bool&) override { Last = &tag; }
  void OnTagEnd(CHTMLTag&, uint32_t, bool&) override {}
  void OnText(std::string&, uint32_t, bool&) override { Describe(); }
  void OnParseEnd(uint32_t, bool) override {}
  void Describe() { Seen.push_back(Last ? DescribeTag(*Last) : "none"); }
};

TEST(HtmlReader, AttributesAskedForLaterAreThoseOfTheLastTag) {
  std::string many = "<m";
  std::string manyDescribed = "m";
  for (int i = 1; i <= 18; ++i) {
    many += " a" + std::to_string(i) + "=" + std::to_string(i);
    manyDescribed += " a" + std::to_string(i) + "=" + std::to_string(i);
  }
  many += ">";
  struct Case {
    std::string text;
    std::vector<std::string> seen;  // at each text, then after the parse
  };
  const Case cases[] = {
      {"<a k=v>t<b x='open", {"a k=v", "a k=v"}},
      // A tag is read before the text ahead of it is sent.
      {"<a k=v>t<b>u", {"b", "b", "b"}},
      {"<c m=\" 1\t2 \" n/>t<d y=1 z", {"c m=1 2 n=", "c m=1 2 n="}},
      {many + "t<e f='g", {manyDescribed, manyDescribed}},
      {"<a k=v>t<b w=1>" + many, {"b w=1", manyDescribed}},
      // Names either side of the room a tag keeps short names in.
      {"<sixteen-letters1>t</sixteen-letters1>", {"sixteen-letters1", "sixteen-letters1"}},
      {"<seventeen-letters>t</seventeen-letters>", {"seventeen-letters", "seventeen-letters"}},
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    CHTMLReader reader;
    LateReadingSink sink;
    reader.SetEventSink(&sink);
    EXPECT_EQ(reader.ReadText(text.c_str()), static_cast<int>(text.size())) << c.text;
    // The text may go once the parse is over; the tag keeps what it read.
    std::fill(text.begin(), text.end(), '#');
    sink.Describe();
    EXPECT_EQ(sink.Seen, c.seen) << c.text;
  }
}

TEST(HtmlReader, ATagKeepsWhatItReadWhenAHandlerThrows) {
  struct ThrowingSink : LateReadingSink {
    void OnTagEnd(CHTMLTag&, uint32_t, bool&) override { throw std::runtime_error("stop"); }
  };
  std::string text = "<a k=v/>";
  CHTMLReader reader;
  ThrowingSink sink;
  reader.SetEventSink(&sink);
  EXPECT_THROW(reader.ReadText(text.c_str()), std::runtime_error);
  std::fill(text.begin(), text.end(), '#');
  sink.Describe();
  EXPECT_EQ(sink.Seen, std::vector<std::string>{"a k=v"});
}

TEST(HtmlReader, ALeadByteAtTheEndOfTheTextIsSafe) {
  for (const std::string text : {"\xb0", "a<b \xb0", "<a b='\xb0", "&l\xb0", "x<\xb0"}) {
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    CHTMLReader reader;
    RecordingSink sink;
    reader.SetEventSink(&sink);
    EXPECT_EQ(reader.ReadText(copy.get()), static_cast<int>(text.size())) << text;
    EXPECT_EQ(Join(sink.Events), "begin|text:" + text + "|end");
  }
}

// Tags left open, repeated through about a megabyte: every "<" is tried as a
// tag and turns out to be text. Each try must not scan on to the end.
TEST(HtmlReader, OpenTagsRepeatedAreReadInLinearTime) {
  struct Case {
    const char* unit;      // repeated
    const char* trimmed;   // what the end's trim leaves of the last unit
  };
  const Case cases[] = {
      {"<a ", "<a"},               // no attribute: the search for ">" runs out
      {"<a y=x", "<a y=x"},        // each tag's attributes run through all later ones
      {"<a y='x' z=<", "<a y='x' z=<"},
      {"<b\t<a y=\"<\" ", "<b\t<a y=\"<\""},
  };
  for (const Case& c : cases) {
    std::string text = "<body size=3>";
    while (text.size() < (1u << 20)) text += c.unit;
    CHTMLReader reader;
    RecordingSink sink;
    reader.SetEventSink(&sink);
    int read = 0;
    const double seconds = SecondsFor([&] { read = reader.ReadText(text.c_str()); });
    EXPECT_LT(seconds, kLinearBoundSeconds) << c.unit;
    EXPECT_EQ(read, static_cast<int>(text.size()));
    const std::string body = text.substr(13);
    const std::string expected = body.substr(0, body.size() - std::strlen(c.unit)) + c.trimmed;
    ASSERT_EQ(sink.Events.size(), 4u) << c.unit;
    EXPECT_EQ(sink.Events[1], "<body size=3>");
    EXPECT_TRUE(sink.Events[2] == "text:" + expected) << c.unit;
  }
}

}  // namespace
