#include "char_kinds.h"

#include <fribidi.h>

namespace shaping {
namespace {

hb_unicode_funcs_t* Unicode() {
  static hb_unicode_funcs_t* funcs = hb_unicode_funcs_get_default();
  return funcs;
}

bool CjkScript(hb_script_t s) {
  switch (s) {
    case HB_SCRIPT_HAN:
    case HB_SCRIPT_HIRAGANA:
    case HB_SCRIPT_KATAKANA:
    case HB_SCRIPT_BOPOMOFO:
    case HB_SCRIPT_HANGUL:
      return true;
    default:
      return false;
  }
}

bool SimpleScript(hb_script_t s) {
  switch (s) {
    case HB_SCRIPT_COMMON:
    case HB_SCRIPT_LATIN:
    case HB_SCRIPT_GREEK:
    case HB_SCRIPT_CYRILLIC:
    case HB_SCRIPT_ARMENIAN:
    case HB_SCRIPT_GEORGIAN:
      return true;
    default:
      return CjkScript(s);
  }
}

// Hangul syllables stand alone; the conjoining jamo they are built from
// compose only when shaped together.
bool IsConjoiningJamo(char32_t c) {
  return (c >= 0x1100 && c <= 0x11FF) || (c >= 0xA960 && c <= 0xA97F) || (c >= 0xD7B0 && c <= 0xD7FF);
}

struct NamedScript {
  hb_script_t script;
  ScriptNames names;
};

// The scripts of the world's place names with a Noto family of their own.
const NamedScript kNamed[] = {
    {HB_SCRIPT_LATIN, {"Latin", "en"}},         {HB_SCRIPT_GREEK, {"Greek", "el"}},
    {HB_SCRIPT_CYRILLIC, {"Cyrillic", "ru"}},   {HB_SCRIPT_ARMENIAN, {"Armenian", "hy"}},
    {HB_SCRIPT_GEORGIAN, {"Georgian", "ka"}},   {HB_SCRIPT_HEBREW, {"Hebrew", "he"}},
    {HB_SCRIPT_ARABIC, {"Arabic", "ar"}},       {HB_SCRIPT_SYRIAC, {"Syriac", "syr"}},
    {HB_SCRIPT_THAANA, {"Thaana", "dv"}},       {HB_SCRIPT_NKO, {"NKo", "nqo"}},
    {HB_SCRIPT_DEVANAGARI, {"Devanagari", "hi"}}, {HB_SCRIPT_BENGALI, {"Bengali", "bn"}},
    {HB_SCRIPT_GURMUKHI, {"Gurmukhi", "pa"}},   {HB_SCRIPT_GUJARATI, {"Gujarati", "gu"}},
    {HB_SCRIPT_ORIYA, {"Oriya", "or"}},         {HB_SCRIPT_TAMIL, {"Tamil", "ta"}},
    {HB_SCRIPT_TELUGU, {"Telugu", "te"}},       {HB_SCRIPT_KANNADA, {"Kannada", "kn"}},
    {HB_SCRIPT_MALAYALAM, {"Malayalam", "ml"}}, {HB_SCRIPT_SINHALA, {"Sinhala", "si"}},
    {HB_SCRIPT_THAI, {"Thai", "th"}},           {HB_SCRIPT_LAO, {"Lao", "lo"}},
    {HB_SCRIPT_TIBETAN, {"Tibetan", "bo"}},     {HB_SCRIPT_MYANMAR, {"Myanmar", "my"}},
    {HB_SCRIPT_KHMER, {"Khmer", "km"}},         {HB_SCRIPT_ETHIOPIC, {"Ethiopic", "am"}},
    {HB_SCRIPT_MONGOLIAN, {"Mongolian", "mn-cn"}}, {HB_SCRIPT_TIFINAGH, {"Tifinagh", "ber-ma"}},
    {HB_SCRIPT_CHEROKEE, {"Cherokee", "chr"}},  {HB_SCRIPT_CANADIAN_SYLLABICS, {"Canadian Aboriginal", "iu"}},
    {HB_SCRIPT_HANGUL, {"CJK KR", "ko"}},       {HB_SCRIPT_HIRAGANA, {"CJK JP", "ja"}},
    {HB_SCRIPT_KATAKANA, {"CJK JP", "ja"}},     {HB_SCRIPT_HAN, {"CJK SC", "zh-cn"}},
    {HB_SCRIPT_BOPOMOFO, {"CJK TC", "zh-tw"}},  {HB_SCRIPT_YI, {"Yi", "ii"}},
};

}  // namespace

hb_script_t ScriptOf(char32_t c) { return hb_unicode_script(Unicode(), c); }

bool ReadsRightToLeft(char32_t c) { return FRIBIDI_IS_RTL(fribidi_get_bidi_type(c)) != 0; }

bool ClingsToPrevious(char32_t c) {
  switch (hb_unicode_general_category(Unicode(), c)) {
    case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK:
      return true;
    case HB_UNICODE_GENERAL_CATEGORY_FORMAT:
      return c == 0x200C || c == 0x200D;  // the joiners
    default:
      return false;
  }
}

bool StandsAlone(char32_t c) {
  if (c < 0x80) return true;
  if (hb_unicode_general_category(Unicode(), c) == HB_UNICODE_GENERAL_CATEGORY_FORMAT) return false;
  if (ClingsToPrevious(c) || ReadsRightToLeft(c) || IsConjoiningJamo(c)) return false;
  return SimpleScript(ScriptOf(c));
}

bool IsCjk(char32_t c) {
  // Besides the scripts: CJK symbols and punctuation, and the full- and
  // half-width forms.
  return CjkScript(ScriptOf(c)) || (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF00 && c <= 0xFFEF);
}

bool IsLetter(char32_t c) {
  switch (hb_unicode_general_category(Unicode(), c)) {
    case HB_UNICODE_GENERAL_CATEGORY_LOWERCASE_LETTER:
    case HB_UNICODE_GENERAL_CATEGORY_MODIFIER_LETTER:
    case HB_UNICODE_GENERAL_CATEGORY_OTHER_LETTER:
    case HB_UNICODE_GENERAL_CATEGORY_TITLECASE_LETTER:
    case HB_UNICODE_GENERAL_CATEGORY_UPPERCASE_LETTER:
      return true;
    default:
      return false;
  }
}

bool Connects(hb_script_t script) {
  switch (script) {
    case HB_SCRIPT_ARABIC:
    case HB_SCRIPT_SYRIAC:
    case HB_SCRIPT_NKO:
    case HB_SCRIPT_MONGOLIAN:
    case HB_SCRIPT_MANDAIC:
    case HB_SCRIPT_MANICHAEAN:
    case HB_SCRIPT_PSALTER_PAHLAVI:
    case HB_SCRIPT_ADLAM:
    case HB_SCRIPT_HANIFI_ROHINGYA:
    case HB_SCRIPT_SOGDIAN:
    case HB_SCRIPT_PHAGS_PA:
    case HB_SCRIPT_DEVANAGARI:
    case HB_SCRIPT_BENGALI:
    case HB_SCRIPT_GURMUKHI:
      return true;
    default:
      return false;
  }
}

ScriptNames NamesOf(hb_script_t script) {
  for (const NamedScript& n : kNamed)
    if (n.script == script) return n.names;
  return ScriptNames{"", ""};
}

}  // namespace shaping
