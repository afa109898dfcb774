// The layout of a plain string: a stacked fraction, or a prefix followed by
// raised, lowered or stacked segments, each piece placed along the rotated
// baseline and handed to the run writer.
//
// The text after a fraction bar or after a segment continues as a string of
// its own, laid out as DispString lays out any string. Only the numerator is
// drawn through a nested DispString; the rest of the text is continued in
// this loop with the same state change DispString makes, so however many
// notations a text holds, the stack does not grow with them.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include <inkline/map_string.h>

#include "layout/decisions.h"
#include "layout/engine.h"
#include "layout/guards.h"
#include "layout/numeric.h"
#include "layout/text_units.h"

namespace layout {

namespace {

constexpr std::size_t kNoCode = static_cast<std::size_t>(-1);

constexpr double kReduced = 0.65;         // size of raised and lowered segments
constexpr double kRaise = 0.5;            // raise of a raised segment, in heights
constexpr double kDrop = 0.15;            // drop of a lowered segment, in heights
constexpr double kNumeratorGap = 0.25;    // numerator baseline above the bar
constexpr double kFractionBarWidth = 1.0;

// Index of the first '#' followed by '+', '-' or '=' at or after from.
std::size_t FindCode(const char* s, std::size_t from) {
  for (std::size_t k = from; s[k]; ++k)
    if (s[k] == '#' && (s[k + 1] == '+' || s[k + 1] == '-' || s[k + 1] == '=')) return k;
  return kNoCode;
}

// A point rounded through single precision, as positions of segments are.
Vec Single(Vec p) { return Vec{ToSingle(p.x), ToSingle(p.y)}; }

// What every piece of one string shares: the run and its style, the advance
// direction d and the raise direction u.
struct Pieces {
  const DrawContext& c;
  const Run& run;
  const RunStyle& style;
  Vec d;
  Vec u;

  // Length of a piece along the baseline, in the process-wide font library:
  // the host's StringLength is asked with no library of its own.
  double Length(char* s) const {
    return run.width * StringLength(s, style.fontNo, run.arrangement, nullptr) +
           run.space * static_cast<double>(CountChars(s));
  }
  void Write(char* s, Vec at, double h, double w) const { WriteRun(c, run.Piece(s, at, h, w), style); }
  // The point `along` down the baseline and `up` across it from `from`.
  Vec At(Vec from, double along, double up) const { return from + along * d + up * u; }
};

// Where the text goes on: a rest laid out as a string of its own from `at`,
// or nothing more. A fraction test that finds no fraction hands the same
// piece on with the index its code search starts from.
// The rest's length is carried along, as measuring it again for every piece
// would take time growing with the square of the text.
struct Next {
  char* rest;
  std::size_t length;
  Vec at;
  std::size_t codeFrom;
};

constexpr Next kDone{nullptr, 0, Vec{0, 0}, 0};

// A fraction bar in the pen's colour; native-text and pen-less devices draw
// it in colour 0 and get a zero pen back.
void DrawFractionBar(const Pieces& p, Vec from, double length) {
  DeviceDriver* device = p.c.device.driver;
  const KindRules& rules = *p.c.device.rules;
  const PEN saved = rules.keepsPen && !rules.nativeText ? device->CurPen : PEN{};
  PenRestorer restore(device, saved);
  PEN bar{};
  bar.width = kFractionBarWidth;
  bar.color = saved.color;
  device->SetPen(&bar);
  const Vec to = p.At(from, length, 0);
  device->DrawLine(from.x, from.y, to.x, to.y);
}

// /numerator/denominator/: the bar, the numerator above it, and the
// denominator as the rest. A text whose only further slash is the last byte
// is drawn as it stands (codes from that slash on).
Next LayoutFraction(const Pieces& p, char* piece, std::size_t len, Vec origin) {
  const char* slash = std::strchr(piece + 1, '/');
  const std::size_t mid = slash ? static_cast<std::size_t>(slash - piece) : len - 1;
  if (mid >= len - 1) return Next{piece, len, origin, mid};
  piece[mid] = '\0';
  piece[len - 1] = '\0';
  char* numerator = piece + 1;
  char* denominator = piece + mid + 1;
  const double lNum = p.Length(numerator);
  const double lDen = p.Length(denominator);
  const double lMax = std::max(lNum, lDen);
  DrawFractionBar(p, origin, lMax);

  const double h = p.run.height;
  const Vec numAt = Single(p.At(origin, (lMax - lNum) / 2, kNumeratorGap * h));
  DisplayString(p.c, p.run.Piece(numerator, numAt, h, p.run.width), p.style);
  return Next{denominator, len - mid - 2, p.At(origin, (lMax - lDen) / 2, -h), 0};
}

// A prefix at full size followed by raised, lowered or stacked segments.
Next LayoutCodes(const Pieces& p, char* piece, std::size_t len, std::size_t codeFrom, Vec origin) {
  const double h = p.run.height, w = p.run.width;
  const std::size_t i = FindCode(piece, codeFrom);
  if (i == kNoCode) {
    p.Write(piece, origin, h, w);
    return kDone;
  }
  const char c1 = piece[i + 1];
  piece[i] = '\0';
  const double l = p.Length(piece);
  p.Write(piece, origin, h, w);

  char* s1 = piece + i + 2;
  const Vec raised = Single(p.At(origin, l, kRaise * h));
  const Vec lowered = Single(p.At(origin, l, -kDrop * h));
  const double rh = kReduced * h, rw = kReduced * w;
  const std::size_t j = FindCode(piece, i + 2);
  if (j == kNoCode) {
    if (c1 == '=')
      p.Write(s1, Single(p.At(origin, l, 0)), h, w);
    else
      p.Write(s1, c1 == '+' ? raised : lowered, rh, rw);
    return kDone;
  }
  const char c2 = piece[j + 1];
  piece[j] = '\0';
  const Vec first = c1 == '+' ? raised : lowered;
  if (c2 == '=') {
    p.Write(s1, first, rh, rw);
    return Next{piece + j + 2, len - j - 2, Single(p.At(origin, l + kReduced * p.Length(s1), 0)),
                0};
  }
  // A stacked pair: the second segment takes the other position.
  char* s2 = piece + j + 2;
  const std::size_t k = FindCode(piece, j + 1);
  if (k != kNoCode) piece[k] = '\0';
  p.Write(s1, first, rh, rw);
  p.Write(s2, c1 == '+' ? lowered : raised, rh, rw);
  if (k == kNoCode) return kDone;
  const double advance = l + kReduced * std::max(p.Length(s1), p.Length(s2));
  return Next{piece + k + 2, len - k - 2, Single(p.At(origin, advance, 0)), 0};
}

// A string's text with room for NULs after it, on the stack when short:
// most labels are a few words, and each would otherwise cost an allocation.
class PieceCopy {
 public:
  PieceCopy(const char* text, std::size_t length) {
    const std::size_t room = length + 16;
    copy_ = room <= sizeof local_ ? local_ : static_cast<char*>(std::malloc(room));
    if (!copy_) return;
    std::memcpy(copy_, text, length);
    std::memset(copy_ + length, 0, room - length);
  }
  ~PieceCopy() {
    if (copy_ != local_) std::free(copy_);
  }
  PieceCopy(const PieceCopy&) = delete;
  PieceCopy& operator=(const PieceCopy&) = delete;
  char* get() const { return copy_; }

