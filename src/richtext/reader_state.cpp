// The renderer's life: construction for one box and owner, the starting
// style, and the runs it makes from the current style.
#include <inkline/colorlib.h>
#include <inkline/constants.h>

#include <algorithm>

#include "layout/numeric.h"
#include "richtext/orvex_html_reader_events.h"

namespace {

// The default face, "宋体" in code page 936.
constexpr char kDefaultFace[] = "\xCB\xCE\xCC\xE5";

constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kWhite = 0xFFFFFF;

}  // namespace

COrvexHTMLReaderEvents::COrvexHTMLReaderEvents(const TextBox& box, CMapString* owner)
    : BoxLeft(box.Left), BoxTop(box.Top), BoxWidth(box.Width), BoxHeight(box.Height), Owner(owner) {
  ResetState();
  PendingText.clear();
  Scale = 0.0;
  Hvpl = 0;
  OwnerFlags = 0;
  if (Owner) {
    OwnerFlags = Owner->DevFlags;
    Scale = Owner->ScaleC;
    const double s = EffectiveScale();
    BoxWidth *= s;
    BoxHeight *= s;
  }
}

COrvexHTMLReaderEvents::~COrvexHTMLReaderEvents() = default;

// The truncation saturates, so that no size, however large, is undefined.
long COrvexHTMLReaderEvents::WholeSize(double size) { return layout::TruncToInt(size); }

double COrvexHTMLReaderEvents::EffectiveScale() const {
  if ((OwnerFlags & inkline::kDispFlagScaleFromThird) != 0 || !Owner) return Scale;
  return Owner->ScaleA * Owner->ScaleB;
}

void COrvexHTMLReaderEvents::ResetState() {
  Strong = Em = Underline = Strike = FontNo = Sup = Sub = 0;
  if (Owner) {
    char face[sizeof kDefaultFace];
    std::copy(kDefaultFace, kDefaultFace + sizeof kDefaultFace, face);
    const short fontNo = Owner->GetZt(face);
    FontNo = fontNo < 0 ? 0 : fontNo;
  }
  GetColorNoByCOLORREF(kBlack, Color, nullptr);
  GetColorNoByCOLORREF(kWhite, BgColor, nullptr);

  PenX = BoxLeft;
  PenY = BoxTop;
  LineHeight = Size * EffectiveScale();
  Space = Space * EffectiveScale();

  StrongStack.assign(1, 0);
  EmStack.assign(1, 0);
  UnderlineStack.assign(1, 0);
  StrikeStack.assign(1, 0);
  FontNoStack.assign(1, FontNo);
  SizeStack.assign(1, WholeSize(Size));
  ColorStack.assign(1, Color);
  BgColorStack.assign(1, BgColor);
  SupStack.assign(1, 0);
  SubStack.assign(1, 0);
}

void COrvexHTMLReaderEvents::OnParseBegin(uint32_t, bool& abort) {
  ResetState();
  abort = false;
}

TextRun COrvexHTMLReaderEvents::MakeRun() const {
  TextRun run{Strong, Em, Underline, Strike, FontNo, Sup, Sub, WholeSize(Size), Color, {}};
  if (Sup || Sub) run.Size /= 2;  // whole-number halving, toward zero
  return run;
}
