// TrueType glyphs: the run loop that writes a run character by character with
// the Windows font of the run, and the writing of one character, as GDI text
// on the device context (its outline first stroked from a GDI path when
// outlining) or as native text on devices that draw text themselves.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include <inkline/afx.h>
#include <inkline/map_string.h>

#include "frame/entry_checks.h"
#include "glyph/run_decorations.h"
#include "layout/text_units.h"

namespace {

using glyph::MakePen;
using glyph::Vec;
using layout::RoundHalfUp;

constexpr double kPi = 3.141592653589793;

// A character is two bytes when its first byte, as a signed char, is not
// positive.
int CharBytes(const char* ch) { return static_cast<signed char>(ch[0]) <= 0 ? 2 : 1; }

// The context's handle. Without a context the calls get a null handle and
// fail as GDI fails them: nothing is written and no path is found.
HDC HandleOf(CDC* dc) { return dc ? dc->m_hDC : nullptr; }

}  // namespace

void CMapString::WinDispChar(double x, double y, double height, double width, char* str,
                             short fontNo, short style, short bold, short underline,
                             short strikeOut, double angle, double spacing, char arrangement,
                             short, double, bool native) {
  if (!str) return;
  // The cursor is the top of the cell: GDI writes text below its reference
  // point, the run's y is its baseline.
  const double theta = angle * kPi / 180.0;
  Vec cursor{x - width * std::sin(theta), y + height * std::cos(theta)};
  Vec end{x, y};

  SetFont(fontNo, style, bold, underline, strikeOut, height, width, angle, native);

  const Vec dir{std::cos(theta), std::sin(theta)};
  const Vec down{std::sin(theta), -std::cos(theta)};
  const double scale = width / entry_checks::DesignGridOf(*this);
  const bool vertical = arrangement != 0;
  if (vertical) cursor = Vec{cursor.x + height * down.x, cursor.y + height * down.y};

  // The step to the next character: along the baseline by the advance, or
  // one cell down the column whatever the advance.
  auto step = [&](double advance) {
    if (vertical) return Vec{(height + spacing) * down.x, (height + spacing) * down.y};
    const double along = advance * scale;
    return Vec{along * dir.x + spacing * dir.x, along * dir.y + spacing * dir.y};
  };
  auto move = [&](const Vec& d) {
    cursor = Vec{cursor.x + d.x, cursor.y + d.y};
    end = Vec{end.x + d.x, end.y + d.y};
  };

  // Only a window device clips here, testing the top of the cell in GDI's
  // rows.
  const bool clipping = ClipFlag != 0 && DeviceType == 1;
  double lastAdvance = 0.0;  // what DispWinChar last returned in this run
  const size_t length = std::strlen(str);
  size_t i = 0;
  while (i < length) {
    const POINT top{RoundHalfUp(cursor.x), RoundHalfUp(DevHeight - cursor.y)};
    if (clipping && !PtInRect(&ClipRect, top)) {
      // A clipped character moves by the last advance written, however
      // small; it is cheap and close enough to keep the run in step.
      i += layout::CharBytes(str + i);
      move(step(lastAdvance));
      continue;
    }
    const double advance = DispWinChar(cursor.x, cursor.y, str + i, native);
    lastAdvance = advance;
    i += layout::CharBytes(str + i);
    if (advance >= 1.0) move(step(advance));
  }

  glyph::DrawRunDecorations(*this, underline, strikeOut, Vec{x, y}, end, theta, height);
  RestoreFont(native);
}

