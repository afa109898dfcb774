// The font library over real font files: FreeType outlines and advances,
// fonts found through fontconfig by the font table, and the stroke font.
//
// Glyph box: the design grid (40 units, or 255 in stroke mode) spans the
// font's character cell, from its descent below the baseline to its ascent
// above it (the OS/2 Windows ascent and descent, else the horizontal header's)
// — the height GDI gives a font asked for with a positive lfHeight. A
// character of height h therefore has an em of h * EmPerCharHeight(). x 0 is
// the glyph origin. The box bottom is the reference point (GetYOffset() is
// 0), so a glyph's baseline sits one descent above it: where GDI writes the
// same character in a TrueType font whose cell starts at the reference
// point, so a run lands in the same place whichever way it is drawn. Glyphs from fallback faces keep
// the em size of the font they stand in for.
//
// Outlines: contours closed (last point = first), curves flattened so that no
// piece strays more than outputTolerance output units from the curve at the
// height GetCharOutline is given (in half-octave steps); the flattened
// outlines are cached per character and step and handed out as they are:
// the arrays GetCharOutline gives stay valid as long as the library (past
// the cache's size limit, until the calling thread's next call on the font).
//
// Text is GBK: a byte with the high bit set and a byte after it form one
// character. A character the font lacks comes from font 0's face, else from
// the face fontconfig finds for it, else is an empty outline with the advance
// of a space. While a label's own codes are installed (inkline/label_codes.h),
// a user-defined code is read from them: a character as any other, a shaped
// cluster as its glyphs where the shaper put them, in the cluster's face at
// this font's em, advancing by the cluster's advance.
//
// Stroke mode (OpenStrokeFont): GetLibType() is 1, the grid 255, ClibFile the
// open character-library file, and font 0 a StrokeFont whose characters
// advance one full cell.
//
// Fonts live as long as the library. A library and its fonts may be shared
// by any number of drawing threads: known glyphs and outlines are read
// without a lock, and what is not known yet is loaded under the library's
// lock. Opening or closing the stroke font, and reading Notes() or
// FreeTypeCalls(), must not overlap drawing.
#ifndef INKLINE_HOST_FREETYPE_FONT_LIB_H
#define INKLINE_HOST_FREETYPE_FONT_LIB_H

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include <inkline/fontlib.h>
#include <inkline/host/font_table.h>

class FontFace;
class FreeTypeFontLib;
struct FlatOutline;

struct FreeTypeFontLibOptions {
  FontTable table = FontTable::Defaults();
  // Largest distance, in output units, between a curve and its flattening.
  double outputTolerance = 0.1;
};

class FreeTypeFont final : public MapFont {
 public:
  FreeTypeFont(const FreeTypeFont&) = delete;
  FreeTypeFont& operator=(const FreeTypeFont&) = delete;
  ~FreeTypeFont();

  short GetCharOutline(char* ch, double** points, int** partSizes, short* partCount,
                       double height) override;
  double CharLength(char* ch) override;
  short GetYOffset() override { return 0; }
  // Design units from the cell bottom (the reference point) up to the baseline.
  double Descent() const { return descent_; }

  // The face behind the font, for hosts drawing it some other way (native
  // text): file and face index (empty file when no face could be opened),
  // and the em as a fraction of the character height.
  const std::string& File() const;
  int FaceIndex() const;
  double EmPerCharHeight() const;
  int Grid() const { return grid_; }
  size_t CachedOutlines() const { return cachedOutlines_.load(std::memory_order_relaxed); }

  // The flattening step for a height: the tolerance, in design units, that
  // GetCharOutline uses at that height.
  double ToleranceAt(double height) const;

 private:
  friend class FreeTypeFontLib;
  struct Glyph {
    FontFace* face = nullptr;  // null: no face has it
    unsigned index = 0;
    double scale = 0.0;        // design units per font unit of that face
    double advance = 0.0;      // design units
  };

  struct Caches;  // glyphs and outlines by character code, in the source

  FreeTypeFont(FreeTypeFontLib* lib, FontFace* face, int grid, double outputTolerance);
  const Glyph& GlyphOf(unsigned code);
  Glyph FindGlyph(char32_t codePoint);
  // A glyph of another face, at this font's em.
  Glyph ForeignGlyph(FontFace* face, unsigned index) const;
  // Design units per em of this font.
  double EmInDesignUnits() const;

  // A user-defined code of the installed label codes: its outline and its
  // advance (the character's, or the cluster's).
  const FlatOutline* LabelOutline(unsigned code, int step);
  double LabelAdvance(unsigned code);
  // The glyph of a character a label's code stands for (cached by the
  // character, as codes change meaning from label to label).
  Glyph LabelCharGlyph(char32_t c);
  // One glyph's outline at a step, placed at the pen position; loaded on
  // first use and kept by face and index.
  const FlatOutline* GlyphOutline(const Glyph& glyph, int step);
  // The outline of a character at a step, loaded on first use; null when no
  // face has the character.
  const FlatOutline* LoadOutline(unsigned code, int step);
  int StepAt(double height) const;
  int StepOf(double height) const;