 private:
  char local_[256];
  char* copy_ = nullptr;
};

// Before any string has set the character height, this one does.
void TakeCharHeight(CMapString& s, double height) {
  if (s.CharHeight > 0) return;
  s.CharHeight = height;
  s.DesignGrid = kVectorGrid;
}

}  // namespace

void LayoutString(const DrawContext& c, const Run& run, const RunStyle& style) {
  if (!run.text || !c.device.driver) return;
  TakeCharHeight(c.s, run.height);
  // Pieces are cut out of a private copy by writing NULs into it.
  const std::size_t textLen = std::strlen(run.text);
  PieceCopy pieces(run.text, textLen);
  char* copy = pieces.get();
  if (!copy) {
    Decide([&] { return "string " + Quoted(run.text) + ": not drawn, out of memory"; });
    return;
  }

  const double a = run.angle / 180 * kPi;
  const bool across = run.arrangement == 0;
  const Pieces p{c, run, style,
                 across ? Vec{std::cos(a), std::sin(a)} : Vec{std::sin(a), -std::cos(a)},
                 across ? Vec{-std::sin(a), std::cos(a)} : Vec{std::cos(a), std::sin(a)}};

  Next next{copy, textLen, run.origin, 0};
  while (next.rest) {
    TakeCharHeight(c.s, run.height);  // rounds after the first continue a nested string
    char* piece = next.rest;
    const std::size_t len = next.length;
    if (piece[0] == '/' && piece[1] != '/' && piece[len - 1] == '/')
      next = LayoutFraction(p, piece, len, next.at);
    if (next.rest == piece) next = LayoutCodes(p, piece, len, next.codeFrom, next.at);
    // The rest is laid out as DispString would lay it out.
    if (next.rest && !EnterDispString(c.s, run.height, style.color)) break;
    next.codeFrom = 0;
  }
}

}  // namespace layout
