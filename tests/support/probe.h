// Reaches the string object's private operations from tests.
#ifndef INKLINE_TESTS_SUPPORT_PROBE_H
#define INKLINE_TESTS_SUPPORT_PROBE_H

#include <cstddef>
#include <cstring>

#include <inkline/map_string.h>

struct CMapStringProbe {
  static bool SetFont(CMapString& s, short fontNo, short style, short bold, short underline,
                      short strikeOut, double height, double width, double angle, bool native) {
    return s.SetFont(fontNo, style, bold, underline, strikeOut, height, width, angle, native);
  }
  static void DispString(CMapString& s, const char* text, double x, double y, double height,
                         double width, short fontNo, short style, short bold, short underline,
                         short strikeOut, double angle, double space, char arrangement,
                         short color, double boxScale) {
    s.DispString(const_cast<char*>(text), x, y, height, width, fontNo, style, bold, underline,
                 strikeOut, angle, space, arrangement, color, boxScale);
  }
  static double Inkline(CMapString& s, const char* ch, double x, double y, short bold,
                        short underline, double a1, double a2, double a3, double a4) {
    return s.Inkline(const_cast<char*>(ch), x, y, bold, underline, a1, a2, a3, a4);
  }
  static bool ShowHTMLText(CMapString& s, POINT origin, D_RECT* box, long flags) {
    return s.ShowHTMLText(origin, box, flags);
  }

  // Slot of a virtual member in its table (Itanium C++ ABI: a pointer to a
  // virtual member holds 1 + the slot's byte offset).
  template <typename M>
  static std::ptrdiff_t Slot(M member) {
    std::ptrdiff_t word = 0;
    std::memcpy(&word, &member, sizeof word);
    return (word - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
  }
  static std::ptrdiff_t SetFontSlot() {
    bool (MapString::*m)(short, short, short, short, short, double, double, double, bool) =
        &MapString::SetFont;
    return Slot(m);
  }
  static std::ptrdiff_t DispStringSlot() { return Slot(&MapString::DispString); }
  static std::ptrdiff_t InklineSlot() { return Slot(&MapString::Inkline); }
};

#endif  // INKLINE_TESTS_SUPPORT_PROBE_H
