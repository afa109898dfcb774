#include "layout/text_units.h"

namespace layout {

long CountChars(const char* text) {
  if (!text) return 0;
  long count = 0;
  for (const char* p = text; *p; p += CharBytes(p)) ++count;
  return count;
}

long CountChars(const char* text, std::size_t bytes) {
  long count = 0;
  for (std::size_t i = 0; i < bytes; i += CharBytes(text + i)) ++count;
  return count;
}

}  // namespace layout
