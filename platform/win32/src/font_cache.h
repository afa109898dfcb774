// FreeType faces and glyph shapes, kept for the life of the process: a font
// file is opened once, whatever sizes and fonts are made from it, and a
// glyph is outlined once per face and size.
#ifndef INKLINE_PLATFORM_WIN32_FONT_CACHE_H
#define INKLINE_PLATFORM_WIN32_FONT_CACHE_H

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <inkline/win32.h>

#include "font_resolver.h"
#include "shape_path.h"

namespace gdi {

// One glyph at one size: its figures in pixels, y up, from the pen position
// on the baseline, grid-fitted at the face's whole-pixel size as GDI's
// outlines are; and its advance, in whole pixels as GDI advances. The id
// is never given to another shape, even after the cache forgets this one.
struct GlyphShape {
  ShapePath outline;
  double advance = 0.0;
  unsigned long long id = 0;
};

// Shapes are shared: a text keeps the ones it drew while a sink draws them,
// whatever the cache forgets meanwhile on another thread.
using SharedShape = std::shared_ptr<const GlyphShape>;

// A face at one size, with the synthetic bold and slant it needs. GDI makes
// TrueType fonts in whole pixels per em, so the size is rounded to them.
class SizedFace {
 public:
  SizedFace(FT_Face face, int faceId, double emX, double emY, bool embolden, bool oblique);
  ~SizedFace();
  SizedFace(const SizedFace&) = delete;
  SizedFace& operator=(const SizedFace&) = delete;

  // Distance from the top of the cell to the baseline, and from the
  // baseline to the bottom of the cell, in pixels.
  double ascent() const { return ascent_; }
  double descent() const { return descent_; }

  // The glyph of c, or null when the face has none. The pointer lasts until
  // the next shape is asked for: a face forgets all its shapes when it has
  // too many.
  const SharedShape* Find(char32_t c);
  // The glyph at an index of the face (one a shaper chose), likewise.
  const SharedShape* Glyph(unsigned index) { return Shape(index); }
  // The face's "missing character" glyph.
  const SharedShape* Missing() { return Shape(0); }
  // The glyph index of c, 0 when the face has none; whether the face is
  // emboldened or slanted here because the file is not bold or italic.
  unsigned IndexOf(char32_t c) const { return FT_Get_Char_Index(face_, c); }
  // The face's number (inkline::FaceIdOf of its file and index).
  int faceId() const { return faceId_; }
  bool Emboldened() const { return embolden_; }
  bool Slanted() const { return oblique_; }

 private:
  const SharedShape* Shape(FT_UInt index);
  GlyphShape Load(FT_UInt index) const;

  FT_Face face_;
  int faceId_;
  FT_Size size_ = nullptr;  // this size's hinting state; null when the face has none
  double emX_;              // pixels per em across, whole
  bool embolden_, oblique_;
  double ascent_, descent_;
  unsigned long long serial_;  // tells this face's shape ids from any other's
  std::unordered_map<FT_UInt, SharedShape> shapes_;
};

// The faces one text is drawn in.
struct TextFont {
  std::string file;                   // the font's own file
  double emHeight = 0.0;              // pixels
  double emWidth = 0.0;               // pixels across
  bool bold = false, italic = false;  // as the font description asks
  SizedFace* face = nullptr;          // never null in a found TextFont
  std::vector<SizedFace*> fallbacks;  // for characters face lacks
  // The faces of shaped clusters at this font's em, by face number, as
  // they were asked for.
  std::vector<std::pair<int, SizedFace*>> clusterFaces;
};

class FontCache {
 public:
  // The process-wide cache (never destroyed: fonts outlive static objects).
  static FontCache& Instance();

  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;

  // Guards everything below, and every SizedFace handed out.
  std::mutex& mutex() { return mutex_; }

  // The faces for text in font lf, at GDI's size for it; null when no
  // installed font could be opened. Valid while the mutex is held and no
  // other font is asked for.
  TextFont* TextFontFor(const LOGFONTA& lf);

  // The file lf resolves to, "" if none.
  std::string FileFor(const LOGFONTA& lf);

  // The face of a shaped cluster (a FaceIdOf number) at font's em size, with
  // the bold and slant font asks for; null when its file cannot be opened.
  // Valid as long as font.
  SizedFace* ClusterFace(TextFont& font, int faceId);

  long fileLoads() const { return fileLoads_; }

 private:
  FontCache();
  ~FontCache() = default;

  void Trim();
  bool MakeTextFont(const LOGFONTA& lf, TextFont* out);
  // The installed file for a face name (code page bytes), bold and italic.
  const FontFile* Resolve(const std::string& faceBytes, bool bold, bool italic);
  const FontFile* ResolveFamilies(const std::string& key, const std::vector<std::string>& f,
                                  bool bold, bool italic);
  FT_Face Open(const FontFile& file);
  SizedFace* Sized(const FontFile& file, FT_Face face, double emX, double emY, bool bold,
                   bool italic);

  std::mutex mutex_;
  FT_Library library_ = nullptr;
  long fileLoads_ = 0;
  std::map<std::string, FT_Face> faces_;                     // by path and index
  std::map<std::string, std::unique_ptr<FontFile>> files_;   // by face name, bold, italic
  std::map<std::string, std::unique_ptr<SizedFace>> sized_;  // by file and size
  std::map<std::string, TextFont> textFonts_;                // by font description
};

}  // namespace gdi

#endif  // INKLINE_PLATFORM_WIN32_FONT_CACHE_H
