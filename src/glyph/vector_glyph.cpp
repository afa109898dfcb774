// Vector-font glyphs: the run loop that places characters along a rotated
// baseline or down a rotated column, the drawing of one character from its
// outline, and the saving of the device pen and brush around drawing.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include <inkline/map_string.h>

#include "frame/entry_checks.h"
#include "glyph/run_decorations.h"
#include "layout/text_units.h"

namespace {

using glyph::MakePen;
using glyph::Vec;
using layout::RoundHalfUp;

constexpr double kPi = 3.141592653589793;
constexpr double kSlant = 15.0;          // degrees a slanted style leans
constexpr double kShadowOffset = 1.5;    // design units the shadow is shifted by
constexpr int kShadowColor = 12;         // colour number of every shadow
constexpr int kMinGlyphCap = 256;        // first size of the glyph buffer, in points

bool Inside(const RECT& rect, Vec p) {
  return PtInRect(&rect, POINT{RoundHalfUp(p.x), RoundHalfUp(p.y)}) != FALSE;
}

// Makes room for `points` points in the object's glyph buffer; it only grows.
bool ReserveGlyphPoints(CMapString& s, long long points) {
  if (points <= s.GlyphCap) return true;
  long long cap = s.GlyphCap > 0 ? s.GlyphCap : kMinGlyphCap;
  while (cap < points) cap *= 2;
  if (cap > 0x7FFFFFFF / static_cast<long long>(sizeof(D_POINT))) return false;
  void* grown = std::realloc(s.GlyphPoints, sizeof(D_POINT) * static_cast<size_t>(cap));
  if (!grown) return false;
  s.GlyphPoints = static_cast<D_POINT*>(grown);
  s.GlyphCap = static_cast<int>(cap);
  return true;
}

}  // namespace

int CMapString::GetOldPenOrBrush(PEN* pen, BRUSH* brush) {
  if (!Driver) return 0;
  if (DeviceType < 0 || DeviceType > 9 || DeviceType == 2) return 0;
  if (pen) *pen = Driver->CurPen;
  if (brush) *brush = Driver->CurBrush;
  return 1;
}

void CMapString::GraphDispChar(double x, double y, double height, double width, char* str,
                               short fontNo, short style, short bold, short underline,
                               short strikeOut, double angle, double spacing, char arrangement,
                               short, double, bool) {
  if (!str) return;
  const HFONT fontBefore = hFont;
  SetFont(fontNo, style, bold, underline, strikeOut, height, width, 0.0, false);

  // The glyph's horizontal axis runs at thetaX, its vertical axis leans to
  // thetaY; a slanted style turns one of them by 15 degrees.
  const double theta = angle * kPi / 180.0;
  const double slant = kSlant * kPi / 180.0;
  double thetaX = theta;
  double thetaY = theta;
  switch (style % 5) {
    case 1: thetaY = theta + slant; break;
    case 2: thetaY = theta - slant; break;
    case 3: thetaX = theta + slant; break;
    case 4: thetaX = theta - slant; break;
    default: break;  // 0, and negative styles: upright
  }
  const double grid = entry_checks::DesignGridOf(*this);
  const double a1 = width * std::sin(thetaX) / grid;
  const double a2 = width * std::cos(thetaX) / grid;
  const double a3 = height * std::sin(thetaY) / grid;
  const double a4 = height * std::cos(thetaY) / grid;

  const Vec dir{std::cos(theta), std::sin(theta)};
  const Vec down{std::sin(theta), -std::cos(theta)};
  const bool vertical = arrangement != 0;

  Vec cursor{x, y};
  if (vertical) cursor = Vec{x + height * down.x, y + height * down.y};
  Vec end{x, y};

  // The step to the next character: along the baseline by the advance, or
  // one cell down the column whatever the advance.
  auto step = [&](double advance) {
    if (vertical) return Vec{(height + spacing) * down.x, (height + spacing) * down.y};
    const double along = advance * (width / grid);
    return Vec{along * dir.x + spacing * dir.x, along * dir.y + spacing * dir.y};
  };

  const bool clipping = ClipFlag != 0 && (DeviceType == 1 || DeviceType == 3);
  const size_t length = std::strlen(str);
  size_t i = 0;
  while (i < length) {
    double advance = 0.0;
    bool skipped = false;
    if (clipping && !Inside(ClipRect, cursor)) {
      // The end is estimated with the first character's advance, which is
      // cheap and close enough to decide visibility.
      const double estimate = CurFont ? CurFont->CharLength(str) : 0.0;
      const Vec d = step(estimate);
      if (!Inside(ClipRect, Vec{cursor.x + d.x, cursor.y + d.y})) {
        skipped = true;
        advance = estimate;
      }
    }
    if (!skipped) advance = Inkline(str + i, cursor.x, cursor.y, bold, underline, a1, a2, a3, a4);
    i += (static_cast<unsigned char>(str[i]) & 0x80) ? 2 : 1;

    // Below one design unit nothing moves, in either arrangement.
    if (advance >= 1.0) {
      const Vec d = step(advance);
      cursor = Vec{cursor.x + d.x, cursor.y + d.y};
      end = Vec{end.x + d.x, end.y + d.y};
    }
  }

  glyph::DrawRunDecorations(*this, underline, strikeOut, Vec{x, y}, end, theta, height);

  // A negative italic style with equal sizes gets a Windows font from
  // SetFont although the run is drawn here; give it back.
  if (hFont != fontBefore) RestoreFont(false);
}

