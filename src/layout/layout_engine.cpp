// The layout of a plain string: a stacked fraction, or a prefix followed by
// raised, lowered or stacked segments, each piece placed along the rotated
// baseline and handed to the run writer.
//
// The text after a fraction bar or after a segment continues as a string of
// its own, laid out as DispString lays out any string. Only the numerator is
// drawn through a nested DispString call; the rest of the text is continued in
// this loop with the same state change DispString makes, so however many
// notations a text holds, the stack does not grow with them.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include <inkline/map_string.h>

#include "layout/entry_points.h"
#include "layout/text_units.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr std::size_t kNoCode = static_cast<std::size_t>(-1);

constexpr double kReduced = 0.65;         // size of raised and lowered segments
constexpr double kRaise = 0.5;            // raise of a raised segment, in heights
constexpr double kDrop = 0.15;            // drop of a lowered segment, in heights
constexpr double kNumeratorGap = 0.25;    // numerator baseline above the bar
constexpr double kFractionBarWidth = 1.0;

struct Vec {
  double x, y;
};

// Index of the first '#' followed by '+', '-' or '=' at or after from.
std::size_t FindCode(const char* s, std::size_t from) {
  for (std::size_t k = from; s[k]; ++k)
    if (s[k] == '#' && (s[k + 1] == '+' || s[k + 1] == '-' || s[k + 1] == '=')) return k;
  return kNoCode;
}

// A point rounded through single precision, as positions of segments are.
Vec Single(double x, double y) { return Vec{layout::ToSingle(x), layout::ToSingle(y)}; }

}  // namespace

void CMapString::DispStringInner(char* text, double x, double y, double height, double width,
                                 short fontNo, short style, short bold, short underline,
                                 short strikeOut, double angle, double space, char arrangement,
                                 short color, double boxScale) {
  if (!text || !Driver) return;
  if (CharHeight <= 0) {
    CharHeight = height;
    DesignGrid = 40.0;
  }
  // Pieces are cut out of a private copy by writing NULs into it.
  const std::size_t textLen = std::strlen(text);
  char* copy = static_cast<char*>(std::calloc(textLen + 16, 1));
  if (!copy) return;
  std::memcpy(copy, text, textLen);

  const double a = angle / 180 * kPi;
  const Vec d = arrangement == 0 ? Vec{std::cos(a), std::sin(a)} : Vec{std::sin(a), -std::cos(a)};
  const Vec u = arrangement == 0 ? Vec{-std::sin(a), std::cos(a)} : Vec{std::cos(a), std::sin(a)};

  // Length of a piece along the baseline.
  const auto lengthOf = [&](char* s) {
    return width * StringLength(s, fontNo, arrangement, FontLib) +
           space * static_cast<double>(layout::CountChars(s));
  };
  const auto write = [&](char* s, Vec at, double h, double w) {
    WriteString(at.x, at.y, h, w, s, fontNo, style, bold, underline, strikeOut, angle, space,
                arrangement, color, boxScale);
  };

  char* piece = copy;
  std::size_t codeFrom = 0;
  for (;;) {
    // Every round after the first continues a nested string.
    if (CharHeight <= 0) {
      CharHeight = height;
      DesignGrid = 40.0;
    }
    const std::size_t len = std::strlen(piece);
    char* rest = nullptr;  // text that continues as a string of its own
    Vec restAt{x, y};

    bool fraction = false;
    if (piece[0] == '/' && piece[1] != '/' && piece[len - 1] == '/') {
      const char* slash = std::strchr(piece + 1, '/');
      const std::size_t mid = slash ? static_cast<std::size_t>(slash - piece) : len - 1;
      if (mid < len - 1) {
        fraction = true;
        piece[mid] = '\0';
        piece[len - 1] = '\0';
        char* numerator = piece + 1;
        char* denominator = piece + mid + 1;
        const double lNum = lengthOf(numerator);
        const double lDen = lengthOf(denominator);
        const double lMax = std::max(lNum, lDen);

        // Devices that keep no pen of their own get the bar in colour 0.
        PEN saved{};
        if (DeviceType == 0 || DeviceType == 1 || (DeviceType >= 3 && DeviceType <= 6))
          saved = Driver->CurPen;
        PEN bar{};
        bar.width = kFractionBarWidth;
        bar.color = saved.color;
        Driver->SetPen(&bar);
        Driver->DrawLine(x, y, x + lMax * d.x, y + lMax * d.y);
        Driver->SetPen(&saved);

        const double numShift = (lMax - lNum) / 2;
        const Vec numAt = Single(x + numShift * d.x + kNumeratorGap * height * u.x,
                                 y + numShift * d.y + kNumeratorGap * height * u.y);
        DispString(numerator, numAt.x, numAt.y, height, width, fontNo, style, bold, underline,
                   strikeOut, angle, space, arrangement, color, boxScale);

        const double denShift = (lMax - lDen) / 2;
        rest = denominator;
        restAt = Vec{x + denShift * d.x - height * u.x, y + denShift * d.y - height * u.y};
      } else {
        // Only the closing slash follows: the text is drawn as it stands.
        codeFrom = mid;
      }
    }

    if (!fraction) {
      const std::size_t i = FindCode(piece, codeFrom);
      if (i == kNoCode) {
        write(piece, Vec{x, y}, height, width);
        break;
      }
      const char c1 = piece[i + 1];
      piece[i] = '\0';
      const double l = lengthOf(piece);
      write(piece, Vec{x, y}, height, width);

      char* s1 = piece + i + 2;
      const Vec raised = Single(x + l * d.x + kRaise * height * u.x,
                                y + l * d.y + kRaise * height * u.y);
      const Vec lowered = Single(x + l * d.x - kDrop * height * u.x,
                                 y + l * d.y - kDrop * height * u.y);
      const double rh = kReduced * height, rw = kReduced * width;

      const std::size_t j = FindCode(piece, i + 2);
      if (j == kNoCode) {
        if (c1 == '+')
          write(s1, raised, rh, rw);
        else if (c1 == '-')
          write(s1, lowered, rh, rw);
        else
          write(s1, Single(x + l * d.x, y + l * d.y), height, width);
        break;
      }

      const char c2 = piece[j + 1];
      piece[j] = '\0';
      const Vec first = c1 == '+' ? raised : lowered;
      if (c2 == '=') {
        write(s1, first, rh, rw);
        const double advance = l + kReduced * lengthOf(s1);
        rest = piece + j + 2;
        restAt = Single(x + advance * d.x, y + advance * d.y);
      } else {
        // A stacked pair: the second segment takes the other position.
        char* s2 = piece + j + 2;
        const std::size_t k = FindCode(piece, j + 1);
        if (k != kNoCode) piece[k] = '\0';
        write(s1, first, rh, rw);
        write(s2, c1 == '+' ? lowered : raised, rh, rw);
        if (k == kNoCode) break;
        const double advance = l + kReduced * std::max(lengthOf(s1), lengthOf(s2));
        rest = piece + k + 2;
        restAt = Single(x + advance * d.x, y + advance * d.y);
      }
    }

    // The rest is laid out as DispString would lay it out.
    if (!layout::EnterDispString(*this, height, color)) break;
    piece = rest;
    x = restAt.x;
    y = restAt.y;
    codeFrom = 0;
  }
  std::free(copy);
}
