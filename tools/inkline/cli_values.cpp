#include "cli_values.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "view.h"

namespace {

bool Real(const std::string& text, double* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  *out = std::strtod(text.c_str(), &end);
  return *end == '\0' && std::isfinite(*out);
}

std::string Not(const std::string& option, const std::string& what, const std::string& text) {
  return option + " takes " + what + ", not \"" + text + "\"";
}

std::vector<std::string> Split(const std::string& text, const std::string& separators) {
  std::vector<std::string> parts(1);
  for (const char c : text) {
    if (separators.find(c) != std::string::npos)
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}

}  // namespace

bool ParseWhole(const std::string& option, const std::string& text, long lo, long hi,
                const std::string& what, long* out, std::string* problem) {
  double d = 0;
  if (!Real(text, &d) || d != std::floor(d) || d < lo || d > hi) {
    *problem = Not(option, what, text);
    return false;
  }
  *out = static_cast<long>(d);
  return true;
}

bool ParseReal(const std::string& option, const std::string& text, double lo, double hi,
               const std::string& what, double* out, std::string* problem) {
  if (!Real(text, out) || *out < lo || *out > hi) {
    *problem = Not(option, what, text);
    return false;
  }
  return true;
}

bool ParseBbox(const std::string& text, double bbox[4], std::string* problem) {
  const std::vector<std::string> parts = Split(text, ",");
  bool ok = parts.size() == 4;
  for (size_t i = 0; ok && i < 4; ++i) ok = Real(parts[i], &bbox[i]);
  if (!ok) {
    *problem = Not("--bbox", "four finite numbers MINX,MINY,MAXX,MAXY", text);
    return false;
  }
  const std::string bad = CheckBbox(bbox);
  if (!bad.empty()) *problem = "--bbox " + text + ": " + bad;
  return bad.empty();
}

bool ParseSize(const std::string& text, int size[2], bool* longerSideOnly, std::string* problem) {
  const std::vector<std::string> parts = Split(text, ",x");
  long values[2] = {0, 0};
  const std::string what = "a size in pixels: W,H or WxH or the longer side N, each 1 to 20000";
  bool ok = parts.size() <= 2;
  for (size_t i = 0; ok && i < parts.size(); ++i) {
    std::string ignored;
    ok = ParseWhole("--size", parts[i], 1, 20000, what, &values[i], &ignored);
  }
  if (!ok) {
    *problem = Not("--size", what, text);
    return false;
  }
  *longerSideOnly = parts.size() == 1;
  size[0] = static_cast<int>(values[0]);
  size[1] = static_cast<int>(parts.size() == 2 ? values[1] : values[0]);
  return true;
}

bool ParseBackground(const std::string& text, long* colour, std::string* problem) {
  if (text == "transparent" || text == "none") return *colour = 0, true;
  if (text == "white") return *colour = 8, true;
  if (text == "black") return *colour = 1, true;
  return ParseWhole("--background", text, 1, 255,
                    "transparent, white, black or a colour number 1-255", colour, problem);
}

bool ParseAssignment(const std::string& option, const std::string& text, std::string* key,
                     std::string* value, std::string* problem) {
  static const char* const known[] = {"text",  "html",  "height",      "width", "angle",
                                      "space", "font",  "style",       "arrangement",
                                      "color", "extra", "textColor",   "fontlib", "box"};
  const size_t eq = text.find('=');
  *key = text.substr(0, eq);
  bool ok = eq != std::string::npos && eq > 0;
  bool isKnown = false;
  for (const char* k : known) isKnown = isKnown || *key == k;
  if (!ok || !isKnown) {
    *problem = Not(option, "PROPERTY=VALUE with a property such as text, height or font", text);
    return false;
  }
  *value = text.substr(eq + 1);
  return true;
}
