#include "svg_text_layer.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

// Control characters other than tab, line feed and carriage return cannot
// stand in XML 1.0 at all, not even as references: they are left out, so the
// picture stays well-formed (their tspan keeps its place, empty).
bool IsXmlChar(char c) {
  return static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r';
}

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        if (IsXmlChar(c)) out += c;
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
  std::string style = "font-family=\"" + Escape(text.family) + ", sans-serif\" font-size=\"" +
                      Num(text.emSize) + "\" fill=\"" +
                      (fill ? Colour(fillColor) : std::string("none")) + "\"";
  if (stroke)
    style += " stroke=\"" + Colour(strokeColor) + "\" stroke-width=\"" +
             Num(strokeWidth > 0 ? strokeWidth : 1.0) + "\"";
  if (elements_.empty() || elements_.back().style != style ||
      elements_.back().angle != text.angle)
    elements_.push_back(Element{style, text.angle, text.originX, text.originY, {}, {}, {}});
  Element& e = elements_.back();
  // The element is turned about its pivot as a whole; place the character
  // in the unturned frame (turning back by the angle, y growing downwards).
  const double a = text.angle * 3.141592653589793 / 180.0;
  const double dx = text.originX - e.pivotX, dy = text.originY - e.pivotY;
  e.xs.push_back(e.pivotX + dx * std::cos(a) - dy * std::sin(a));
  e.ys.push_back(e.pivotY + dx * std::sin(a) + dy * std::cos(a));
  e.texts.push_back(text.utf8);
}

std::string SvgTextLayer::Elements() const {
  std::string out;
  for (const Element& e : elements_) {
    out += "<text xml:space=\"preserve\" " + e.style;
    if (e.angle != 0)
      out += " transform=\"rotate(" + Num(-e.angle) + " " + Num(e.pivotX) + " " +
             Num(e.pivotY) + ")\"";
    out += ">";
    for (size_t i = 0; i < e.texts.size(); ++i)
      out += "<tspan x=\"" + Num(e.xs[i]) + "\" y=\"" + Num(e.ys[i]) + "\">" +
             Escape(e.texts[i]) + "</tspan>";
    out += "</text>\n";
  }
  return out;
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
  const std::string layer = "<g id=\"native-text\">\n" + Elements() + "</g>\n";
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
