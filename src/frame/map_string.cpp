// Construction, copying, the setters and release of the string object.
#include <cstdlib>
#include <cstring>

#include <inkline/map_string.h>

#include "layout/device_view.h"
#include "layout/numeric.h"

namespace {

constexpr int kInitialPathCap = 500;

// Gives an object path buffers of its own, or none with capacity 0.
void AllocatePathBuffers(CMapString& s, int cap) {
  s.PathPoints = nullptr;
  s.PathTypes = nullptr;
  s.PathCap = 0;
  if (cap <= 0) return;
  s.PathPoints = static_cast<POINT*>(std::malloc(sizeof(POINT) * static_cast<size_t>(cap)));
  s.PathTypes = static_cast<BYTE*>(std::malloc(static_cast<size_t>(cap)));
  if (!s.PathPoints || !s.PathTypes) {
    std::free(s.PathPoints);
    std::free(s.PathTypes);
    s.PathPoints = nullptr;
    s.PathTypes = nullptr;
    return;
  }
  s.PathCap = cap;
}

void ReleasePathBuffers(CMapString& s) {
  std::free(s.PathPoints);
  std::free(s.PathTypes);
  s.PathPoints = nullptr;
  s.PathTypes = nullptr;
}

// Copies every field but the path buffers, in declared order.
void CopyFields(CMapString& to, const CMapString& from) {
  to.Driver = from.Driver;
  to.CurFont = from.CurFont;
  to.FontLib = from.FontLib;
  to.CurFontNo = from.CurFontNo;
  to.CurStyle = from.CurStyle;
  to.DevFlags = from.DevFlags;
  to.SizeClass = from.SizeClass;
  to.ScaleA = from.ScaleA;
  to.ScaleB = from.ScaleB;
  to.ScaleC = from.ScaleC;
  to.CharHeight = from.CharHeight;
  to.pDC = from.pDC;
  to.DevHeight = from.DevHeight;
  to.RationalDispMode = from.RationalDispMode;
  to.OutlineWidth = from.OutlineWidth;
  to.LineWidth = from.LineWidth;
  to.WinFont = from.WinFont;
  to.DevRect = from.DevRect;
  to.ClipFlag = from.ClipFlag;
  to.DeviceType = from.DeviceType;
  to.OutlineMode = from.OutlineMode;
  to.Hollow = from.Hollow;
  to.OutlineColor = from.OutlineColor;
  to.ClipRect = from.ClipRect;
  std::memcpy(to.RangePoly, from.RangePoly, sizeof to.RangePoly);
  to.TextDriver = from.TextDriver;
  to.TextFont = from.TextFont;
  to.hFont = from.hFont;
  to.hOldFont = from.hOldFont;
  to.OldBkMode = from.OldBkMode;
  to.LibType = from.LibType;
  std::memcpy(to.ClibRecord, from.ClibRecord, sizeof to.ClibRecord);
  to.DesignGrid = from.DesignGrid;
}

}  // namespace

CMapString::CMapString(DeviceDriver* driver) {
  ClipFlag = 1;
  Driver = driver;
  TextDriver = nullptr;
  CurFont = nullptr;
  FontLib = nullptr;
  FontLib = GetMapFontLib();

  CurFontNo = 0;
  CurStyle = 0;
  DevFlags = 0;
  SizeClass = 0;
  ScaleA = 1.0;
  ScaleB = 1.0;
  ScaleC = 1.0;  // the host sets it before drawing; 1.0 keeps widths sane until then
  CharHeight = 0.0;
  pDC = nullptr;
  DevHeight = 0;
  RationalDispMode = -1;
  OutlineWidth = 0.0;  // set by every StringOut
  LineWidth = 0.0;
  std::memset(&WinFont, 0, sizeof WinFont);
  DevRect = D_RECT{};
  DeviceType = 0;  // only a device reports a kind; a null driver draws nothing anyway
  OutlineMode = -1;
  Hollow = 0;
  OutlineColor = 9;
  ClipRect = RECT{};
  std::memset(RangePoly, 0, sizeof RangePoly);
  std::memset(&TextFont, 0, sizeof TextFont);
  hFont = nullptr;
  hOldFont = nullptr;
  OldBkMode = 0;
  LibType = 2;
  std::memset(ClibRecord, 0, sizeof ClibRecord);
  DesignGrid = 0.0;

  if (driver) {
    RationalDispMode = driver->GetRationalDispMode();
    DevFlags = driver->DispFlags;
    DeviceType = driver->GetDeviceType();
    if (layout::RulesOfKind(DeviceType).nativeText) TextDriver = driver;
  }

  AllocatePathBuffers(*this, kInitialPathCap);
  GlyphPoints = nullptr;  // grown by the first vector glyph
  GlyphCap = 0;
}

// A copy gets fresh path buffers of the same capacity: no two live objects
// ever share one.
CMapString::CMapString(const CMapString& other) : MapString(other) {
  CopyFields(*this, other);
  AllocatePathBuffers(*this, other.PathCap);
  GlyphPoints = nullptr;  // the copy grows its own glyph buffer when it draws
  GlyphCap = 0;
}

CMapString& CMapString::operator=(const CMapString& other) {
  if (this == &other) return *this;  // keeps the buffers; the fields are already equal
  CopyFields(*this, other);
  if (PathCap != other.PathCap) {
    ReleasePathBuffers(*this);
    AllocatePathBuffers(*this, other.PathCap);
  }
  return *this;
}

CMapString::~CMapString() {
  ReleasePathBuffers(*this);
  std::free(GlyphPoints);
  GlyphPoints = nullptr;
}

short CMapString::SetScale(double first, double second, double third) {
  ScaleA = first;
  ScaleB = second;
  ScaleC = third;
  return 1;
}

short CMapString::SetClipFlag(double flag) {
  // Truncate toward zero; values beyond the integer range (and NaN) must not
  // reach an undefined conversion, so they saturate first.
  const long long whole = layout::TruncToInt64(flag);
  ClipFlag = static_cast<short>(static_cast<unsigned short>(whole & 0xFFFF));
  return 1;
}

void CMapString::Free() { delete this; }

bool CMapString::ShowHTMLText(POINT, D_RECT*, long) { return true; }
