#include "svg_text_layer.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Colour(COLORREF rgb) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
  return buf;
}

std::string Num(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  return buf;
}

}  // namespace

void SvgTextLayer::Add(const NativeTextPlacement& text, bool fill, COLORREF fillColor, bool stroke,
                       COLORREF strokeColor, double strokeWidth) {
  std::string e = "<text xml:space=\"preserve\" x=\"" + Num(text.originX) + "\" y=\"" +
                  Num(text.originY) + "\" font-family=\"" + Escape(text.family) +
                  ", sans-serif\" font-size=\"" + Num(text.emSize) + "\"";
  if (text.angle != 0)
    e += " transform=\"rotate(" + Num(-text.angle) + " " + Num(text.originX) + " " +
         Num(text.originY) + ")\"";
  e += " fill=\"" + (fill ? Colour(fillColor) : std::string("none")) + "\"";
  if (stroke)
    e += " stroke=\"" + Colour(strokeColor) + "\" stroke-width=\"" +
         Num(strokeWidth > 0 ? strokeWidth : 1.0) + "\"";
  e += ">" + Escape(text.utf8) + "</text>";
  elements_.push_back(std::move(e));
}

bool SvgTextLayer::WriteInto(const std::string& path, std::string* error) const {
  if (elements_.empty()) return true;
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  std::string svg = content.str();
  const size_t end = svg.rfind("</svg>");
  if (!in || end == std::string::npos) {
    *error = path + ": the SVG picture is incomplete";
    return false;
  }
  std::string layer = "<g id=\"native-text\">\n";
  for (const std::string& e : elements_) layer += e + "\n";
  layer += "</g>\n";
  svg.insert(end, layer);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << svg;
  out.close();
  if (!out) {
    *error = path + ": could not be written";
    return false;
  }
  return true;
}
