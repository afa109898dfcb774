// What a character asks of the shaper, from the Unicode data HarfBuzz and
// FriBidi carry: its script, whether it reads right to left, whether it can
// stand as a character of its own or needs shaping with its neighbours.
#ifndef INKLINE_HOST_SHAPING_CHAR_KINDS_H
#define INKLINE_HOST_SHAPING_CHAR_KINDS_H

#include <hb.h>

namespace shaping {

hb_script_t ScriptOf(char32_t c);

// Drawn right: a character of a script whose letters neither join, reorder
// nor stack (Latin, Greek, Cyrillic, Armenian, Georgian, the CJK scripts and
// the characters every script shares), and neither a mark, an invisible
// format character nor a right-to-left one. Everything else is shaped.
bool StandsAlone(char32_t c);

// A right-to-left character (Hebrew, Arabic and their kin, the
// right-to-left marks and embeddings).
bool ReadsRightToLeft(char32_t c);

// Chinese, Japanese and Korean: Han, kana, bopomofo, Hangul, and the
// punctuation and full-width forms they are written with.
bool IsCjk(char32_t c);

// A letter (of any script), as opposed to digits, punctuation and spaces.
bool IsLetter(char32_t c);

// A mark or invisible joiner that belongs with the character before it.
bool ClingsToPrevious(char32_t c);

// A script whose letters meet across a word (cursive joining, or a headline
// running through the letters): a word of it is drawn as one piece, so
// nothing comes between its letters.
bool Connects(hb_script_t script);

// Where fontconfig and the Noto families know a script by: its English
// name ("Arabic") and a language written in it ("ar"); empty when none.
struct ScriptNames {
  const char* name;
  const char* language;
};
ScriptNames NamesOf(hb_script_t script);

}  // namespace shaping

#endif  // INKLINE_HOST_SHAPING_CHAR_KINDS_H
