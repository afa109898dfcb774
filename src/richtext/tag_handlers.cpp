// Start and end tags: each style tag sets its field and saves it on its
// stack; the end tag pops the stack and restores the enclosing value, or the
// tag's fallback once the stack has run out.
#include <cctype>
#include <string>

#include "html/html_attributes.h"
#include "html/html_elem_attr.h"
#include "markup/attr_number.h"
#include "richtext/orvex_html_reader_events.h"

namespace {

bool SameName(const std::string& name, const char* wanted) {
  std::size_t i = 0;
  for (; i < name.size() && wanted[i] != '\0'; ++i) {
    const auto a = static_cast<unsigned char>(name[i]);
    const auto b = static_cast<unsigned char>(wanted[i]);
    if (std::tolower(a) != std::tolower(b)) return false;
  }
  return i == name.size() && wanted[i] == '\0';
}

// Calls visit(name, value) for each attribute of the tag, in list order.
template <typename Visit>
void ForEachAttribute(const CHTMLTag& tag, Visit visit) {
  const CHTMLAttributes* attributes = tag.GetAttributes();
  if (!attributes) return;
  const int count = attributes->GetCount();
  for (int i = 0; i < count; ++i) {
    const CHTMLElemAttr attribute = attributes->GetAttribute(i);
    visit(attribute.GetName(), attribute.Value.c_str());
  }
}

// Pops the top entry when there is one; returns the entries left.
template <typename T>
std::size_t Pop(std::vector<T>& stack) {
  if (!stack.empty()) stack.pop_back();
  return stack.size();
}

// The field of a style switch after its end tag: the enclosing value while
// more than the base entry is left, otherwise off.
short AfterSwitchEnd(std::vector<short>& stack) { return Pop(stack) >= 2 ? stack.back() : 0; }

// A style switch's start tag: the field takes value, and the stack keeps it
// for the end tag.
void SwitchOn(short& field, std::vector<short>& stack, short value) {
  field = value;
  stack.push_back(value);
}

}  // namespace

void COrvexHTMLReaderEvents::OnTagStart(CHTMLTag& tag, uint32_t, bool& abort) {
  const std::string name = tag.GetTagName();
  if (SameName(name, "body")) {
    StartBody(tag);
  } else if (SameName(name, "strong")) {
    SwitchOn(Strong, StrongStack, 1);
  } else if (SameName(name, "em")) {
    SwitchOn(Em, EmStack, 2);  // the italic style number
  } else if (SameName(name, "u")) {
    SwitchOn(Underline, UnderlineStack, 1);
  } else if (SameName(name, "strike")) {
    SwitchOn(Strike, StrikeStack, 1);
  } else if (SameName(name, "p")) {
    FlushParagraph();
  } else if (SameName(name, "font")) {
    StartFont(tag);
  } else if (SameName(name, "sup")) {
    SwitchOn(Sup, SupStack, 1);
  } else if (SameName(name, "sub")) {
    SwitchOn(Sub, SubStack, 1);
  }
  abort = false;
}

void COrvexHTMLReaderEvents::OnTagEnd(CHTMLTag& tag, uint32_t, bool& abort) {
  const std::string name = tag.GetTagName();
  if (SameName(name, "body")) {
    if (Pop(BgColorStack) >= 2) BgColor = BgColorStack.back();
  } else if (SameName(name, "strong")) {
    Strong = AfterSwitchEnd(StrongStack);
  } else if (SameName(name, "em")) {
    Em = AfterSwitchEnd(EmStack);
  } else if (SameName(name, "u")) {
    Underline = AfterSwitchEnd(UnderlineStack);
  } else if (SameName(name, "strike")) {
    Strike = AfterSwitchEnd(StrikeStack);
  } else if (SameName(name, "p")) {
    FlushParagraph();
  } else if (SameName(name, "font")) {
    EndFont();
  } else if (SameName(name, "sup")) {
    // Unlike the other switches, the base entry is restored too.
    Sup = Pop(SupStack) >= 1 ? SupStack.back() : 0;
  } else if (SameName(name, "sub")) {
    Sub = Pop(SubStack) >= 1 ? SubStack.back() : 0;
  }
  abort = false;
}

void COrvexHTMLReaderEvents::StartBody(const CHTMLTag& tag) {
  ForEachAttribute(tag, [this](const std::string& name, const char* value) {
    if (SameName(name, "bgColor")) {
      if (Owner) {
        BgColor = ReadMarkupInteger(value);
        BgColorStack.push_back(BgColor);
      }
    } else if (SameName(name, "size")) {
      Size = ReadMarkupReal(value);
    } else if (SameName(name, "angle")) {
      Angle = ReadMarkupReal(value);
    } else if (SameName(name, "space")) {
      Space = ReadMarkupReal(value);  // as written: body spacing is not scaled
    } else if (SameName(name, "hvpl")) {
      Hvpl = static_cast<short>(ReadMarkupInteger(value));
    }
  });
  // White (the starting background) is a colour too: the box is filled unless
  // the background is "no colour".
  if (BgColor > 0) FillBox();
}

void COrvexHTMLReaderEvents::FillBox() {
  if (!Owner || !Owner->Driver) return;
  BRUSH brush{static_cast<int>(BgColor), 0, 0, 0};
  Owner->Driver->SetBrush(&brush);
  const double right = BoxLeft + BoxWidth;
  const double bottom = BoxTop - BoxHeight;
  D_POINT ring[5] = {
      {BoxLeft, BoxTop}, {right, BoxTop}, {right, bottom}, {BoxLeft, bottom}, {BoxLeft, BoxTop}};
  int counts[1] = {5};
  Owner->Driver->FillPolygon(ring, counts, 1);
}

void COrvexHTMLReaderEvents::StartFont(const CHTMLTag& tag) {
  Color = 0;  // a font without a colour sets "no colour"
  ForEachAttribute(tag, [this](const std::string& name, const char* value) {
    if (SameName(name, "face")) {
      if (Owner) {
        const int fontNo = ReadMarkupInteger(value);
        FontNo = static_cast<short>(fontNo < 0 ? 0 : fontNo);
      }
    } else if (SameName(name, "color")) {
      Color = ReadMarkupInteger(value);
    }
  });
  FontNoStack.push_back(FontNo);
  // A font has no size; the size stack only saves the body size around it.
  SizeStack.push_back(WholeSize(Size));
  ColorStack.push_back(Color);
}

// After the outermost font closes, text falls to font 0 and colour 1, not to
// the starting style.
void COrvexHTMLReaderEvents::EndFont() {
  const std::size_t fonts = Pop(FontNoStack);
  const std::size_t sizes = Pop(SizeStack);
  const std::size_t colors = Pop(ColorStack);
  FontNo = fonts >= 2 ? FontNoStack.back() : 0;
  if (sizes >= 2) Size = static_cast<double>(SizeStack.back());
  Color = colors >= 2 ? ColorStack.back() : 1;
}