double CMapString::DispWinChar(double x, double y, char* ch, bool native) {
  if (!ch) return -1.0;
  const int bytes = CharBytes(ch);

  if (native) {
    const float advance = CurFont ? static_cast<float>(CurFont->CharLength(ch)) : 0.0f;
    if (!TextDriver) return advance;
    PEN savedPen{};
    BRUSH savedBrush{};
    GetOldPenOrBrush(&savedPen, &savedBrush);
    float dx = 0.0f;
    float dy = 0.0f;
    if (OutlineMode == 1) {
      PEN outline = MakePen(OutlineWidth, OutlineColor);
      TextDriver->SetPen(&outline);
      TextDriver->SetTextOutline(OutlineMode);
    } else {
      // Native text stands on its reference point; moving it along the
      // escapement by a quarter of the height (half for a full-width
      // character) centres it on the cell the run laid out.
      const double phi = TextFont.lfEscapement * kPi / 1800.0;
      const double share = bytes == 1 ? 0.25 : 0.5;
      dx = static_cast<float>(share * TextFont.lfHeight * std::cos(phi));
      dy = static_cast<float>(share * TextFont.lfHeight * std::sin(phi));
      TextDriver->SetTextOutline(0);
    }
    BRUSH fill{};
    fill.color = savedPen.color;
    TextDriver->SetBrush(&fill);
    TextDriver->DrawTextLogFont(&TextFont, x + dx, y + dy, ch);
    TextDriver->SetBrush(&savedBrush);
    if (OutlineMode == 1 && Driver) Driver->SetPen(&savedPen);
    return advance;
  }

  const HDC dc = HandleOf(pDC);
  const int xi = RoundHalfUp(x);
  const int yi = RoundHalfUp(DevHeight - y);

  if (OutlineMode == 1) {
    // The outline comes from a path of the character in a font like the
    // run's, without underline and strike-out (the run draws its own lines).
    LOGFONTA outlineFace = WinFont;
    outlineFace.lfUnderline = 0;
    outlineFace.lfStrikeOut = 0;
    const HFONT outlineFont = CreateFontIndirectA(&outlineFace);
    const HGDIOBJ previous =
        outlineFont ? SelectObject(dc, reinterpret_cast<HGDIOBJ>(outlineFont)) : nullptr;
    auto putBack = [&]() {
      if (previous) SelectObject(dc, previous);
      DeleteObject(reinterpret_cast<HGDIOBJ>(outlineFont));
    };

    BeginPath(dc);
    TextOutA(dc, xi, yi, ch, bytes);
    EndPath(dc);
    const int n = GetPath(dc, nullptr, nullptr, 0);
    if (n < 0) {
      putBack();
      return 0.0;
    }
    // A character without an outline (a space) has nothing to stroke or
    // fill, but it still takes its room: without its advance the spaces of
    // outlined text would vanish.
    if (n == 0) {
      putBack();
      return CurFont ? CurFont->CharLength(ch) : 0.0;
    }
    // The buffers grow to exactly the path and never shrink.
    if (n > PathCap) {
      std::free(PathPoints);
      std::free(PathTypes);
      PathPoints = static_cast<POINT*>(std::malloc(sizeof(POINT) * static_cast<size_t>(n)));
      PathTypes = static_cast<BYTE*>(std::malloc(static_cast<size_t>(n)));
      PathCap = n;
      if (!PathPoints || !PathTypes) {
        std::free(PathPoints);
        std::free(PathTypes);
        PathPoints = nullptr;
        PathTypes = nullptr;
        PathCap = 0;
        putBack();
        return 0.0;
      }
    }
    const int m = GetPath(dc, PathPoints, PathTypes, n);

    PEN savedPen{};
    BRUSH savedBrush{};
    GetOldPenOrBrush(&savedPen, &savedBrush);
    PEN outline = MakePen(OutlineWidth, OutlineColor);
    if (Driver) Driver->SetPen(&outline);
    PolyDraw(dc, PathPoints, PathTypes, m);
    if (Driver) Driver->SetPen(&savedPen);
    putBack();
  }

  // SetFont selected the run's font and a transparent background.
  TextOutA(dc, xi, yi, ch, bytes);
  return CurFont ? CurFont->CharLength(ch) : 0.0;
}
