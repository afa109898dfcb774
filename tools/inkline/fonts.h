// The font libraries a render draws with.
#ifndef INKLINE_TOOLS_FONTS_H
#define INKLINE_TOOLS_FONTS_H

#include <memory>
#include <string>

#include <inkline/fontlib.h>
#include <inkline/host/label_text.h>

#include "diagnostics.h"

struct FontOptions {
  std::string tablePath;       // a font table file replacing the default table; empty: default
  std::string strokeFontPath;  // the stroke-font file; empty: the one built with the tools
};

// The font of labels that name none, unless the command line names another.
constexpr const char* kUnnamedLabelsFont = "Noto Sans";

// Owns the font libraries of a run and installs the vector one as the
// process-wide library for as long as it lives.
class FontSet {
 public:
  virtual ~FontSet() = default;
  virtual MapFontLib* vector() = 0;
  virtual MapFontLib* stroke() = 0;  // null when there is no stroke-font file
  // True when the font table has the number (the libraries fall back to
  // font 0 for any other).
  virtual bool HasFont(short number) const = 0;
  // Says once each what did not go as the font table says (missing fonts
  // and their stand-ins).
  virtual void ReportNotes(Diagnostics& diagnostics) = 0;
  // Shapes labels' text in the vector library's faces; for one thread at a
  // time.
  virtual LabelShaper& Shaper() = 0;
  // The number of a font given by number or face name; -1 when the table
  // has no such font.
  virtual short NumberOf(const std::string& font) = 0;
};

// Null, with *error, when the font table cannot be used at all. The table,
// the stroke-font file and the table's font files must be regular files of
// a sane size (a device or a FIFO would never end).
std::unique_ptr<FontSet> LoadFonts(const FontOptions& options, Diagnostics& diagnostics,
                                   std::string* error);

#endif  // INKLINE_TOOLS_FONTS_H
