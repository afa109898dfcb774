// Making a font current: the vector font of the library always, and a Windows
// font beside it when the run may be drawn with TrueType; the lookups that
// turn face names into fonts.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include <inkline/afx.h>
#include <inkline/constants.h>
#include <inkline/map_string.h>

#include "frame/entry_checks.h"
#include "layout/dc_pair.h"
#include "layout/decisions.h"
#include "layout/engine.h"
#include "layout/numeric.h"

namespace layout {

namespace {

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

// The Windows font description of a request: its rounded height, weight,
// slant, escapement and the library's face name cut to 31 bytes. Reading the
// face name resets CurFontNo and CurStyle: they read 0 after a Windows-font
// selection.
LOGFONTA WindowsFontOf(CMapString& s, const FontRequest& r, short absStyle, double angle) {
  LOGFONTA font{};
  // Texts are GBK whatever the system's code page: the GB2312 character
  // set makes GDI read the bytes of TextOutA as code page 936.
  font.lfCharSet = GB2312_CHARSET;
  font.lfHeight = TruncToInt(RoundHalfUpValue(r.height));
  font.lfWeight = r.bold == 1 ? FW_BOLD : FW_NORMAL;
  font.lfItalic = absStyle == inkline::kStyleItalic ? 1 : 0;
  font.lfEscapement = TruncToInt(std::trunc(angle * 10.0));
  font.lfOrientation = font.lfEscapement;

  char name[64] = {};
  char* buffer = name;
  s.GetFontName(r.fontNo, &buffer);
  name[sizeof name - 1] = '\0';
  const size_t kept = std::min(std::strlen(name), static_cast<size_t>(LF_FACESIZE - 1));
  std::memcpy(font.lfFaceName, name, kept);
  font.lfFaceName[kept] = '\0';
  return font;
}

// A native device takes the description and the angle; any other gets the
// font created and selected into its context with a transparent background.
void UseWindowsFont(CMapString& s, bool native, float angle) {
  if (native) {
    s.TextFont = s.WinFont;
    if (s.TextDriver) s.TextDriver->SetTextAngle(angle);
    return;
  }
  s.hFont = CreateFontIndirectA(&s.WinFont);
  if (s.pDC) {
    const DcPair dc = DcPair::Of(s.pDC);
    s.hOldFont = s.hFont ? dc.Select(reinterpret_cast<HGDIOBJ>(s.hFont)) : nullptr;
    s.OldBkMode = dc.SetBackgroundMode(TRANSPARENT);
  }
}

}  // namespace

bool SelectFont(CMapString& s, const FontRequest& r) {
  s.CurFontNo = r.fontNo;
  s.CurStyle = r.style;
  // The absolute style decides here; the run writer tests it with its sign.
  const short absStyle = static_cast<short>(r.style < 0 ? -r.style : r.style);
  const bool windowsFont = s.LibType != kCharLibraryType &&
                           s.AdjustRationalDispMode(absStyle) == 1 &&
                           RoundHalfUpValue(r.height) == RoundHalfUpValue(r.width);
  if (windowsFont) {
    const double angle = NormalisedAngle(r.angle);
    s.WinFont = WindowsFontOf(s, r, absStyle, angle);
    UseWindowsFont(s, r.native, static_cast<float>(angle));
  }
  if (!s.FontLib) return false;
  s.FontLib->GetFontByNo(r.fontNo, &s.CurFont);
  if (!s.CurFont)
    Decide([&] { return "font " + std::to_string(r.fontNo) + ": not in the font library"; });
  return true;
}

void RestoreFont(CMapString& s, bool native) {
  if (native) return;
  if (s.pDC) {
    const DcPair dc = DcPair::Of(s.pDC);
    dc.SetBackgroundMode(s.OldBkMode);
    if (s.hOldFont) dc.Select(s.hOldFont);
  }
  DeleteObject(reinterpret_cast<HGDIOBJ>(s.hFont));
  s.hFont = nullptr;
  s.hOldFont = nullptr;
}

}  // namespace layout

bool CMapString::SetFont(short fontNo, short style, short bold, short, short, double height,
                         double width, double angle, bool native) {
  if (!entry_checks::AcceptFont(height, width)) return false;
  return layout::SelectFont(*this,
                            layout::FontRequest{fontNo, style, bold, height, width, angle, native});
}

void CMapString::RestoreFont(bool native) { layout::RestoreFont(*this, native); }

int CMapString::IsValidateWindowFont(short style) {
  return Hollow == 0 && (style == 0 || style == inkline::kStyleItalic) ? 1 : 0;
}

short CMapString::AdjustRationalDispMode(short style) {
  if (Driver) RationalDispMode = Driver->GetRationalDispMode();
  return RationalDispMode == 1 && IsValidateWindowFont(style) != 0 ? 1 : 0;
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
