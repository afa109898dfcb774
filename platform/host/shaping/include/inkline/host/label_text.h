// A label's UTF-8 text made ready for the library: code page bytes, and the
// label's own user-defined codes (inkline/label_codes.h) for what the code
// page cannot hold as plain characters.
//
// Text that only needs its characters one after another (Latin, Greek,
// Cyrillic, Chinese, Japanese, Korean, ...) stays as it always was: code
// page characters, and codes standing for the characters the code page
// lacks. A label with a script that joins, reorders, stacks marks or reads
// right to left is shaped whole: split into runs by script and direction
// (the Unicode Bidirectional Algorithm, the line's direction from its first
// strong character), each run shaped by HarfBuzz in its face, the runs put
// in the order they stand on the line, and every cluster of glyphs given a
// code of its own. A word of a script whose letters meet (Arabic, the
// Devanagari headline) is one code, so nothing comes between its letters.
// Characters the label's font lacks are shaped in the face fontconfig
// offers for them (the Noto face of their script where installed).
//
// Install the codes (ScopedLabelCodes) while the bytes are drawn.
#ifndef INKLINE_HOST_LABEL_TEXT_H
#define INKLINE_HOST_LABEL_TEXT_H

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <inkline/label_codes.h>

class FreeTypeFontLib;

struct LabelTextOptions {
  // The label's font number. When the label named none (fontGiven false)
  // this is the font of its alphabets, and Chinese, Japanese and Korean in
  // it are drawn in font 0's face; a label of those alone is drawn in font 0.
  short fontNo = 0;
  bool fontGiven = true;
  // A column: clusters one below the other in reading order, a code each.
  bool vertical = false;
  // Every cluster a code of its own, also within joined words (for labels
  // whose clusters are placed one by one).
  bool perCluster = false;
  // The text is rich-text markup: only the text between tags is shaped; the
  // tags and their values are converted character by character.
  bool markup = false;
  // Describe what the shaping did in LabelText::notes.
  bool explain = false;
};

struct LabelText {
  std::string bytes;          // code page text for the library
  inkline::LabelCodes codes;  // what its user-defined codes stand for
  short fontNo = 0;           // the font to draw it with
  int invalid = 0;            // bytes that were not UTF-8, drawn as '?'
  // Characters beyond the label's codes, drawn as '?' (a shaped cluster
  // without a code counts each of its characters).
  std::map<char32_t, int> replaced;
  bool shaped = false;        // some of it went through the shaper
  std::vector<std::string> notes;  // what the shaping did, when asked (UTF-8)
};

class LabelShaper {
 public:
  // fonts: the font library whose table names the label fonts' faces; it
  // must outlive the shaper. A shaper is for one thread at a time.
  explicit LabelShaper(FreeTypeFontLib& fonts);
  ~LabelShaper();
  LabelShaper(const LabelShaper&) = delete;
  LabelShaper& operator=(const LabelShaper&) = delete;

  LabelText Convert(const std::string& utf8, const LabelTextOptions& options);

  struct Impl;  // faces and fallbacks, in the source

 private:
  std::unique_ptr<Impl> impl_;
};

#endif  // INKLINE_HOST_LABEL_TEXT_H
