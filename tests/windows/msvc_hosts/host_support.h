// What the hosts built to Microsoft's conventions share: a report written
// through kernel32 (they have no C runtime, see no_crt.cpp), checks that
// count failures, a font library of square glyphs and a device that counts
// what the library draws. C++03, as a host of the framework's era writes it.
#ifndef INKLINE_TESTS_WINDOWS_MSVC_HOSTS_HOST_SUPPORT_H
#define INKLINE_TESTS_WINDOWS_MSVC_HOSTS_HOST_SUPPORT_H

#include <inkline/inkline.h>

namespace host {

inline void Write(const char* text) {
  DWORD length = 0;
  while (text[length]) ++length;
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, length, &written, 0);
}

// Counts and names failed checks; Finish writes the verdict and exits with
// the number of failures.
class Checks {
 public:
  Checks() : failures_(0) {}
  void operator()(bool ok, const char* what) {
    if (ok) return;
    ++failures_;
    Write("failed: ");
    Write(what);
    Write("\n");
  }
  void Finish(const char* name) {
    if (failures_ == 0) {
      Write(name);
      Write(": every check passed\n");
    }
    ExitProcess(static_cast<UINT>(failures_));
  }

 private:
  int failures_;
};

// Every glyph a square 0..20 x 0..40 of the 40-unit grid, 40 units wide.
class SquareFont : public MapFont {
 public:
  SquareFont() : size_(4) {
    const double square[8] = {0, 0, 20, 0, 20, 40, 0, 40};
    for (int i = 0; i < 8; ++i) points_[i] = square[i];
  }
  short GetCharOutline(char*, double** points, int** partSizes, short* partCount, double) {
    *points = points_;
    *partSizes = &size_;
    *partCount = 1;
    return 1;
  }
  double CharLength(char*) { return 40.0; }
  short GetYOffset() { return 0; }

 private:
  double points_[8];
  int size_;
};

class SquareFontLib : public MapFontLib {
 public:
  short GetFontByName(char*, MapFont** font) {
    *font = &font_;
    return 1;
  }
  short GetFontByNo(short, MapFont** font) {
    *font = &font_;
    return 1;
  }
  short GetFontNoByName(char*) { return 0; }
  short GetFontName(short, char** name) {
    const char face[] = "Arial";
    for (int i = 0; i < 6; ++i) (*name)[i] = face[i];
    return 1;
  }
  short GetLibType() { return 0; }

 private:
  SquareFont font_;
};

// Counts glyphs and lines. Kind 2 has no device context (outlines only);
// kind 0 draws TrueType text on its window context.
class CountingDevice : public DeviceDriver {
 public:
  explicit CountingDevice(short kind) : fills(0), lines(0), kind_(kind) {}
  short GetDeviceType() { return kind_; }
  void SetPen(PEN* pen) { CurPen = *pen; }
  void SetBrush(BRUSH* brush) { CurBrush = *brush; }
  void DrawLine(double, double, double, double) { ++lines; }
  void DrawPolylines(D_POINT*, int*, short) {}
  void FillPolygon(D_POINT*, int*, int) {}
  void FillPolygons(D_POINT*, int*, short) { ++fills; }
  short GetRationalDispMode() { return kind_ == 0 ? 1 : 0; }

  int fills;
  int lines;

 private:
  short kind_;
};

}  // namespace host

#endif  // INKLINE_TESTS_WINDOWS_MSVC_HOSTS_HOST_SUPPORT_H
