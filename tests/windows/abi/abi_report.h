// One report of the library as a host sees it, written the same way by a
// host built with mingw (Itanium names, GNU import library) and one built
// with clang for the MSVC target (MSVC names, inkline.lib, no C runtime):
// the record layouts, then what the library drew on the host's device with
// the host's font library, what it wrote into a string object the host
// constructed itself, and a conversion. The two reports must be equal.
//
// No C or C++ runtime is used here: the MSVC-target host has none. Declare
// the placement operator new before including this.
#ifndef INKLINE_TESTS_WINDOWS_ABI_REPORT_H
#define INKLINE_TESTS_WINDOWS_ABI_REPORT_H

#include <inkline/host/hostlib.h>
#include <inkline/inkline.h>

namespace abi {

using Write = void (*)(const char* text, int length);

class Report {
 public:
  explicit Report(Write write) : write_(write) {}
  Report& operator<<(const char* s) {
    int n = 0;
    while (s[n]) ++n;
    write_(s, n);
    return *this;
  }
  Report& operator<<(long v) {
    char buf[24];
    int n = 0;
    const bool negative = v < 0;
    unsigned long u = negative ? 0ul - static_cast<unsigned long>(v) : static_cast<unsigned long>(v);
    do {
      buf[n++] = static_cast<char>('0' + u % 10);
      u /= 10;
    } while (u);
    if (negative) buf[n++] = '-';
    for (int i = 0; i < n / 2; ++i) {
      const char t = buf[i];
      buf[i] = buf[n - 1 - i];
      buf[n - 1 - i] = t;
    }
    write_(buf, n);
    return *this;
  }
  // Thousandths, rounded: the same digits whatever the compiler.
  Report& Num(double v) { return *this << static_cast<long>(v * 1000.0 + (v < 0 ? -0.5 : 0.5)); }

 private:
  Write write_;
};

// One glyph: a square contour 0..20 x 0..40 of a 40-unit grid, advance 40,
// and a second contour for 'B' (a hole).
class ReportFont final : public MapFont {
 public:
  short GetCharOutline(char* ch, double** points, int** partSizes, short* partCount,
                       double height) override {
    lastHeight_ = height;
    static const double square[] = {0, 0, 20, 0, 20, 40, 0, 40, 5, 5, 5, 35, 15, 35, 15, 5};
    sizes_[0] = 4;
    sizes_[1] = 4;
    *points = const_cast<double*>(square);
    *partSizes = sizes_;
    *partCount = static_cast<short>(*ch == 'B' ? 2 : 1);
    return 1;
  }
  double CharLength(char* ch) override { return *ch == 'i' ? 12.0 : 40.0; }
  short GetYOffset() override { return -4; }
  double lastHeight() const { return lastHeight_; }

 private:
  int sizes_[2] = {0, 0};
  double lastHeight_ = 0.0;
};

class ReportFontLib final : public MapFontLib {
 public:
  short GetFontByName(char*, MapFont** font) override {
    *font = &font_;
    return 1;
  }
  short GetFontByNo(short, MapFont** font) override {
    *font = &font_;
    return 1;
  }
  short GetFontNoByName(char*) override { return 0; }
  short GetFontName(short, char** name) override {
    const char face[] = "Report";
    for (int i = 0; i < 7; ++i) (*name)[i] = face[i];
    return 1;
  }
  short GetLibType() override { return 0; }
  ReportFont& font() { return font_; }

 private:
  ReportFont font_;
};

// A device of kind 2 (no device context: outlines only) that reports every
// call the library makes.
class ReportDevice final : public DeviceDriver {
 public:
  explicit ReportDevice(Report& out) : out_(out) {
    WinHeight = 1000;
    WinRect = D_RECT{0, 0, 1000, 1000};
    CurPen = PEN{1.0, 1, 0};
    CurBrush = BRUSH{1, 0, 0, 0};
  }
  short GetDeviceType() override { return 2; }
  void SetPen(PEN* pen) override {
    CurPen = *pen;
    out_ << "SetPen ";
    out_.Num(pen->width) << " " << static_cast<long>(pen->color) << "\n";
  }
  void SetBrush(BRUSH* brush) override {
    CurBrush = *brush;
    out_ << "SetBrush " << static_cast<long>(brush->color) << "\n";
  }
  void DrawLine(double x1, double y1, double x2, double y2) override {
    out_ << "DrawLine ";
    out_.Num(x1) << " ";
    out_.Num(y1) << " ";
    out_.Num(x2) << " ";
    out_.Num(y2) << "\n";
  }
  void DrawPolylines(D_POINT* points, int* counts, short runs) override {
    Runs("DrawPolylines", points, counts, runs);
  }
  void FillPolygon(D_POINT* points, int* counts, int runs) override {
    Runs("FillPolygon", points, counts, runs);
  }
  void FillPolygons(D_POINT* points, int* counts, short runs) override {
    Runs("FillPolygons", points, counts, runs);
  }
  short GetRationalDispMode() override { return 0; }

