// How the recording device writes GDI output as text, shared by the portable
// layer's sink and the Windows metafile reader so both give the same lines.
#ifndef INKLINE_HOST_SRC_TRACE_TEXT_H
#define INKLINE_HOST_SRC_TRACE_TEXT_H

#include <cstdio>
#include <string>

#include <inkline/host/recording_device.h>
#include <inkline/win32.h>

namespace trace_text {

// Bytes as upper-case hexadecimal: texts are code page bytes.
inline std::string Hex(const char* bytes, int count) {
  std::string hex;
  for (int i = 0; i < count; ++i) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned char>(bytes[i]));
    hex += buf;
  }
  return hex;
}

inline std::string Colour(COLORREF c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return buf;
}

// A path as " M x,y L x,y C x,y x,y x,y Z", one letter per point type.
// Point is any type with x and y.
template <typename Point>
std::string PathText(const Point* points, const BYTE* types, int count) {
  std::string out;
  for (int i = 0; i < count; ++i) {
    const BYTE t = types[i];
    const BYTE kind = static_cast<BYTE>(t & ~PT_CLOSEFIGURE);
    const char* letter = kind == PT_MOVETO ? " M " : kind == PT_LINETO ? " L " : " C ";
    out += letter + RecordingDevice::Num(points[i].x) + "," + RecordingDevice::Num(points[i].y);
    if (t & PT_CLOSEFIGURE) out += " Z";
  }
  return out;
}

template <typename Point>
std::vector<D_POINT> Points(const Point* points, int count) {
  std::vector<D_POINT> out;
  for (int i = 0; i < count; ++i)
    out.push_back(D_POINT{static_cast<double>(points[i].x), static_cast<double>(points[i].y)});
  return out;
}

// The stroke of a PolyDraw call as the trace writes it.
template <typename Point>
RecordingDevice::Call PolyDrawCall(int penWidth, COLORREF color, const Point* points,
                                   const BYTE* types, int count) {
  RecordingDevice::Call c;
  c.name = "GdiPolyDraw";
  c.nums = {static_cast<double>(penWidth), static_cast<double>(color), static_cast<double>(count)};
  c.runs.push_back(Points(points, count));
  c.line = "GdiPolyDraw pen=" + std::to_string(penWidth) + " color=" + Colour(color) +
           PathText(points, types, count);
  return c;
}

}  // namespace trace_text

#endif  // INKLINE_HOST_SRC_TRACE_TEXT_H
