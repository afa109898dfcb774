// A label's own user-defined codes.
//
// A host that shapes a label hands out the code page's user-defined codes
// (the 1,894 of inkline/user_chars.h) for that label alone: each code stands
// for one character the code page lacks, or for a cluster of glyphs the host
// shaped (a ligature, a letter with its marks, a joined Arabic word). While
// the label is drawn, ScopedLabelCodes installs its codes for the calling
// thread; the decoders of the platform layers (the portable GDI's text, the
// host font library's outlines, native text) then read the label's codes
// instead of the process-wide table, and draw a cluster exactly as shaped.
// Codes are handed out afresh for every label, so no layer runs out of them.
#ifndef INKLINE_LABEL_CODES_H
#define INKLINE_LABEL_CODES_H

#include <string>
#include <unordered_map>
#include <vector>

#include <inkline/win32.h>

namespace inkline {

// A face of a font file, numbered once for the life of the process: a
// cluster names its face with the number, and caches key on it.
struct FaceFile {
  std::string file;
  int index = 0;
};
// The number of a face, the same for every call with the same file and
// index; 0 past the few thousand faces a process may number.
INKLINE_WIN32_API int FaceIdOf(const std::string& file, int index);
// The face of a number; null for a number never handed out.
INKLINE_WIN32_API const FaceFile* FaceFileOf(int faceId);

// One glyph of a shaped cluster.
struct ClusterGlyph {
  unsigned index = 0;   // the glyph's index in the cluster's face
  double x = 0, y = 0;  // from the cluster's pen position, in ems: x along the baseline, y up
};

// Some characters of a cluster and the glyphs they became: a reader of the
// picture's text (a PDF's) maps those glyphs back to these characters.
struct TextPiece {
  int bytes = 0;   // of the cluster's text
  int glyphs = 0;  // of the cluster's glyphs
};

// Glyphs a host shaped for some characters: drawn in their own face at the
// em size of the font the code is written in, each where the shaper put it.
struct ShapedCluster {
  int face = 0;                      // a FaceIdOf number
  double advance = 0;                // ems along the baseline
  std::vector<ClusterGlyph> glyphs;  // in the order they stand on the line
  std::string text;                  // the characters, UTF-8, in reading order
  bool rightToLeft = false;          // its characters read right to left
  // The text and glyphs piece by piece, in reading order: the pieces take
  // the text from its start and the glyphs from the first, or from the last
  // when the cluster reads right to left. Empty: all the text for all glyphs.
  std::vector<TextPiece> pieces;
  // The shaped run (a line of a label, or a stretch of rich text) it belongs
  // to, where its characters start in the run's reading order, and whether
  // the run as a whole reads right to left.
  int run = 0;
  int logical = 0;
  bool runRightToLeft = false;

  bool operator==(const ShapedCluster& other) const;
};

class INKLINE_WIN32_API LabelCodes {
 public:
  // How many codes a label may hand out.
  static int Capacity();

  // The code standing for character c (its earlier code when it has one);
  // 0 when every code is taken or c is ASCII.
  unsigned CodeForChar(char32_t c);
  // The code standing for the cluster (the earlier code of an equal one); 0
  // when every code is taken.
  unsigned CodeForCluster(const ShapedCluster& cluster);

  // The character a code stands for; 0 when it stands for none or for a cluster.
  char32_t CharOf(unsigned code) const;
  // The cluster a code stands for; null when it stands for none or for a character.
  const ShapedCluster* ClusterOf(unsigned code) const;

  int Assigned() const { return static_cast<int>(entries_.size()); }
  bool Empty() const { return entries_.empty(); }
  bool HasClusters() const { return !clusters_.empty(); }
  const std::vector<ShapedCluster>& Clusters() const { return clusters_; }

 private:
  struct Entry {
    char32_t c = 0;    // the character, when not a cluster
    int cluster = -1;  // index into clusters_, or -1
  };
  // Codes found again by a walk; past this many, through the indexes.
  static constexpr size_t kWalked = 16;
  unsigned Hand(Entry entry);
  void Index(int i);

  std::vector<Entry> entries_;  // in the order the codes are handed out
  std::vector<ShapedCluster> clusters_;
  std::unordered_map<char32_t, int> byChar_;           // entry positions, past kWalked
  std::unordered_multimap<std::string, int> byText_;
};

// Installs a label's codes for the calling thread while it lives; the codes
// installed before come back when it ends. The codes must outlive it.
class INKLINE_WIN32_API ScopedLabelCodes {
 public:
  explicit ScopedLabelCodes(const LabelCodes* codes);
  ~ScopedLabelCodes();
  ScopedLabelCodes(const ScopedLabelCodes&) = delete;
  ScopedLabelCodes& operator=(const ScopedLabelCodes&) = delete;

 private:
  const LabelCodes* previous_;
  unsigned long long previousSerial_;
};

// The calling thread's label codes, or null when none are installed.
INKLINE_WIN32_API const LabelCodes* CurrentLabelCodes();
// A number telling the current installation from every earlier one on the
// thread (0 when none is installed): runs of different labels never join.
INKLINE_WIN32_API unsigned long long CurrentLabelSerial();

// Whether code lies in the user-defined areas.
INKLINE_WIN32_API bool IsUserDefinedCode(unsigned code);

// A code standing for a cluster of the current label decodes as this mark
// plus the code: never a character, and never to be cached past the label.
constexpr char32_t kClusterCharBase = 0x110000;
inline bool IsClusterChar(char32_t c) {
  return c >= kClusterCharBase && c < kClusterCharBase + 0x10000;
}
// The current label's cluster a decoded mark stands for; null for anything else.
INKLINE_WIN32_API const ShapedCluster* ClusterOfChar(char32_t c);

}  // namespace inkline

#endif  // INKLINE_LABEL_CODES_H
