#include "svg_text_layer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

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

bool SvgTextLayer::ContinuesRun(const NativeTextPlacement& text) const {
  if (!runOpen_ || run_.label != text.label || run_.run != text.run || run_.emSize != text.emSize ||
      run_.angle != text.angle)
    return false;
  // Spaced letters or a new line of rich text leave the run.
  const double tolerance = 0.02 * text.emSize + 0.01;
  return std::hypot(text.originX - run_.nextX, text.originY - run_.nextY) <= tolerance;
}

void SvgTextLayer::Add(const NativeTextPlacement& text, bool fill, COLORREF fillColor, bool stroke,
                       COLORREF strokeColor, double strokeWidth) {
  const double a = text.angle * 3.141592653589793 / 180.0;
  if (text.label != 0 && ContinuesRun(text) && fill == fill_ && (!fill || fillColor == fillColor_)) {
    // A shaped run's clusters arrive as they stand on the line; their
    // text is put back in reading order when the run ends.
    run_.pieces.emplace_back(text.logical, text.utf8);
    if (std::find(run_.families.begin(), run_.families.end(), text.family) == run_.families.end())
      run_.families.push_back(text.family);
    run_.nextX = text.originX + text.advance * text.emSize * std::cos(a);
    run_.nextY = text.originY - text.advance * text.emSize * std::sin(a);
    return;
  }
  FinishRun();
  strokeWidth = strokeWidth > 0 ? strokeWidth : 1.0;
  if (style_.empty() || text.family != family_ || text.emSize != emSize_ || fill != fill_ ||
      (fill && fillColor != fillColor_) || stroke != stroke_ ||
      (stroke && (strokeColor != strokeColor_ || strokeWidth != strokeWidth_)) ||
      text.bold != bold_ || text.italic != italic_) {
    style_ = "font-family=\"" + Escape(*text.family) + ", sans-serif\" font-size=\"" +
             Num(text.emSize) + "\" fill=\"" + (fill ? Colour(fillColor) : std::string("none")) + "\"";
    if (text.bold) style_ += " font-weight=\"bold\"";
    if (text.italic) style_ += " font-style=\"italic\"";
    if (stroke)
      style_ += " stroke=\"" + Colour(strokeColor) + "\" stroke-width=\"" + Num(strokeWidth) + "\"";
    family_ = text.family;
    emSize_ = text.emSize;
    fill_ = fill;
    fillColor_ = fillColor;
    stroke_ = stroke;
    strokeColor_ = strokeColor;
    strokeWidth_ = strokeWidth;
    bold_ = text.bold;
    italic_ = text.italic;
  }
  if (!open_ || current_.style != style_ || current_.angle != text.angle) {
    Finish();
    current_.style = style_;
    current_.angle = text.angle;
    current_.pivotX = text.originX;
    current_.pivotY = text.originY;
    open_ = true;
  }
  // The element is turned about its pivot as a whole; place the character
  // in the unturned frame (turning back by the angle, y growing downwards).
  const double dx = text.originX - current_.pivotX, dy = text.originY - current_.pivotY;
  const double x = current_.pivotX + dx * std::cos(a) - dy * std::sin(a);
  const double y = current_.pivotY + dx * std::sin(a) + dy * std::cos(a);
  if (text.label != 0) {
    run_ = Run{};
    run_.label = text.label;
    run_.run = text.run;
    run_.rightToLeft = text.runRightToLeft;
    run_.x = x;
    run_.y = y;
    run_.emSize = text.emSize;
    run_.angle = text.angle;
    run_.nextX = text.originX + text.advance * text.emSize * std::cos(a);
    run_.nextY = text.originY - text.advance * text.emSize * std::sin(a);
    run_.pieces.emplace_back(text.logical, text.utf8);
    run_.families.push_back(text.family);
    runOpen_ = true;
    return;
  }
  // Each character has a tspan of its own, as renderers do not all take a
  // list of positions.
  current_.spans += "<tspan x=\"" + Num(x) + "\" y=\"" + Num(y) + "\">" + Escape(text.utf8) + "</tspan>";
}

// The run's text in reading order, in one tspan: the viewer shapes and
// orders it itself. A run reading right to left ends at its left edge.
void SvgTextLayer::FinishRun() {
  if (!runOpen_) return;
  runOpen_ = false;
  std::stable_sort(run_.pieces.begin(), run_.pieces.end(),
                   [](const auto& p, const auto& q) { return p.first < q.first; });
  std::string text;
  for (const auto& piece : run_.pieces) text += piece.second;
  std::string attributes = "x=\"" + Num(run_.x) + "\" y=\"" + Num(run_.y) + "\"";
  if (run_.families.size() > 1) {
    std::string families;
    for (const std::string* f : run_.families) families += Escape(*f) + ", ";
    attributes += " font-family=\"" + families + "sans-serif\"";
  }
  if (run_.rightToLeft) attributes += " direction=\"rtl\" unicode-bidi=\"embed\" text-anchor=\"end\"";
  current_.spans += "<tspan " + attributes + ">" + Escape(text) + "</tspan>";
}

void SvgTextLayer::Finish() {
  FinishRun();
  if (!open_) return;
  const Element& e = current_;
  std::string out = "<text xml:space=\"preserve\" " + e.style;
  if (e.angle != 0)
    out += " transform=\"rotate(" + Num(-e.angle) + " " + Num(e.pivotX) + " " + Num(e.pivotY) +
           ")\"";
  out += ">" + e.spans + "</text>\n";
  Keep(out);
  current_.spans.clear();
  open_ = false;
  any_ = true;
}

void SvgTextLayer::Keep(const std::string& text) {
  kept_ += text;
  constexpr size_t kSpillAt = 256 * 1024;
  if (kept_.size() < kSpillAt || spillFailed_) return;
  if (!spill_) spill_.reset(std::tmpfile());
  if (spill_ && std::fwrite(kept_.data(), 1, kept_.size(), spill_.get()) == kept_.size()) {
    kept_.clear();
  } else {
    spillFailed_ = true;  // keep the rest in memory; what was spilled stays valid
  }
}

bool SvgTextLayer::CopyKeptTo(FILE* out) {
  if (spill_) {
    if (std::fflush(spill_.get()) != 0 || std::fseek(spill_.get(), 0, SEEK_SET) != 0) return false;
    char buffer[1 << 16];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, spill_.get())) > 0)
      if (std::fwrite(buffer, 1, n, out) != n) return false;
    if (std::ferror(spill_.get())) return false;
  }
  return std::fwrite(kept_.data(), 1, kept_.size(), out) == kept_.size();
}

// Writes the layer over the closing tag, then the tag again: the picture
// Cairo wrote is not read in or copied, only its last few bytes.
bool SvgTextLayer::WriteInto(const std::string& path, std::string* error) {
  Finish();
  if (!any_) return true;
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
  ok = ok && CopyKeptTo(file.get());
  put("</g>\n");
  put(tail.substr(end));
  ok = std::fclose(file.release()) == 0 && ok;
  if (!ok) *error = path + ": could not be written";
  return ok;
}