 private:
  void Runs(const char* name, D_POINT* points, int* counts, long runs) {
    out_ << name << " runs=" << runs;
    long at = 0;
    for (long r = 0; r < runs; ++r) {
      out_ << " [";
      for (int i = 0; i < counts[r]; ++i) {
        out_ << (i ? " " : "");
        out_.Num(points[at + i].x) << ",";
        out_.Num(points[at + i].y);
      }
      out_ << "]";
      at += counts[r];
    }
    out_ << "\n";
  }
  Report& out_;
};

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#define ABI_FIELD(type, field) \
  out << #type "." #field " " << static_cast<long>(__builtin_offsetof(type, field)) << "\n"
#define ABI_SIZE(type) out << "sizeof " #type " " << static_cast<long>(sizeof(type)) << "\n"

inline void ReportLayouts(Report& out) {
  ABI_SIZE(PEN);
  ABI_FIELD(PEN, color);
  ABI_FIELD(PEN, style);
  ABI_SIZE(BRUSH);
  ABI_SIZE(D_RECT);
  ABI_SIZE(D_POINT);
  ABI_SIZE(LOGFONTA);
  ABI_FIELD(LOGFONTA, lfCharSet);
  ABI_FIELD(LOGFONTA, lfFaceName);
  ABI_SIZE(POINT);
  ABI_SIZE(RECT);
  ABI_SIZE(DeviceDriver);
  ABI_FIELD(DeviceDriver, CurPen);
  ABI_FIELD(DeviceDriver, CurBrush);
  ABI_FIELD(DeviceDriver, DispFlags);
  ABI_FIELD(DeviceDriver, WinHeight);
  ABI_FIELD(DeviceDriver, WinRect);
  ABI_FIELD(DeviceDriver, pWinDC);
  ABI_FIELD(DeviceDriver, hTextDC);
  ABI_FIELD(DeviceDriver, hDevDC);
  ABI_FIELD(DeviceDriver, hPageDC);
  ABI_FIELD(DeviceDriver, PageYMin);
  ABI_FIELD(DeviceDriver, SheetYMax);
  ABI_SIZE(MapFontLib);
  ABI_FIELD(MapFontLib, ClibFile);
  ABI_SIZE(MapString);
  ABI_SIZE(CMapString);
  ABI_FIELD(CMapString, Driver);
  ABI_FIELD(CMapString, ScaleA);
  ABI_FIELD(CMapString, CharHeight);
  ABI_FIELD(CMapString, pDC);
  ABI_FIELD(CMapString, WinFont);
  ABI_FIELD(CMapString, DevRect);
  ABI_FIELD(CMapString, ClipRect);
  ABI_FIELD(CMapString, RangePoly);
  ABI_FIELD(CMapString, TextFont);
  ABI_FIELD(CMapString, ClibRecord);
  ABI_FIELD(CMapString, DesignGrid);
  ABI_FIELD(CMapString, GlyphCap);
}
#undef ABI_FIELD
#undef ABI_SIZE
#pragma GCC diagnostic pop

// Draws through the factory and the interface, measures through a string
// object the host constructs in its own storage, and converts. Returns the
// number of failed expectations.
inline int ReportDrawing(Report& out, void* storage) {
  int failures = 0;
  ReportFontLib fonts;
  MapFontLib* previous = SetMapFontLib(&fonts);
  ReportDevice device(out);

  MapString* s = nullptr;
  if (CreateMapString(&device, &s) != 1 || !s) {
    out << "CreateMapString failed\n";
    return 1;
  }
  s->SetScale(1.0, 1.0, 1.0);
  char text[] = "AiB";
  out << "## StringOut\n";
  s->StringOut(text, 100, 200, 40, 40, 0, 0, 30, 2, 0, 0, 0, nullptr);
  out << "## StringOut bold underline vertical\n";
  s->StringOut(text, 300, 600, 20, 20, 0, 0x1000 | 0x2000, 0, 0, 1, 0, 0, nullptr);
  out << "## HTMLStringOut\n";
  char markup[] = "<body size=10><font color=2>Ai</font></body>";
  D_RECT box{10, 10, 300, 100};
  s->HTMLStringOut(markup, 0, 0, &box, 0);
  s->Free();
  out << "font height seen ";
  out.Num(fonts.font().lastHeight()) << "\n";

  // The exported constructor (an MSVC host uses what it returns), a plain
  // member and the fields it wrote, and the destructor.
  CMapString* own = new (storage) CMapString(&device);
  char measured[] = "AB";
  out << "GetStringRange "
      << static_cast<long>(own->GetStringRange(50, 60, 40, 40, measured, 0, 0, 0, 1.0, 0, 0));
  for (const POINT& p : own->RangePoly) out << " " << static_cast<long>(p.x) << "," << static_cast<long>(p.y);
  out << "\n";
  own->~CMapString();

  char plain[] = "abi";
  const char* document = CvtStrToHTML(plain, 1, 2, 12.5, 3, 0.5f, 0, 4, 15.0f);
  if (!document) {
    out << "CvtStrToHTML failed\n";
    ++failures;
  } else {
    out << "CvtStrToHTML " << document << "\n";
  }
  SetMapFontLib(previous);
  return failures;
}

}  // namespace abi

#endif  // INKLINE_TESTS_WINDOWS_ABI_REPORT_H
