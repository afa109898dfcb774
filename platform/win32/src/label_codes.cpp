// A label's own user-defined codes, the thread's installed codes, and the
// process-wide numbering of font faces.
#include <inkline/label_codes.h>

#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>

#include "user_areas.h"

namespace inkline {
namespace {

// Faces are few (one per font file a layer's scripts need), so a lock per
// new number is cheap; numbers are read back far more often, without it,
// from a table of pointers published once each.
class FaceRegistry {
 public:
  static FaceRegistry& Instance() {
    static auto* registry = new FaceRegistry();  // faces outlive static objects
    return *registry;
  }
  int IdOf(const std::string& file, int index) {
    std::lock_guard<std::mutex> hold(mutex_);
    const auto key = std::make_pair(file, index);
    const auto known = ids_.find(key);
    if (known != ids_.end()) return known->second;
    if (owned_.size() >= kFaces) return 0;  // a face past the table is drawn as none
    owned_.push_back(std::make_unique<FaceFile>(FaceFile{file, index}));
    const int id = static_cast<int>(owned_.size());
    published_[static_cast<size_t>(id - 1)].store(owned_.back().get(), std::memory_order_release);
    ids_.emplace(key, id);
    return id;
  }
  const FaceFile* Of(int id) const {
    if (id < 1 || id > static_cast<int>(kFaces)) return nullptr;
    return published_[static_cast<size_t>(id - 1)].load(std::memory_order_acquire);
  }

 private:
  static constexpr size_t kFaces = 4096;
  FaceRegistry() {
    for (auto& p : published_) p.store(nullptr, std::memory_order_relaxed);
  }
  std::mutex mutex_;
  std::map<std::pair<std::string, int>, int> ids_;
  std::vector<std::unique_ptr<FaceFile>> owned_;
  std::array<std::atomic<const FaceFile*>, kFaces> published_;
};

struct Installed {
  const LabelCodes* codes = nullptr;
  unsigned long long serial = 0;
  unsigned long long installs = 0;
};
thread_local Installed installed;

}  // namespace

int FaceIdOf(const std::string& file, int index) { return FaceRegistry::Instance().IdOf(file, index); }

const FaceFile* FaceFileOf(int faceId) { return FaceRegistry::Instance().Of(faceId); }

bool ShapedCluster::operator==(const ShapedCluster& o) const {
  if (face != o.face || advance != o.advance || run != o.run || rightToLeft != o.rightToLeft ||
      logical != o.logical || runRightToLeft != o.runRightToLeft || text != o.text ||
      glyphs.size() != o.glyphs.size() || pieces.size() != o.pieces.size())
    return false;
  for (size_t i = 0; i < pieces.size(); ++i)
    if (pieces[i].bytes != o.pieces[i].bytes || pieces[i].glyphs != o.pieces[i].glyphs) return false;
  for (size_t i = 0; i < glyphs.size(); ++i)
    if (glyphs[i].index != o.glyphs[i].index || glyphs[i].x != o.glyphs[i].x ||
        glyphs[i].y != o.glyphs[i].y)
      return false;
  return true;
}

int LabelCodes::Capacity() { return user_areas::kCodes; }

unsigned LabelCodes::Hand(Entry entry) {
  if (entries_.size() >= static_cast<size_t>(user_areas::kCodes)) return 0;
  entries_.push_back(entry);
  const int i = static_cast<int>(entries_.size()) - 1;
  if (entries_.size() == kWalked + 1) {
    for (int k = 0; k < i; ++k) Index(k);  // past the walk: index every earlier code
  }
  if (entries_.size() > kWalked) Index(i);
  return user_areas::CodeAt(i);
}

void LabelCodes::Index(int i) {
  const Entry& e = entries_[static_cast<size_t>(i)];
  if (e.cluster < 0)
    byChar_.emplace(e.c, i);
  else
    byText_.emplace(clusters_[static_cast<size_t>(e.cluster)].text, i);
}

// Most labels hold a few codes, found again by a walk; a label with many
// looks them up by character or by the cluster's text.
unsigned LabelCodes::CodeForChar(char32_t c) {
  if (c < 0x80 || c > 0x10FFFF) return 0;
  if (entries_.size() <= kWalked) {
    for (size_t i = 0; i < entries_.size(); ++i)
      if (entries_[i].cluster < 0 && entries_[i].c == c) return user_areas::CodeAt(static_cast<int>(i));
  } else {
    const auto known = byChar_.find(c);
    if (known != byChar_.end()) return user_areas::CodeAt(known->second);
  }
  return Hand(Entry{c, -1});
}

unsigned LabelCodes::CodeForCluster(const ShapedCluster& cluster) {
  const auto same = [&](size_t i) {
    return entries_[i].cluster >= 0 && clusters_[static_cast<size_t>(entries_[i].cluster)] == cluster;
  };
  if (entries_.size() <= kWalked) {
    for (size_t i = 0; i < entries_.size(); ++i)
      if (same(i)) return user_areas::CodeAt(static_cast<int>(i));
  } else {
    const auto range = byText_.equal_range(cluster.text);
    for (auto it = range.first; it != range.second; ++it)
      if (same(static_cast<size_t>(it->second))) return user_areas::CodeAt(it->second);
  }
  if (entries_.size() >= static_cast<size_t>(user_areas::kCodes)) return 0;
  clusters_.push_back(cluster);
  return Hand(Entry{0, static_cast<int>(clusters_.size()) - 1});
}

char32_t LabelCodes::CharOf(unsigned code) const {
  const int i = user_areas::IndexOf(code);
  if (i < 0 || static_cast<size_t>(i) >= entries_.size()) return 0;
  const Entry& e = entries_[static_cast<size_t>(i)];
  return e.cluster < 0 ? e.c : 0;
}

const ShapedCluster* LabelCodes::ClusterOf(unsigned code) const {
  const int i = user_areas::IndexOf(code);
  if (i < 0 || static_cast<size_t>(i) >= entries_.size()) return nullptr;
  const Entry& e = entries_[static_cast<size_t>(i)];
  return e.cluster < 0 ? nullptr : &clusters_[static_cast<size_t>(e.cluster)];
}

ScopedLabelCodes::ScopedLabelCodes(const LabelCodes* codes)
    : previous_(installed.codes), previousSerial_(installed.serial) {
  installed.codes = codes;
  installed.serial = codes ? ++installed.installs : 0;
}

ScopedLabelCodes::~ScopedLabelCodes() {
  installed.codes = previous_;
  installed.serial = previousSerial_;
}

const LabelCodes* CurrentLabelCodes() { return installed.codes; }

unsigned long long CurrentLabelSerial() { return installed.serial; }

bool IsUserDefinedCode(unsigned code) { return user_areas::IndexOf(code) >= 0; }

const ShapedCluster* ClusterOfChar(char32_t c) {
  if (!IsClusterChar(c) || !installed.codes) return nullptr;
  return installed.codes->ClusterOf(static_cast<unsigned>(c - kClusterCharBase));
}

}  // namespace inkline
