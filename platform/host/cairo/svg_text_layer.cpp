#include "svg_text_layer.h"

#include <cmath>
#include <cstdio>
#include <memory>

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
  std::string style = "font-family=\"" + Escape(*text.family) + ", sans-serif\" font-size=\"" +
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

std::string SvgTextLayer::ElementText(const Element& e) {
  std::string out = "<text xml:space=\"preserve\" " + e.style;
  if (e.angle != 0)
    out += " transform=\"rotate(" + Num(-e.angle) + " " + Num(e.pivotX) + " " + Num(e.pivotY) +
           ")\"";
  out += ">";
  for (size_t i = 0; i < e.texts.size(); ++i)
    out += "<tspan x=\"" + Num(e.xs[i]) + "\" y=\"" + Num(e.ys[i]) + "\">" + Escape(e.texts[i]) +
           "</tspan>";
  out += "</text>\n";
  return out;
}

std::string SvgTextLayer::Elements() const {
  std::string out;
  for (const Element& e : elements_) out += ElementText(e);
  return out;
}

// Writes the layer over the closing tag, then the tag again: the picture
// Cairo wrote is not read in or copied, only its last few bytes.
bool SvgTextLayer::WriteInto(const std::string& path, std::string* error) const {
  if (elements_.empty()) return true;
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "r+b"), &std::fclose);
  std::string tail(4096, '\0');
  long size = -1;
  if (file && std::fseek(file.get(), 0, SEEK_END) == 0) size = std::ftell(file.get());
  const long tailStart = size > static_cast<long>(tail.size()) ? size - static_cast<long>(tail.size()) : 0;
  size_t end = std::string::npos;
  if (size >= 0 && std::fseek(file.get(), tailStart, SEEK_SET) == 0) {
    tail.resize(std::fread(&tail[0], 1, tail.size(), file.get()));
    end = tail.rfind("</svg>");
  }
  if (end == std::string::npos) {
    *error = path + ": the SVG picture is incomplete";
    return false;
  }
  bool ok = std::fseek(file.get(), tailStart + static_cast<long>(end), SEEK_SET) == 0;
  auto put = [&](const std::string& text) {
    ok = ok && std::fwrite(text.data(), 1, text.size(), file.get()) == text.size();
  };
  put("<g id=\"native-text\">\n");
  for (const Element& e : elements_) put(ElementText(e));
  put("</g>\n");
  put(tail.substr(end));
  ok = std::fclose(file.release()) == 0 && ok;
  if (!ok) *error = path + ": could not be written";
  return ok;
}
