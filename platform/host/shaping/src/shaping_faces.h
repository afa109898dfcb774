// The faces a shaper shapes with: opened once each, sized so that HarfBuzz
// measures in font units, and the face fontconfig offers for a character the
// label's own faces lack.
#ifndef INKLINE_HOST_SHAPING_SHAPING_FACES_H
#define INKLINE_HOST_SHAPING_SHAPING_FACES_H

#include <string>
#include <unordered_map>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <hb.h>

namespace shaping {

class ShapingFaces {
 public:
  ShapingFaces();
  ~ShapingFaces();
  ShapingFaces(const ShapingFaces&) = delete;
  ShapingFaces& operator=(const ShapingFaces&) = delete;

  // The face of a number (inkline::FaceIdOf), sized at one pixel per font
  // unit; null when it cannot be opened.
  FT_Face Face(int faceId);
  // The number of a face this object opened; 0 for any other.
  int IdOf(FT_Face face) const;
  // Font units per em of a face (1 when it cannot be opened).
  double UnitsPerEm(int faceId);
  // Whether the face has a glyph for c.
  bool Has(int faceId, char32_t c);
  // The face to draw c from when the label's faces lack it: the Noto face of
  // its script when installed, else the first face fontconfig ranks for the
  // script's language that has it. 0 when no installed face has it.
  int FallbackFor(char32_t c);
  // The family a face calls itself, for messages.
  std::string FamilyOf(int faceId);

 private:
  int PreferredFace(hb_script_t script, char32_t c);
  int RankedFace(hb_script_t script, char32_t c);

  FT_Library library_ = nullptr;
  std::unordered_map<int, FT_Face> faces_;  // null when the face cannot be opened
  std::unordered_map<FT_Face, int> ids_;
  std::unordered_map<char32_t, int> fallback_;
  // Per script: its Noto face (0: none installed), and fontconfig's ranking
  // of faces for its language with what each covers.
  struct Ranked {
    int face;
    void* charset;  // an FcCharSet, owned
  };
  std::unordered_map<unsigned, int> preferred_;
  std::unordered_map<unsigned, std::vector<Ranked>> ranked_;
};

}  // namespace shaping

#endif  // INKLINE_HOST_SHAPING_SHAPING_FACES_H
