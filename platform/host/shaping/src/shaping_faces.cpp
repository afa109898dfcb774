#include "shaping_faces.h"

#include <fontconfig/fontconfig.h>
#include <hb-ot.h>

#include <inkline/label_codes.h>

#include "char_kinds.h"

namespace shaping {
namespace {

// The face a pattern matches, when it is of the family asked for.
int MatchFamily(const std::string& family) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return 0;
  int face = 0;
  FcChar8* got = nullptr;
  FcChar8* file = nullptr;
  int index = 0;
  if (FcPatternGetString(match, FC_FAMILY, 0, &got) == FcResultMatch &&
      FcStrCmpIgnoreCase(got, reinterpret_cast<const FcChar8*>(family.c_str())) == 0 &&
      FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    face = inkline::FaceIdOf(reinterpret_cast<const char*>(file), index);
  }
  FcPatternDestroy(match);
  return face;
}

}  // namespace

ShapingFaces::~ShapingFaces() {
  for (auto& [script, list] : ranked_)
    for (Ranked& r : list) FcCharSetDestroy(static_cast<FcCharSet*>(r.charset));
  for (auto& [id, font] : fonts_)
    if (font) hb_font_destroy(font);
}

// The file is mapped, not read: its tables stay on disk until shaping
// touches them, and the font keeps what it parsed of them from label to label.
hb_font_t* ShapingFaces::Font(int faceId) {
  const auto known = fonts_.find(faceId);
  if (known != fonts_.end()) return known->second;
  hb_font_t* font = nullptr;
  if (const inkline::FaceFile* file = inkline::FaceFileOf(faceId)) {
    hb_blob_t* blob = hb_blob_create_from_file(file->file.c_str());
    hb_face_t* face = hb_face_create(blob, static_cast<unsigned>(file->index));
    hb_blob_destroy(blob);
    if (hb_face_get_glyph_count(face) > 0) font = hb_font_create(face);  // scaled in font units
    hb_face_destroy(face);
  }
  fonts_[faceId] = font;
  return font;
}

double ShapingFaces::UnitsPerEm(int faceId) {
  hb_font_t* font = Font(faceId);
  return font ? hb_face_get_upem(hb_font_get_face(font)) : 1.0;
}

bool ShapingFaces::Has(int faceId, char32_t c) {
  hb_font_t* font = faceId ? Font(faceId) : nullptr;
  hb_codepoint_t glyph = 0;
  return font && hb_font_get_nominal_glyph(font, c, &glyph) && glyph != 0;
}

int ShapingFaces::PreferredFace(hb_script_t script, char32_t c) {
  auto known = preferred_.find(script);
  if (known == preferred_.end()) {
    const ScriptNames names = NamesOf(script);
    const int face = names.name[0] ? MatchFamily(std::string("Noto Sans ") + names.name) : 0;
    known = preferred_.emplace(script, face).first;
  }
  return known->second && Has(known->second, c) ? known->second : 0;
}

int ShapingFaces::RankedFace(hb_script_t script, char32_t c) {
  auto known = ranked_.find(script);
  if (known == ranked_.end()) {
    std::vector<Ranked> list;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    const char* language = NamesOf(script).language;
    if (language[0]) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(language));
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet* set = FcFontSort(nullptr, pattern, FcTrue, nullptr, &result);
    FcPatternDestroy(pattern);
    for (int i = 0; set && i < set->nfont; ++i) {
      FcChar8* file = nullptr;
      FcCharSet* chars = nullptr;
      int index = 0;
      if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch ||
          FcPatternGetCharSet(set->fonts[i], FC_CHARSET, 0, &chars) != FcResultMatch)
        continue;
      FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index);
      list.push_back(Ranked{inkline::FaceIdOf(reinterpret_cast<const char*>(file), index),
                            FcCharSetCopy(chars)});
    }
    if (set) FcFontSetDestroy(set);
    known = ranked_.emplace(script, std::move(list)).first;
  }
  for (const Ranked& r : known->second)
    if (FcCharSetHasChar(static_cast<FcCharSet*>(r.charset), c) && Has(r.face, c)) return r.face;
  return 0;
}

int ShapingFaces::FallbackFor(char32_t c) {
  const auto known = fallback_.find(c);
  if (known != fallback_.end()) return known->second;
  int face = 0;
  if (FcInit()) {
    const hb_script_t script = ScriptOf(c);
    face = PreferredFace(script, c);
    if (!face) face = RankedFace(script, c);
  }
  fallback_.emplace(c, face);
  return face;
}

std::string ShapingFaces::FamilyOf(int faceId) {
  hb_font_t* font = Font(faceId);
  if (!font) return "?";
  char name[128];
  unsigned size = sizeof name;
  hb_ot_name_get_utf8(hb_font_get_face(font), HB_OT_NAME_ID_FONT_FAMILY, hb_language_from_string("en", -1),
                      &size, name);
  return size ? std::string(name, size) : std::string("?");
}

}  // namespace shaping
