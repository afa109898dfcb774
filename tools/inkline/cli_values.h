// Checking the command line's values: every number finite and in range, with
// a message that names the option and what it takes.
#ifndef INKLINE_TOOLS_CLI_VALUES_H
#define INKLINE_TOOLS_CLI_VALUES_H

#include <string>

// Each returns false with *problem ("--opt takes ..., not \"text\"").
bool ParseWhole(const std::string& option, const std::string& text, long lo, long hi,
                const std::string& what, long* out, std::string* problem);
bool ParseReal(const std::string& option, const std::string& text, double lo, double hi,
               const std::string& what, double* out, std::string* problem);
// "minx,miny,maxx,maxy".
bool ParseBbox(const std::string& text, double bbox[4], std::string* problem);
// "W,H", "WxH" or "N" (the longer side; the other follows the map's shape).
bool ParseSize(const std::string& text, int size[2], bool* longerSideOnly, std::string* problem);
// "transparent", "white", "black" or a colour number 1-255.
bool ParseBackground(const std::string& text, long* colour, std::string* problem);
// "PROP=VALUE" for the per-property options.
bool ParseAssignment(const std::string& option, const std::string& text, std::string* key,
                     std::string* value, std::string* problem);

#endif  // INKLINE_TOOLS_CLI_VALUES_H
