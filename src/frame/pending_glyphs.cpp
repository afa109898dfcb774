// Operations whose drawing comes with the glyph work.
// Until then they do nothing; each returns its "nothing done" value.
#include <inkline/map_string.h>

void CMapString::GraphDispChar(double, double, double, double, char*, short, short, short, short,
                               short, double, double, char, short, double, bool) {}
int CMapString::GetOldPenOrBrush(PEN*, BRUSH*) { return 0; }
double CMapString::Inkline(char*, double, double, short, short, double, double, double, double) {
  return 0.0;
}
void CMapString::GetClib(int, char*) {}
int CMapString::DispChar(double, double, char*, short, double, double, double, double) {
  return 0;
}
