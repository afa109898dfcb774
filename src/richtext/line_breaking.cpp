// OnText: each delivered text becomes a run of the current line. The whole
// line is measured with the owner's estimate; when it overflows the box the
// longest prefix that fits stays, the line is drawn, and the rest starts the
// next line or column, where it may break again.
#include <algorithm>
#include <utility>

#include "richtext/orvex_html_reader_events.h"

namespace {

// A byte of 1 to 127 is a character of its own; any other byte leads a
// double-byte character.
std::size_t CharStep(unsigned char byte) { return byte >= 1 && byte <= 127 ? 1 : 2; }

}  // namespace

bool COrvexHTMLReaderEvents::TextFits(char* text, double x, double y, double h) {
  // A negative font number asks for the estimate, which touches no font.
  Owner->GetStringRange(x, y, h, h, text, 0.0, Space, static_cast<char>(Hvpl), 1.0, -1, -1);
  const POINT* extent = Owner->RangePoly;  // lower-left, then lower-right
  if (Vertical()) return BoxTop - BoxHeight < extent[0].y;
  return BoxLeft + BoxWidth >= extent[1].x;
}

bool COrvexHTMLReaderEvents::PrefixFits(std::size_t bytes, double x, double y, double h) {
  // Cut the text for the measurement and mend it after; the cut never lies
  // beyond the end, even when a lead byte ends the text.
  const std::size_t end = std::min(bytes, PendingText.size());
  const char cut = PendingText[end];
  PendingText[end] = '\0';
  const bool fits = TextFits(PendingText.data(), x, y, h);
  PendingText[end] = cut;
  return fits;
}

long COrvexHTMLReaderEvents::BreakCount(double x, double y, double h) {
  char empty[] = "";
  if (!TextFits(empty, x, y, h)) return -1;
  const std::size_t length = PendingText.size();
  std::size_t count = 0;
  std::size_t step = 0;
  while (count < length) {
    step = CharStep(static_cast<unsigned char>(PendingText[count]));
    count += step;
    if (!PrefixFits(count, x, y, h)) break;
  }
  return static_cast<long>(count - step);
}

bool COrvexHTMLReaderEvents::RoomForLine(double x, double y) const {
  if (Vertical()) return BoxLeft + BoxWidth >= x + LineHeight && BoxTop - BoxHeight <= y;
  return BoxTop - BoxHeight <= y - LineHeight;
}

// The rest of an overflowing text is carried to the next line by this loop
// rather than by calling OnText again, so a text of many lines needs no
// deeper stack than a text of one.
void COrvexHTMLReaderEvents::OnText(std::string& text, uint32_t, bool& abort) {
  abort = false;
  if (!Owner) return;
  std::string piece = text;
  for (;;) {
    // Raised and lowered at once cancel out.
    if (Sup && Sub) Sup = Sub = 0;
    TextRun run = MakeRun();
    const double h = RunHeight(run);
    double x = PenX;
    double y = PenY;
    if (Vertical()) {
      if (Sup || Sub) x += h;
    } else {
      if (Sup) y += h;
      if (Sub) y -= h / 3;
    }
    LineHeight = h;

    const std::size_t earlier = PendingText.size();  // text of runs already on the line
    PendingText += piece;
    if (TextFits(PendingText.data(), x, y, h)) {
      run.Text = piece;
      Runs.push_back(std::move(run));
      return;
    }

    // The runs already on the line are drawn whole, so the rest never reaches
    // back into their text: only what is left of this piece moves on.
    const long count = BreakCount(x, y, h);
    const std::size_t restStart =
        std::max(count < 0 ? std::size_t{0} : static_cast<std::size_t>(count), earlier);
    const std::size_t kept = restStart - earlier;
    if (kept > 0) {
      run.Text = piece.substr(0, kept);
      Runs.push_back(std::move(run));
    }

    // Without room the line stays pending; a later flush may still draw it.
    if (!RoomForLine(x, y)) return;
    const double penBefore = Vertical() ? PenX : PenY;
    DrawOverflowLine();
    StartNextLine();
    piece.erase(0, kept);

    // A fresh line that took nothing and did not move the pen on would see
    // exactly the same text at the same place again: end the text here, left
    // pending like text without room.
    const bool penMoved = Vertical() ? PenX > penBefore : PenY < penBefore;
    if (earlier == 0 && kept == 0 && !penMoved) {
      PendingText = piece;
      return;
    }
  }
}
