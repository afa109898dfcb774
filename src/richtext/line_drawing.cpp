// Drawing the runs of a line. Three flushes draw a line: the overflow flush of
// OnText, the paragraph flush of a p tag and the final flush at the end of the
// parse. They share the drawing of one run and differ in how they place the
// runs after the first.
#include "frame/entry_checks.h"
#include "layout/engine.h"
#include "richtext/orvex_html_reader_events.h"

namespace {

// Advance along a horizontal line after a run of n bytes at height h: each
// byte is half a character wide.
double RunAdvance(std::size_t n, double h, double spaces, double space) {
  return static_cast<double>(n) * h / 2 + spaces * space / 2;
}

}  // namespace

void COrvexHTMLReaderEvents::RaiseOrLower(const TextRun& run, double h, double& x,
                                          double& y) const {
  if (Vertical()) {
    if (run.Sup || run.Sub) x += h;
  } else {
    if (run.Sup) y += h;
    if (run.Sub) y -= h / 3;
  }
}

void COrvexHTMLReaderEvents::DrawRun(TextRun& run, double x, double y, char arrangement) {
  const double h = RunHeight(run);
  RaiseOrLower(run, h, x, y);
  // A size attribute can put a run's place or height beyond any picture, or
  // beyond the numbers: such a run draws nothing, as a plain string would.
  if (!entry_checks::AcceptDispString({x, y, h, h, 0.0, Space, 0.0})) return;
  DeviceDriver* device = Owner->Driver;
  if (device) {
    BRUSH brush{static_cast<int>(run.Color), 0, 0, 0};
    device->SetBrush(&brush);
    PEN pen{1.0, static_cast<int>(run.Color), 0};
    device->SetPen(&pen);
  }
  // Colour -1: no background box behind a run.
  layout::DisplayString(
      layout::ContextOf(*Owner),
      layout::Run{run.Text.data(), {x, y}, h, h, 0.0, Space, arrangement},
      layout::RunStyle{run.FontNo, run.Em, run.Strong, run.Underline, run.Strike, -1, 1.0});
}

// A line that overflowed: a column stacks its runs downward, a line puts them
// side by side one line height below the pen.
void COrvexHTMLReaderEvents::DrawOverflowLine() {
  if (Vertical()) {
    double y = PenY;
    for (TextRun& run : Runs) {
      DrawRun(run, PenX, y, 1);
      const std::size_t n = run.Text.size();
      y -= RunAdvance(n, RunHeight(run), static_cast<double>(n), Space);
    }
  } else {
    double x = PenX;
    for (TextRun& run : Runs) {
      DrawRun(run, x, PenY - LineHeight, 0);
      const std::size_t n = run.Text.size();
      x += RunAdvance(n, RunHeight(run), static_cast<double>(n), Space);
    }
  }
}

void COrvexHTMLReaderEvents::StartNextLine() {
  LineHeight = Size * EffectiveScale();
  Runs.clear();
  if (Vertical()) {
    PenY = BoxTop;
    PenX += LineHeight;
  } else {
    PenX = BoxLeft;
    PenY -= LineHeight;
  }
  PendingText.clear();
}

void COrvexHTMLReaderEvents::FlushParagraph() {
  LineHeight = Size * EffectiveScale();
  if (Runs.empty() || !Owner) return;
  if (!Vertical()) PenY -= LineHeight;
  if (!DrawLineAtPen(+1.0)) return;
  Runs.clear();
  PendingText.clear();
  if (Vertical())
    PenY = BoxTop;
  else
    PenX = BoxLeft;
  LineHeight = Size * EffectiveScale();
}

// The final flush keeps the last line height OnText set; in a column it steps
// left after each run.
void COrvexHTMLReaderEvents::OnParseEnd(uint32_t, bool) {
  if (!Owner) return;
  if (!Vertical()) PenY -= LineHeight;
  if (DrawLineAtPen(-1.0)) Runs.clear();
}

bool COrvexHTMLReaderEvents::DrawLineAtPen(double columnStep) {
  if (!(BoxTop - BoxHeight <= PenY && PenX + LineHeight <= BoxLeft + BoxWidth)) return false;
  for (TextRun& run : Runs) {
    DrawRun(run, PenX, PenY, static_cast<char>(Hvpl));
    const double h = RunHeight(run);
    const std::size_t n = run.Text.size();
    PenX += Vertical() ? columnStep * h : RunAdvance(n, h, static_cast<double>(n) - 1, Space);
  }
  return true;
}
