// The faces a shaper shapes with: each opened once, as a HarfBuzz font in
// font units, and the face fontconfig offers for a character the label's
// own faces lack.
#ifndef INKLINE_HOST_SHAPING_SHAPING_FACES_H
#define INKLINE_HOST_SHAPING_SHAPING_FACES_H

#include <string>
#include <unordered_map>
#include <vector>

#include <hb.h>

namespace shaping {

class ShapingFaces {
 public:
  ShapingFaces() = default;
  ~ShapingFaces();
  ShapingFaces(const ShapingFaces&) = delete;
  ShapingFaces& operator=(const ShapingFaces&) = delete;

  // The font of a face number (inkline::FaceIdOf), scaled in font units;
  // null when its file cannot be read.
  hb_font_t* Font(int faceId);
  // Font units per em of a face (1 when it cannot be read).
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

  std::unordered_map<int, hb_font_t*> fonts_;  // null when the face cannot be read
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
