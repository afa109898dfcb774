// Operations whose drawing comes with the font-selection and glyph work.
// Until then they do nothing; each returns its "nothing done" value.
#include <inkline/map_string.h>

bool CMapString::SetFont(short, short, short, short, short, double, double, double, bool) {
  return FontLib != nullptr;
}
void CMapString::RestoreFont(bool) {}
int CMapString::IsValidateWindowFont(short) { return 0; }
short CMapString::AdjustRationalDispMode(short) { return 0; }
short CMapString::GetZt(char*) { return -1; }
MapFont* CMapString::SetFont(char*) { return nullptr; }
short CMapString::GetFontName(short, char**) { return 0; }
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
