// The rich-text renderer: the event sink that turns the markup reader's
// events for one annotation into text drawn line by line inside a box.
//
// The text style lives in fields, each backed by a stack so that an end tag
// brings back the enclosing style. Styled pieces of text (runs) collect into
// the current line; OnText measures the line and breaks it when it no longer
// fits the box. Horizontal lines run left to right and downward; vertical
// columns run top to bottom and follow each other to the right.
#ifndef INKLINE_SRC_RICHTEXT_ORVEX_HTML_READER_EVENTS_H
#define INKLINE_SRC_RICHTEXT_ORVEX_HTML_READER_EVENTS_H

#include <inkline/map_string.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "html/html_reader_events.h"
#include "html/html_tag.h"
#include "layout/engine.h"

// The target box as the entry point hands it over: width and height not yet
// scaled; the box hangs down from (Left, Top).
struct TextBox {
  double Left;
  double Top;
  double Width;
  double Height;
};

// One styled piece of text of the current line.
struct TextRun {
  short Strong;
  short Em;
  short Underline;
  short Strike;
  short FontNo;
  short Sup;
  short Sub;
  long Size;  // whole markup units; half the size inside sup or sub
  long Color;
  std::string Text;
};

class COrvexHTMLReaderEvents : public IHTMLReaderEvents {
 public:
  // The owner measures and draws; it is not owned and must outlive this.
  COrvexHTMLReaderEvents(const TextBox& box, CMapString* owner);
  ~COrvexHTMLReaderEvents() override;
  COrvexHTMLReaderEvents(const COrvexHTMLReaderEvents&) = delete;
  COrvexHTMLReaderEvents& operator=(const COrvexHTMLReaderEvents&) = delete;

  void OnParseBegin(uint32_t appData, bool& abort) override;
  void OnTagStart(CHTMLTag& tag, uint32_t appData, bool& abort) override;
  void OnTagEnd(CHTMLTag& tag, uint32_t appData, bool& abort) override;
  // Adds the text to the current line; draws the line and carries the rest
  // to the next one when it overflows the box.
  void OnText(std::string& text, uint32_t appData, bool& abort) override;
  // Draws what is left of the last line.
  void OnParseEnd(uint32_t appData, bool aborted) override;
  // Back to the starting style with the pen at the box's top-left corner.
  virtual void ResetState();

  // Fields, in declared order; public so tests can see the renderer's state.
  short OwnerFlags = 0;
  short Strong = 0;
  short Em = 0;
  short Underline = 0;
  short Strike = 0;
  short FontNo = 0;
  short Sup = 0;
  short Sub = 0;
  double Size = 10.0;
  double Angle = 0.0;  // kept from body, never drawn with
  double Space = 0.0;
  double Scale = 0.0;
  short Hvpl = 0;  // 0 horizontal lines, anything else vertical columns
  long Color = 0;
  long BgColor = 0;
  double BoxLeft;
  double BoxTop;
  double BoxWidth;
  double BoxHeight;
  double PenX = 0.0;
  double PenY = 0.0;
  double LineHeight = 0.0;
  CMapString* Owner;
  std::string PendingText;  // the texts of the current line's runs, in order
  std::vector<TextRun> Runs;
  std::vector<short> StrongStack;
  std::vector<short> EmStack;
  std::vector<short> UnderlineStack;
  std::vector<short> StrikeStack;
  std::vector<short> FontNoStack;
  std::vector<short> SupStack;
  std::vector<short> SubStack;
  std::vector<long> SizeStack;
  std::vector<long> ColorStack;
  std::vector<long> BgColorStack;

 private:
  bool Vertical() const { return Hvpl != 0; }
  // The owner's scale rule for sizes: the third scale when the device asks
  // for it, otherwise the first two multiplied.
  double EffectiveScale() const;
  // Sizes are whole numbers on the stacks and in runs: truncated toward zero.
  static long WholeSize(double size);
  TextRun MakeRun() const;
  double RunHeight(const TextRun& run) const {
    return static_cast<double>(run.Size) * EffectiveScale();
  }
  // Where a run placed at (x, y) is drawn: a raised run one run height up, a
  // lowered one a third down; in a column both one run height to the right.
  void RaiseOrLower(const TextRun& run, double h, double& x, double& y) const;

  // Tags.
  void StartBody(const CHTMLTag& tag);
  void StartFont(const CHTMLTag& tag);
  void FillBox();
  void EndFont();

  // Measuring: the estimated extent of a line of `bytes` bytes and `chars`
  // characters placed at (x, y) at height h, and whether it stays inside the
  // box.
  layout::Extent LineExtent(std::size_t bytes, long chars, double x, double y, double h) const;
  bool LineFits(const layout::Extent& extent) const;
  bool RoomForLine(double x, double y) const;
  // Moves the pen over the empty lines a text that fits no line would walk
  // through one by one, stopping a few lines short of the last with room.
  void SkipEmptyLines(double rx, double ry, double h);

  // Drawing.
  void DrawRun(TextRun& run, double x, double y, char arrangement);
  void DrawOverflowLine();
  void StartNextLine();
  void FlushParagraph();
  // The paragraph and final flushes: when the pen has room, draws every run
  // of the line from the pen, moving right per run along a line and by
  // columnStep times the run height in a column; false when there is no room.
  bool DrawLineAtPen(double columnStep);
};

#endif  // INKLINE_SRC_RICHTEXT_ORVEX_HTML_READER_EVENTS_H
