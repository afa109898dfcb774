// The code page's user-defined areas (GBK AAA1-AFFE, F8A1-FEFE and
// A140-A7A0 without the 7F trail bytes), numbered in the order codes are
// handed out: the process-wide table and a label's own codes count alike.
#ifndef INKLINE_PLATFORM_WIN32_USER_AREAS_H
#define INKLINE_PLATFORM_WIN32_USER_AREAS_H

namespace user_areas {

constexpr int kCodes = 1894;

// The code at position i (0 <= i < kCodes).
unsigned CodeAt(int i);
// The position of a code; -1 when it lies outside the areas.
int IndexOf(unsigned code);

}  // namespace user_areas

#endif  // INKLINE_PLATFORM_WIN32_USER_AREAS_H
