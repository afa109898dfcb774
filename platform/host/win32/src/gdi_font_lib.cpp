#include <inkline/host/gdi_font_lib.h>

#include <cmath>
#include <cstring>

#include <inkline/shared/numeric.h>
#include <inkline/shared/text_units.h>

namespace {

constexpr double kGrid = shared::kVectorGrid;
constexpr int kCellPixels = 400;  // outlines are read at this cell height
constexpr double kScale = kGrid / kCellPixels;
constexpr int kCurveSteps = 4;    // segments per quadratic piece

double Fixed(FIXED f) { return f.value + f.fract / 65536.0; }

struct Pt {
  double x, y;
};

Pt At(const POINTFX& p) { return Pt{Fixed(p.x), Fixed(p.y)}; }

// Appends a quadratic piece from a over control c to b, without a.
void AddQuadratic(Pt a, Pt c, Pt b, std::vector<Pt>* out) {
  for (int i = 1; i <= kCurveSteps; ++i) {
    const double t = static_cast<double>(i) / kCurveSteps, u = 1.0 - t;
    out->push_back(Pt{u * u * a.x + 2 * u * t * c.x + t * t * b.x,
                      u * u * a.y + 2 * u * t * c.y + t * t * b.y});
  }
}

// The contours of a GGO_NATIVE buffer, flattened, in pixels (y up).
std::vector<std::vector<Pt>> Contours(const unsigned char* buffer, DWORD size) {
  std::vector<std::vector<Pt>> contours;
  DWORD at = 0;
  while (at + sizeof(TTPOLYGONHEADER) <= size) {
    const auto* header = reinterpret_cast<const TTPOLYGONHEADER*>(buffer + at);
    std::vector<Pt> contour{At(header->pfxStart)};
    DWORD curveAt = at + sizeof(TTPOLYGONHEADER);
    const DWORD end = at + header->cb;
    while (curveAt < end) {
      const auto* curve = reinterpret_cast<const TTPOLYCURVE*>(buffer + curveAt);
      const int n = curve->cpfx;
      if (curve->wType == TT_PRIM_QSPLINE) {
        for (int i = 0; i + 1 < n; ++i) {
          const Pt c = At(curve->apfx[i]);
          const Pt next = At(curve->apfx[i + 1]);
          const Pt b = i + 2 == n ? next : Pt{(c.x + next.x) / 2, (c.y + next.y) / 2};
          AddQuadratic(contour.back(), c, b, &contour);
        }
      } else {
        for (int i = 0; i < n; ++i) contour.push_back(At(curve->apfx[i]));
      }
      curveAt += sizeof(WORD) * 2 + sizeof(POINTFX) * static_cast<DWORD>(n);
    }
    contours.push_back(contour);
    at = end;
  }
  return contours;
}

}  // namespace

GdiOutlineFont::GdiOutlineFont(const std::string& faceName) : faceName_(faceName) {
  LOGFONTA lf{};
  lf.lfHeight = kCellPixels;
  lf.lfWeight = FW_NORMAL;
  // The face as named: a GB2312 character set would make the mapper pick a
  // Chinese face for every name (characters are converted from GBK anyway).
  lf.lfCharSet = DEFAULT_CHARSET;
  std::strncpy(lf.lfFaceName, faceName.c_str(), LF_FACESIZE - 1);
  dc_ = CreateCompatibleDC(nullptr);
  font_ = CreateFontIndirectA(&lf);
  if (dc_ && font_) previous_ = SelectObject(dc_, font_);
  TEXTMETRICA metrics{};
  if (dc_ && GetTextMetricsA(dc_, &metrics)) descent_ = metrics.tmDescent;
}

GdiOutlineFont::~GdiOutlineFont() {
  if (dc_ && previous_) SelectObject(dc_, previous_);
  if (font_) DeleteObject(font_);
  if (dc_) DeleteDC(dc_);
}

wchar_t GdiOutlineFont::Wide(const char* ch) {
  if (!ch || !*ch) return 0;
  const int bytes = static_cast<int>(shared::CharBytes(ch));
  wchar_t wide = 0;
  return MultiByteToWideChar(936, 0, ch, bytes, &wide, 1) == 1 ? wide : 0;
}

short GdiOutlineFont::GetCharOutline(char* ch, double** points, int** partSizes,
                                     short* partCount, double) {
  points_.clear();
  sizes_.clear();
  const wchar_t wide = Wide(ch);
  GLYPHMETRICS gm{};
  const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  const DWORD size =
      wide ? GetGlyphOutlineW(dc_, wide, GGO_NATIVE | GGO_UNHINTED, &gm, 0, nullptr, &identity)
           : GDI_ERROR;
  if (size != GDI_ERROR && size > 0) {
    std::vector<unsigned char> buffer(size);
    if (GetGlyphOutlineW(dc_, wide, GGO_NATIVE | GGO_UNHINTED, &gm, size, buffer.data(),
                         &identity) != GDI_ERROR) {
      for (const auto& contour : Contours(buffer.data(), size)) {
        sizes_.push_back(static_cast<int>(contour.size()));
        for (const Pt& p : contour) {
          points_.push_back(p.x * kScale);
          points_.push_back((p.y + descent_) * kScale);
        }
      }
    }
  }
  points_.reserve(2);
  sizes_.reserve(1);
  *points = points_.data();
  *partSizes = sizes_.data();
  *partCount = static_cast<short>(sizes_.size());
  return sizes_.empty() ? 0 : 1;
}

double GdiOutlineFont::CharLength(char* ch) {
  const wchar_t wide = Wide(ch);
  GLYPHMETRICS gm{};
  const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
  if (!wide || GetGlyphOutlineW(dc_, wide, GGO_METRICS, &gm, 0, nullptr, &identity) == GDI_ERROR)
    return kGrid / 2;
  return gm.gmCellIncX * kScale;
}

void GdiOutlineFontLib::AddFont(short fontNo, const std::string& faceName) {
  fonts_[fontNo] = std::make_unique<GdiOutlineFont>(faceName);
}

short GdiOutlineFontLib::GetFontByName(char* faceName, MapFont** font) {
  const short no = GetFontNoByName(faceName);
  return GetFontByNo(no, font);
}

short GdiOutlineFontLib::GetFontByNo(short fontNo, MapFont** font) {
  auto it = fonts_.find(fontNo);
  if (it == fonts_.end()) it = fonts_.begin();
  *font = it == fonts_.end() ? nullptr : it->second.get();
  return *font ? 1 : 0;
}

short GdiOutlineFontLib::GetFontNoByName(char* faceName) {
  if (!faceName) return 0;
  for (const auto& entry : fonts_)
    if (entry.second->faceName() == faceName) return entry.first;
  return 0;
}

short GdiOutlineFontLib::GetFontName(short fontNo, char** name) {
  if (!name || !*name) return 0;
  auto it = fonts_.find(fontNo);
  const std::string face = it == fonts_.end() ? std::string() : it->second->faceName();
  std::strncpy(*name, face.c_str(), 63);
  (*name)[63] = '\0';
  return it == fonts_.end() ? 0 : 1;
}
