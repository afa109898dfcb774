// Operations whose drawing comes with the rich-text and markup work.
#include <inkline/convert.h>
#include <inkline/map_string.h>

void CMapString::HTMLStringOut(char* markup, double, double, D_RECT*, long) {
  if (!Driver || !markup) return;
}

char* CvtStrToHTML(char*, short, short, double, int, float, char, int, float) { return nullptr; }
char* CvtHTMLToStr(char*, short*, short*, double*, int*, float*, char*, int*, float*) {
  return nullptr;
}
