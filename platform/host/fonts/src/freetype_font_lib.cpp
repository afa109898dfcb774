// The font library: the table's fonts opened on first use, faces shared
// between font numbers, and the stroke-font file.
#include <inkline/host/freetype_font_lib.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include <inkline/host/char_library.h>
#include <inkline/host/gbk.h>
#include <inkline/host/hostlib.h>
#include <inkline/label_codes.h>
#include <inkline/shared/numeric.h>

#include "font_face.h"
#include "font_resolver.h"

#ifndef INKLINE_STROKE_FONT_PATH
#define INKLINE_STROKE_FONT_PATH "strokes.clib"
#endif

struct FreeTypeFontLib::Library {
  Library() {
    if (FT_Init_FreeType(&library) != 0) library = nullptr;
  }
  ~Library() {
    if (library) FT_Done_FreeType(library);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  FT_Library library = nullptr;
};

namespace {

std::string Describe(const FontTableEntry& entry) {
  return "font " + std::to_string(entry.number) + " (" + gbk::ToUtf8(entry.faceName) + ")";
}

}  // namespace

FreeTypeFontLib::FreeTypeFontLib(FreeTypeFontLibOptions options)
    : options_(std::move(options)), ft_(std::make_unique<Library>()) {
  if (!ft_->library) notes_.push_back("FreeType could not be initialised: no vector fonts");
}

FreeTypeFontLib::~FreeTypeFontLib() {
  if (GetMapFontLib() == this) SetMapFontLib(nullptr);
  CloseStrokeFont();
}

const FontTableEntry* FreeTypeFontLib::EntryOrDefault(short fontNo) const {
  const FontTable& table = options_.table;
  if (const FontTableEntry* e = table.ByNumber(fontNo)) return e;
  if (const FontTableEntry* e = table.ByNumber(0)) return e;
  return table.entries.empty() ? nullptr : &table.entries.front();
}

FontFace* FreeTypeFontLib::OpenFace(const std::string& file, int index) {
  if (!ft_->library || file.empty()) return nullptr;
  const std::string key = file + "#" + std::to_string(index);
  auto it = faces_.find(key);
  if (it == faces_.end())
    it = faces_.emplace(key, FontFace::Open(ft_->library, file, index, &freeTypeCalls_)).first;
  return it->second.get();
}

FontFace* FreeTypeFontLib::FaceOf(const FontTableEntry& entry) {
  const auto known = entryFaces_.find(entry.number);
  if (known != entryFaces_.end()) return known->second;
  entryFaces_[entry.number] = nullptr;  // a default that fails does not come back here

  const ResolvedFont found = ResolveFontSource(entry.source, options_.table.baseDir);
  FontFace* face = OpenFace(found.file, found.index);
  if (face && !found.exact) {
    notes_.push_back(Describe(entry) + ": \"" + entry.source + "\" not found, using " +
                     found.family);
  } else if (!face) {
    const FontTableEntry* fallback = EntryOrDefault(0);
    const bool isDefault = !fallback || fallback->number == entry.number;
    face = isDefault ? LastResortFace(U'A') : DefaultFace();
    notes_.push_back(Describe(entry) + ": \"" + entry.source + "\" cannot be opened, using " +
                     (isDefault ? std::string("any font fontconfig offers") : Describe(*fallback)));
  }
  entryFaces_[entry.number] = face;
  return face;
}

FontFace* FreeTypeFontLib::DefaultFace() {
  const FontTableEntry* entry = EntryOrDefault(0);
  return entry ? FaceOf(*entry) : LastResortFace(U'A');
}

FontFace* FreeTypeFontLib::LastResortFace(char32_t codePoint) {
  const auto known = lastResort_.find(codePoint);
  if (known != lastResort_.end()) return known->second;
  const ResolvedFont found = FindFontFor(codePoint);
  FontFace* face = OpenFace(found.file, found.index);
  if (face && face->GlyphIndex(codePoint) == 0) face = nullptr;
  lastResort_[codePoint] = face;
  return face;
}

FontFace* FreeTypeFontLib::FaceOfId(int faceId) {
  const inkline::FaceFile* file = inkline::FaceFileOf(faceId);
  if (!file) return nullptr;
  std::lock_guard<std::mutex> hold(mutex_);
  return OpenFace(file->file, file->index);
}

FreeTypeFont* FreeTypeFontLib::VectorFont(short fontNo) {
  std::lock_guard<std::mutex> hold(mutex_);
  return VectorFontLocked(fontNo);
}

int FreeTypeFontLib::Grid() const {
  return static_cast<int>(shared::DesignGridFor(StrokeMode() ? shared::kCharLibraryType : 0));
}

FreeTypeFont* FreeTypeFontLib::VectorFontLocked(short fontNo) {
  const FontTableEntry* entry = EntryOrDefault(fontNo);
  const short number = entry ? entry->number : 0;
  const auto key = std::make_pair(Grid(), number);
  auto it = fonts_.find(key);
  if (it == fonts_.end()) {
    FontFace* face = entry ? FaceOf(*entry) : LastResortFace(U'A');
    std::unique_ptr<FreeTypeFont> font(
        new FreeTypeFont(this, face, Grid(), options_.outputTolerance));
    it = fonts_.emplace(key, std::move(font)).first;
  }
  return it->second.get();
}

short FreeTypeFontLib::GetFontByNo(short fontNo, MapFont** font) {
  if (!font) return 0;
  const FontTableEntry* entry = EntryOrDefault(fontNo);
  const short number = entry ? entry->number : fontNo;
  if (StrokeMode() && number == 0) {
    *font = strokeFont_.get();
  } else {
    std::lock_guard<std::mutex> hold(mutex_);
    *font = VectorFontLocked(fontNo);
  }
  return HasFont(fontNo) ? 1 : 0;
}

short FreeTypeFontLib::GetFontByName(char* faceName, MapFont** font) {
  if (!font) return 0;
  const FontTableEntry* entry = options_.table.ByName(faceName);
  if (!entry) {
    *font = nullptr;
    return 0;
  }
  return GetFontByNo(entry->number, font);
}

short FreeTypeFontLib::GetFontNoByName(char* faceName) {
  const FontTableEntry* entry = options_.table.ByName(faceName);
  return entry ? entry->number : -1;
}

short FreeTypeFontLib::GetFontName(short fontNo, char** name) {
  if (!name || !*name) return 0;
  const FontTableEntry* entry = EntryOrDefault(fontNo);
  const std::string face = entry ? entry->faceName : std::string();
  const size_t bytes = std::min(face.size(), FontTable::kMaxFaceNameBytes);
  std::memcpy(*name, face.data(), bytes);
  (*name)[bytes] = '\0';
  return HasFont(fontNo) ? 1 : 0;
}

bool FreeTypeFontLib::OpenStrokeFont(const std::string& path, std::string* error) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info {};
  if (fd < 0 || fstat(fd, &info) != 0 || info.st_size < clib::kIndexBytes) {
    if (error)
      *error = fd < 0 ? "cannot open the stroke font " + path
                      : path + " is too short to be a character library";
    if (fd >= 0) close(fd);
    return false;
  }
  CloseStrokeFont();
  ClibFile = fd;
  if (!strokeFont_)
    strokeFont_ = std::make_unique<StrokeFont>(static_cast<int>(shared::kCharLibraryGrid));
  return true;
}

void FreeTypeFontLib::CloseStrokeFont() {
  if (ClibFile >= 0) close(ClibFile);
  ClibFile = -1;
}

std::string FreeTypeFontLib::DefaultStrokeFontPath() { return INKLINE_STROKE_FONT_PATH; }

FreeTypeFontLib* FreeTypeFontLib::InstallProcessWide(FreeTypeFontLibOptions options) {
  // Installed libraries stay: string objects may still hold their fonts.
  static std::vector<std::unique_ptr<FreeTypeFontLib>> installed;
  installed.push_back(std::make_unique<FreeTypeFontLib>(std::move(options)));
  SetMapFontLib(installed.back().get());
  return installed.back().get();
}
