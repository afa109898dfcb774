// Operations whose drawing comes with the TrueType glyph work.
#include <inkline/map_string.h>

void CMapString::WinDispChar(double, double, double, double, char*, short, short, short, short,
                             short, double, double, char, short, double, bool) {}
double CMapString::DispWinChar(double, double, char* ch, bool) { return ch ? 0.0 : -1.0; }