  FreeTypeFontLib* lib_;
  FontFace* face_;
  int grid_;
  double outputTolerance_;
  double scale_ = 1.0;     // design units per font unit
  double descent_ = 0.0;   // design units from the cell bottom to the baseline
  std::unique_ptr<Caches> caches_;
  std::atomic<size_t> cachedOutlines_{0};
  size_t cachedBytes_ = 0;  // under the library's lock
};

// Font 0 in stroke mode: the strokes come from the character-library file;
// every character advances one full cell.
class StrokeFont final : public MapFont {
 public:
  explicit StrokeFont(int grid) : grid_(grid) {}
  short GetCharOutline(char* ch, double** points, int** partSizes, short* partCount,
                       double height) override;
  double CharLength(char* ch) override;
  short GetYOffset() override { return 0; }

 private:
  int grid_;
  double noPoint_ = 0.0;
  int noSize_ = 0;
};

class FreeTypeFontLib final : public MapFontLib {
 public:
  explicit FreeTypeFontLib(FreeTypeFontLibOptions options = {});
  ~FreeTypeFontLib();
  FreeTypeFontLib(const FreeTypeFontLib&) = delete;
  FreeTypeFontLib& operator=(const FreeTypeFontLib&) = delete;

  // A font number the table lacks gets the default font (number 0, else the
  // first of the table); GetFontByNo then returns 0 instead of 1.
  short GetFontByName(char* faceName, MapFont** font) override;
  short GetFontByNo(short fontNo, MapFont** font) override;
  // -1 for a face name the table lacks.
  short GetFontNoByName(char* faceName) override;
  // Writes the face name (GBK) and returns 1; for a number the table lacks
  // writes the default font's name and returns 0.
  short GetFontName(short fontNo, char** name) override;
  short GetLibType() override { return StrokeMode() ? 1 : 0; }

  // Opens the character-library file and switches to stroke mode; false,
  // with *error set, when it cannot be read or is too short.
  bool OpenStrokeFont(const std::string& path, std::string* error);
  // Closes it again: back to vector outlines on the grid of 40.
  void CloseStrokeFont();
  // The file the build writes with clibgen.
  static std::string DefaultStrokeFontPath();

  const FontTable& Table() const { return options_.table; }
  bool HasFont(short fontNo) const { return options_.table.ByNumber(fontNo) != nullptr; }
  // The vector font of a number in the current grid (the default font for a
  // number the table lacks).
  FreeTypeFont* VectorFont(short fontNo);
  // What did not go as the table says: fonts not found, replaced by others
  // (UTF-8 messages, one each, in the order they happened).
  const std::vector<std::string>& Notes() const { return notes_; }
  // FreeType calls made so far (glyph lookups, advances, outline loads).
  long FreeTypeCalls() const { return freeTypeCalls_; }

  // Creates a library with `options` that lives as long as the process and
  // installs it as the process-wide font library (SetMapFontLib).
  static FreeTypeFontLib* InstallProcessWide(FreeTypeFontLibOptions options = {});

 private:
  friend class FreeTypeFont;
  // The functions below take faces and fonts from the maps: callers hold mutex_.
  FreeTypeFont* VectorFontLocked(short fontNo);
  bool StrokeMode() const { return ClibFile >= 0; }
  int Grid() const;
  const FontTableEntry* EntryOrDefault(short fontNo) const;
  FontFace* FaceOf(const FontTableEntry& entry);
  FontFace* OpenFace(const std::string& file, int index);
  FontFace* DefaultFace();
  FontFace* LastResortFace(char32_t codePoint);
  // The face of a FaceIdOf number (inkline/label_codes.h); takes the lock.
  FontFace* FaceOfId(int faceId);

  FreeTypeFontLibOptions options_;
  // Guards the maps below, the notes, and every FreeType call.
  std::mutex mutex_;
  struct Library;
  std::unique_ptr<Library> ft_;
  long freeTypeCalls_ = 0;
  std::map<std::string, std::unique_ptr<FontFace>> faces_;  // by "file#index"
  std::map<short, FontFace*> entryFaces_;                    // by font number
  std::unordered_map<char32_t, FontFace*> lastResort_;
  std::map<std::pair<int, short>, std::unique_ptr<FreeTypeFont>> fonts_;  // by grid, number
  std::unique_ptr<StrokeFont> strokeFont_;
  std::vector<std::string> notes_;
};

#endif  // INKLINE_HOST_FREETYPE_FONT_LIB_H
