#include "user_areas.h"

namespace user_areas {
namespace {

// One rectangle of lead and trail bytes; trail 7F is never a trail byte.
struct Area {
  unsigned leadLo, leadHi, trailLo, trailHi;
  int Trails() const { return static_cast<int>(trailHi - trailLo + 1) - (Has7F() ? 1 : 0); }
  int Size() const { return static_cast<int>(leadHi - leadLo + 1) * Trails(); }
  bool Has7F() const { return trailLo <= 0x7F && 0x7F <= trailHi; }
};

constexpr Area kAreas[] = {{0xAA, 0xAF, 0xA1, 0xFE}, {0xF8, 0xFE, 0xA1, 0xFE}, {0xA1, 0xA7, 0x40, 0xA0}};

}  // namespace

unsigned CodeAt(int i) {
  for (const Area& a : kAreas) {
    if (i >= a.Size()) {
      i -= a.Size();
      continue;
    }
    const unsigned lead = a.leadLo + static_cast<unsigned>(i / a.Trails());
    unsigned trail = a.trailLo + static_cast<unsigned>(i % a.Trails());
    if (a.Has7F() && trail >= 0x7F) ++trail;
    return lead << 8 | trail;
  }
  return 0;
}

int IndexOf(unsigned code) {
  const unsigned lead = code >> 8, trail = code & 0xFF;
  int before = 0;
  for (const Area& a : kAreas) {
    if (lead >= a.leadLo && lead <= a.leadHi && trail >= a.trailLo && trail <= a.trailHi &&
        trail != 0x7F) {
      const int column = static_cast<int>(trail - a.trailLo) - (a.Has7F() && trail > 0x7F ? 1 : 0);
      return before + static_cast<int>(lead - a.leadLo) * a.Trails() + column;
    }
    before += a.Size();
  }
  return -1;
}

}  // namespace user_areas
