// OnText: each delivered text becomes a run of the current line. The whole
// line is measured with the estimate of the run writer; when it overflows the
// box the longest prefix that fits stays, the line is drawn, and the rest
// starts the next line or column, where it may break again.
#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>

#include "layout/engine.h"
#include "layout/text_units.h"
#include "richtext/line_breaker.h"
#include "richtext/orvex_html_reader_events.h"

namespace richtext {

long CountChars(const LineText& line) {
  const std::size_t length = line.size();
  long count = 0;
  for (std::size_t i = 0; i < length; ++count) {
    i += layout::IsLeadByte(line[i]) && i + 1 < length ? 2 : 1;
  }
  return count;
}

}  // namespace richtext

// A line placed at (x, y) at height h, measured as the run writer estimates
// a run of its size, upright and not enlarged.
layout::Extent COrvexHTMLReaderEvents::LineExtent(std::size_t bytes, long chars, double x,
                                                  double y, double h) const {
  const layout::Run line{nullptr, {x, y}, h, h, 0.0, Space, static_cast<char>(Hvpl)};
  return layout::EstimateExtent(line, bytes, chars);
}

// A line fits when its extent stays inside the box: a column above the box's
// bottom, a line left of its right edge.
bool COrvexHTMLReaderEvents::LineFits(const layout::Extent& extent) const {
  if (Vertical()) return BoxTop - BoxHeight < extent.poly[0].y;
  return BoxLeft + BoxWidth >= extent.poly[1].x;
}

namespace {

// Leaves the extent of the last line measured in the owner's RangePoly when
// a text is done, as measuring each line through the owner would: a host may
// read it after drawing rich text.
class LastLineExtent {
 public:
  explicit LastLineExtent(CMapString& owner) : owner_(owner) {}
  ~LastLineExtent() {
    if (extent.placed) std::copy(extent.poly, extent.poly + 5, owner_.RangePoly);
  }
  LastLineExtent(const LastLineExtent&) = delete;
  LastLineExtent& operator=(const LastLineExtent&) = delete;

  layout::Extent extent;

 private:
  CMapString& owner_;
};

}  // namespace

bool COrvexHTMLReaderEvents::RoomForLine(double x, double y) const {
  if (Vertical()) return BoxLeft + BoxWidth >= x + LineHeight && BoxTop - BoxHeight <= y;
  return BoxTop - BoxHeight <= y - LineHeight;
}

// A fresh line that took nothing is followed by fresh lines that take nothing
// either: the same text against the same width (or height, in a column). Only
// the pen walks on, a line at a time, until the box has no room, and a pen far
// outside the box would walk billions of lines. The walk is cut short in one
// step; the last lines are still walked one by one, so the pen stops where the
// walk would have stopped it. rx, ry: the run's raise; h: its height.
void COrvexHTMLReaderEvents::SkipEmptyLines(double rx, double ry, double h) {
  constexpr double kWalkedLines = 16;
  const double step = Size * EffectiveScale();
  if (Vertical() && !(BoxTop - BoxHeight <= BoxTop + ry)) return;
  const double room = Vertical() ? BoxLeft + BoxWidth - (PenX + rx + h)
                                 : PenY + ry - h - (BoxTop - BoxHeight);
  if (!(step > 0) || !(room / step > 2 * kWalkedLines)) return;
  const double skipped = std::floor(room / step) - kWalkedLines;
  if (Vertical())
    PenX += skipped * step;
  else
    PenY -= skipped * step;
}

// The rest of an overflowing text is carried to the next line by this loop
// rather than by calling OnText again, so a text of many lines needs no
// deeper stack than a text of one. The rest is a view that moves on, and the
// line's characters are counted once per call, so a long text costs time in
// proportion to its length.
void COrvexHTMLReaderEvents::OnText(std::string& text, uint32_t, bool& abort) {
  abort = false;
  if (!Owner) return;
  std::string_view piece = text;
  long pieceChars = -1;  // characters of piece, once known on a fresh line
  bool freshLine = false;  // this pass starts a line the loop began
  LastLineExtent measured(*Owner);
  for (;;) {
    // Raised and lowered at once cancel out.
    if (Sup && Sub) Sup = Sub = 0;
    TextRun run = MakeRun();
    const double h = RunHeight(run);
    double x = PenX;
    double y = PenY;
    RaiseOrLower(run, h, x, y);
    const double raiseX = x - PenX, raiseY = y - PenY;
    LineHeight = h;

    const std::size_t earlier = PendingText.size();  // text of runs already on the line
    const richtext::LineText line{PendingText, piece};
    const long lineChars = earlier == 0 && pieceChars >= 0 ? pieceChars : richtext::CountChars(line);
    const auto fits = [&](std::size_t bytes, long chars) {
      measured.extent = LineExtent(bytes, chars, x, y, h);
      return LineFits(measured.extent);
    };
    if (fits(line.size(), lineChars)) {
      PendingText += piece;
      run.Text = std::string(piece);
      Runs.push_back(std::move(run));
      return;
    }

    // The runs already on the line are drawn whole, so the rest never reaches
    // back into their text: only what is left of this piece moves on.
    const richtext::Break cut = richtext::BreakLine(line, fits);
    const std::size_t restStart =
        std::max(cut.bytes < 0 ? std::size_t{0} : static_cast<std::size_t>(cut.bytes), earlier);
    const std::size_t kept = restStart - earlier;
    if (kept > 0) {
      run.Text = std::string(piece.substr(0, kept));
      Runs.push_back(std::move(run));
    }

    // Without room the line stays pending; a later flush may still draw it.
    if (!RoomForLine(x, y)) {
      PendingText += piece;
      return;
    }
    const double penBefore = Vertical() ? PenX : PenY;
    DrawOverflowLine();
    StartNextLine();
    piece.remove_prefix(kept);
    pieceChars = earlier == 0 ? lineChars - (kept > 0 ? cut.chars : 0) : -1;

    // A fresh line that took nothing and did not move the pen on would see
    // exactly the same text at the same place again: end the text here, left
    // pending like text without room.
    const bool penMoved = Vertical() ? PenX > penBefore : PenY < penBefore;
    if (earlier == 0 && kept == 0 && !penMoved) {
      PendingText = std::string(piece);
      return;
    }
    if (freshLine && kept == 0) SkipEmptyLines(raiseX, raiseY, h);
    freshLine = true;
  }
}
