#include "shaping_faces.h"

#include <fontconfig/fontconfig.h>

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

ShapingFaces::ShapingFaces() {
  if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
}

ShapingFaces::~ShapingFaces() {
  for (auto& [script, list] : ranked_)
    for (Ranked& r : list) FcCharSetDestroy(static_cast<FcCharSet*>(r.charset));
  for (auto& [id, face] : faces_)
    if (face) FT_Done_Face(face);
  if (library_) FT_Done_FreeType(library_);
}

FT_Face ShapingFaces::Face(int faceId) {
  const auto known = faces_.find(faceId);
  if (known != faces_.end()) return known->second;
  FT_Face face = nullptr;
  const inkline::FaceFile* file = inkline::FaceFileOf(faceId);
  if (library_ && file && FT_New_Face(library_, file->file.c_str(), file->index, &face) == 0) {
    // One pixel per font unit: HarfBuzz's positions are then font units in 26.6.
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0 ||
        FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(face->units_per_EM) * 64, 72, 72) != 0) {
      FT_Done_Face(face);
      face = nullptr;
    } else {
      FT_Select_Charmap(face, FT_ENCODING_UNICODE);
      ids_[face] = faceId;
    }
  } else {
    face = nullptr;
  }
  faces_[faceId] = face;
  return face;
}

int ShapingFaces::IdOf(FT_Face face) const {
  const auto known = ids_.find(face);
  return known == ids_.end() ? 0 : known->second;
}

double ShapingFaces::UnitsPerEm(int faceId) {
  FT_Face face = Face(faceId);
  return face ? face->units_per_EM : 1.0;
}

bool ShapingFaces::Has(int faceId, char32_t c) {
  FT_Face face = faceId ? Face(faceId) : nullptr;
  return face && FT_Get_Char_Index(face, c) != 0;
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
  FT_Face face = Face(faceId);
  return face && face->family_name ? face->family_name : std::string("?");
}

}  // namespace shaping
