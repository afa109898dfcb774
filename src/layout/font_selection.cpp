// Making a font current: the vector font of the library always, and a Windows
// font beside it when the run may be drawn with TrueType; the lookups that
// turn face names into fonts.
#include <algorithm>
#include <cmath>
#include <cstring>

#include <inkline/afx.h>
#include <inkline/map_string.h>

#include "frame/entry_checks.h"

namespace {

// Rounds the way the whole library does: add 0.5 and truncate toward zero.
double RoundHalfUp(double v) { return std::trunc(v + 0.5); }

// A LONG from a value already truncated; out-of-range values saturate and NaN
// gives 0, where a plain conversion would be undefined.
LONG SaturatedLong(double v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0) return 2147483647;
  if (v <= -2147483648.0) return -2147483647 - 1;
  return static_cast<LONG>(v);
}

// Brings an angle into (0, 360] from above and into [0, 360) from below, as
// repeatedly subtracting or adding 360 would, without looping for huge or
// infinite angles. Both steps are exact for every angle small enough to loop.
double NormalisedAngle(double angle) {
  if (angle > 360.0) {
    angle = std::fmod(angle, 360.0);
    if (angle == 0.0) angle = 360.0;
  }
  if (angle < 0.0) {
    angle = std::fmod(angle, 360.0);
    if (angle < 0.0) angle += 360.0;
  }
  return angle;
}

// The character set the system's default GUI font reports; 0 without one.
BYTE DefaultGuiCharSet() {
  HGDIOBJ gui = GetStockObject(DEFAULT_GUI_FONT);
  if (!gui) return 0;
  LOGFONTA lf{};
  if (GetObjectA(gui, static_cast<int>(sizeof lf), &lf) <= 0) return 0;
  return lf.lfCharSet;
}

}  // namespace

int CMapString::IsValidateWindowFont(short style) {
  return Hollow == 0 && (style == 0 || style == 2) ? 1 : 0;
}

short CMapString::AdjustRationalDispMode(short style) {
  if (Driver) RationalDispMode = Driver->GetRationalDispMode();
  return RationalDispMode == 1 && IsValidateWindowFont(style) != 0 ? 1 : 0;
}

bool CMapString::SetFont(short fontNo, short style, short bold, short, short, double height,
                         double width, double angle, bool native) {
  if (!entry_checks::AcceptFont(height, width)) return false;
  CurFontNo = fontNo;
  CurStyle = style;

  // The absolute style decides here; the run writer tests it with its sign.
  const short absStyle = static_cast<short>(style < 0 ? -style : style);
  const bool windowsFont = LibType != 1 && AdjustRationalDispMode(absStyle) == 1 &&
                           RoundHalfUp(height) == RoundHalfUp(width);
  if (windowsFont) {
    std::memset(&WinFont, 0, sizeof WinFont);
    WinFont.lfCharSet = DefaultGuiCharSet();
    WinFont.lfHeight = SaturatedLong(RoundHalfUp(height));
    WinFont.lfWeight = bold == 1 ? FW_BOLD : FW_NORMAL;
    WinFont.lfItalic = absStyle == 2 ? 1 : 0;

    const double normalised = NormalisedAngle(angle);
    WinFont.lfEscapement = SaturatedLong(std::trunc(normalised * 10.0));
    WinFont.lfOrientation = WinFont.lfEscapement;

    // GetFontName resets CurFontNo and CurStyle: they read 0 after a
    // Windows-font selection.
    char name[64] = {};
    char* buffer = name;
    GetFontName(fontNo, &buffer);
    name[sizeof name - 1] = '\0';
    // The face name is cut to 31 bytes, leaving room for the terminator.
    const size_t kept = std::min(std::strlen(name), static_cast<size_t>(LF_FACESIZE - 1));
    std::memcpy(WinFont.lfFaceName, name, kept);
    WinFont.lfFaceName[kept] = '\0';

    if (native) {
      TextFont = WinFont;
      if (TextDriver) TextDriver->SetTextAngle(static_cast<float>(normalised));
    } else {
      hFont = CreateFontIndirectA(&WinFont);
      if (pDC) {
        hOldFont = hFont ? pDC->SelectObject(reinterpret_cast<HGDIOBJ>(hFont)) : nullptr;
        OldBkMode = pDC->SetBkMode(TRANSPARENT);
      }
    }
  }

  if (!FontLib) return false;
  FontLib->GetFontByNo(fontNo, &CurFont);
  return true;
}

void CMapString::RestoreFont(bool native) {
  if (native) return;
  if (pDC) {
    pDC->SetBkMode(OldBkMode);
    if (hOldFont) pDC->SelectObject(hOldFont);
  }
  DeleteObject(reinterpret_cast<HGDIOBJ>(hFont));
  hFont = nullptr;
  hOldFont = nullptr;
}

short CMapString::GetZt(char* faceName) {
  CurFontNo = 0;
  CurStyle = 0;
  if (!FontLib) return -1;
  CurFontNo = FontLib->GetFontNoByName(faceName);
  return CurFontNo;
}

MapFont* CMapString::SetFont(char* faceName) {
  CurFontNo = 0;
  CurStyle = 0;
  if (!FontLib) return nullptr;
  FontLib->GetFontByName(faceName, &CurFont);
  return CurFont;
}

short CMapString::GetFontName(short fontNo, char** name) {
  CurFontNo = 0;
  CurStyle = 0;
  if (!FontLib) return 0;
  return FontLib->GetFontName(fontNo, name);
}
