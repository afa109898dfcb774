// Reaches the string object's private operations from tests.
//
// The installed header names no test class, so the probe takes pointers to
// the private members the one way the language allows without a friend: an
// explicit template instantiation may name any member, and the pointer it is
// given leaves through a friend function of a tag type.
#ifndef INKLINE_TESTS_SUPPORT_PROBE_H
#define INKLINE_TESTS_SUPPORT_PROBE_H

#include <cstddef>
#include <cstring>

#include <inkline/map_string.h>

namespace probe_detail {

template <typename Tag, typename Tag::type Member>
struct Expose {
  friend typename Tag::type Get(Tag) { return Member; }
};

#define INKLINE_PROBE_MEMBER(TagName, MemberType, MemberName) \
  struct TagName {                                            \
    using type = MemberType;                                  \
    friend type Get(TagName);                                 \
  };                                                          \
  template struct Expose<TagName, &MemberName>

using SetFontFn = bool (CMapString::*)(short, short, short, short, short, double, double, double,
                                       bool);
using DispStringFn = void (CMapString::*)(char*, double, double, double, double, short, short,
                                          short, short, short, double, double, char, short,
                                          double);
using InklineFn = double (CMapString::*)(char*, double, double, short, short, double, double,
                                         double, double);
using ShowFn = bool (CMapString::*)(POINT, D_RECT*, long);
using BaseSetFontFn = bool (MapString::*)(short, short, short, short, short, double, double,
                                          double, bool);
using BaseDispStringFn = void (MapString::*)(char*, double, double, double, double, short, short,
                                             short, short, short, double, double, char, short,
                                             double);
using BaseInklineFn = double (MapString::*)(char*, double, double, short, short, double, double,
                                            double, double);

INKLINE_PROBE_MEMBER(SetFontTag, SetFontFn, CMapString::SetFont);
INKLINE_PROBE_MEMBER(DispStringTag, DispStringFn, CMapString::DispString);
INKLINE_PROBE_MEMBER(InklineTag, InklineFn, CMapString::Inkline);
INKLINE_PROBE_MEMBER(ShowTag, ShowFn, CMapString::ShowHTMLText);
INKLINE_PROBE_MEMBER(BaseSetFontTag, BaseSetFontFn, MapString::SetFont);
INKLINE_PROBE_MEMBER(BaseDispStringTag, BaseDispStringFn, MapString::DispString);
INKLINE_PROBE_MEMBER(BaseInklineTag, BaseInklineFn, MapString::Inkline);

#undef INKLINE_PROBE_MEMBER

}  // namespace probe_detail

struct CMapStringProbe {
  static bool SetFont(CMapString& s, short fontNo, short style, short bold, short underline,
                      short strikeOut, double height, double width, double angle, bool native) {
    return (s.*Get(probe_detail::SetFontTag{}))(fontNo, style, bold, underline, strikeOut, height,
                                                 width, angle, native);
  }
  static void DispString(CMapString& s, const char* text, double x, double y, double height,
                         double width, short fontNo, short style, short bold, short underline,
                         short strikeOut, double angle, double space, char arrangement,
                         short color, double boxScale) {
    (s.*Get(probe_detail::DispStringTag{}))(const_cast<char*>(text), x, y, height, width, fontNo,
                                             style, bold, underline, strikeOut, angle, space,
                                             arrangement, color, boxScale);
  }
  static double Inkline(CMapString& s, const char* ch, double x, double y, short bold,
                        short underline, double a1, double a2, double a3, double a4) {
    return (s.*Get(probe_detail::InklineTag{}))(const_cast<char*>(ch), x, y, bold, underline, a1,
                                                 a2, a3, a4);
  }
  static bool ShowHTMLText(CMapString& s, POINT origin, D_RECT* box, long flags) {
    return (s.*Get(probe_detail::ShowTag{}))(origin, box, flags);
  }

  // Slot of a virtual member in its table (Itanium C++ ABI: a pointer to a
  // virtual member holds 1 + the slot's byte offset).
  template <typename M>
  static std::ptrdiff_t Slot(M member) {
    std::ptrdiff_t word = 0;
    std::memcpy(&word, &member, sizeof word);
    return (word - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
  }
  static std::ptrdiff_t SetFontSlot() { return Slot(Get(probe_detail::BaseSetFontTag{})); }
  static std::ptrdiff_t DispStringSlot() { return Slot(Get(probe_detail::BaseDispStringTag{})); }
  static std::ptrdiff_t InklineSlot() { return Slot(Get(probe_detail::BaseInklineTag{})); }
};

#endif  // INKLINE_TESTS_SUPPORT_PROBE_H