double CMapString::Inkline(char* ch, double x, double y, short bold, short, double a1, double a2,
                           double a3, double a4) {
  if (!CurFont || !ch || !entry_checks::AcceptGlyph(x, y, a1, a2, a3, a4)) return 0.0;
  const double advance = CurFont->CharLength(ch);
  if (LibType == 1 && CurFontNo == 0)
    return static_cast<double>(DispChar(x, y, ch, bold, a1, a2, a3, a4));

  PEN saved{};
  BRUSH savedBrush{};
  GetOldPenOrBrush(&saved, &savedBrush);

  double* outline = nullptr;
  int* partSizes = nullptr;
  short parts = 0;
  CurFont->GetCharOutline(ch, &outline, &partSizes, &parts, CharHeight);
  long long total = 0;
  for (short k = 0; k < parts; ++k) total += partSizes[k];
  if (parts > 0 && total < 0) return 0.0;
  if (total > 0 && !outline) return 0.0;

  // The placed glyph and, for a shadow, its shifted copy, side by side in
  // the object's buffer (never empty, so the device never sees null).
  const long long count = total > 0 ? total : 0;
  if (!ReserveGlyphPoints(*this, count > 0 ? 2 * count : 2)) return 0.0;
  D_POINT* glyph = GlyphPoints;
  D_POINT* shadow = GlyphPoints + count;

  // The y offset lifts the glyph box; it is not rotated.
  const double lift = CurFont->GetYOffset() * CharHeight / entry_checks::DesignGridOf(*this);
  for (long long k = 0; k < count; ++k) {
    const double px = outline[2 * k];
    const double py = outline[2 * k + 1];
    glyph[k].x = x + px * a2 - py * a3;
    glyph[k].y = y + px * a1 + py * a4 + lift;
  }

  if (!Driver) return advance;
  const bool hollow = Hollow == 1;
  auto strokeOutline = [&]() {
    if (OutlineMode != 1) return;
    PEN pen = MakePen(OutlineWidth + (bold == 1 ? 2.0 : 0.0), OutlineColor);
    Driver->SetPen(&pen);
    Driver->DrawPolylines(glyph, partSizes, parts);
  };
  auto strokeBold = [&]() {
    if (bold != 1) return;
    PEN pen = MakePen(OutlineWidth, saved.color);
    Driver->SetPen(&pen);
    Driver->DrawPolylines(glyph, partSizes, parts);
  };

  if (CurStyle < 5) {
    strokeOutline();
    strokeBold();
    PEN body = MakePen(0.0, saved.color);
    Driver->SetPen(&body);
    if (hollow)
      Driver->DrawPolylines(glyph, partSizes, parts);
    else
      Driver->FillPolygons(glyph, partSizes, parts);
  } else {
    // The shadow lies down and to the right of the glyph, in its own axes.
    const double dx = kShadowOffset * (a2 - a3);
    const double dy = kShadowOffset * (a1 - a4);
    for (long long k = 0; k < count; ++k) shadow[k] = D_POINT{glyph[k].x + dx, glyph[k].y + dy};
    if (hollow) {
      PEN pen = MakePen(1.0, kShadowColor);
      Driver->SetPen(&pen);
      Driver->DrawPolylines(shadow, partSizes, parts);
    } else {
      BRUSH brush{};
      brush.color = kShadowColor;
      Driver->SetBrush(&brush);
      Driver->FillPolygons(shadow, partSizes, parts);
    }
    strokeOutline();
    strokeBold();
    if (hollow) {
      PEN body = MakePen(0.0, saved.color);
      Driver->SetPen(&body);
      Driver->DrawPolylines(glyph, partSizes, parts);
    } else {
      Driver->SetPen(&saved);
      Driver->SetBrush(&savedBrush);
      Driver->FillPolygons(glyph, partSizes, parts);
    }
  }
  Driver->SetPen(&saved);
  return advance;
}
