// Operations whose drawing comes with the rich-text work.
#include <inkline/map_string.h>

void CMapString::HTMLStringOut(char* markup, double, double, D_RECT*, long) {
  if (!Driver || !markup) return;
}
