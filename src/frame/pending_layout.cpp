// Operations whose drawing comes with the plain-annotation layout work.
// A null device or text already draws nothing.
#include <inkline/map_string.h>

void CMapString::StringOut(char* text, double, double, double, double, short, short, double,
                           double, char, short, double, MapFontLib*) {
  if (!Driver || !text) return;
}
void CMapString::DispString(char* text, double, double, double, double, short, short, short,
                            short, short, double, double, char, short, double) {
  if (!Driver || !text) return;
}
void CMapString::DispStringInner(char*, double, double, double, double, short, short, short,
                                 short, short, double, double, char, short, double) {}
void CMapString::WriteString(double, double, double, double, char*, short, short, short, short,
                             short, double, double, char, short, double) {}
void CMapString::InnerWriteString(double, double, double, double, char*, short, short, short,
                                  short, short, double, double, char, short, double, bool) {}
short CMapString::GetStringRange(double, double, double, double, char* text, double, double,
                                 char, double, short, short) {
  (void)text;
  return 0;
}
