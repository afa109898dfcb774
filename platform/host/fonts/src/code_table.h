// A table from character codes (0 to 0xFFFF) to immutable values, read by any
// number of threads without a lock. Values are added once and kept until the
// table goes, so a pointer handed out stays valid as long as the table: that
// is what lets fonts hand their cached outlines out without copying them.
// Writers must be serialised by the caller (the font library's lock).
#ifndef INKLINE_HOST_FONTS_CODE_TABLE_H
#define INKLINE_HOST_FONTS_CODE_TABLE_H

#include <array>
#include <atomic>
#include <memory>

template <typename T>
class CodeTable {
 public:
  static constexpr unsigned kCodes = 0x10000;

  CodeTable() {
    for (auto& page : pages_) page.store(nullptr, std::memory_order_relaxed);
  }
  ~CodeTable() {
    for (auto& slot : pages_) {
      Page* page = slot.load(std::memory_order_relaxed);
      if (!page) continue;
      for (auto& value : page->values) delete value.load(std::memory_order_relaxed);
      delete page;
    }
  }
  CodeTable(const CodeTable&) = delete;
  CodeTable& operator=(const CodeTable&) = delete;

  // The value of a code, or null.
  const T* Find(unsigned code) const {
    if (code >= kCodes) return nullptr;
    const Page* page = pages_[code >> 8].load(std::memory_order_acquire);
    return page ? page->values[code & 0xFF].load(std::memory_order_acquire) : nullptr;
  }

  // Stores the value of a code that has none yet; returns the stored value
  // (null for a code out of range). Callers hold the writers' lock.
  const T* Add(unsigned code, std::unique_ptr<T> value) {
    if (code >= kCodes) return nullptr;
    std::atomic<Page*>& slot = pages_[code >> 8];
    Page* page = slot.load(std::memory_order_relaxed);
    if (!page) {
      page = new Page();
      slot.store(page, std::memory_order_release);
    }
    std::atomic<const T*>& entry = page->values[code & 0xFF];
    if (const T* known = entry.load(std::memory_order_relaxed)) return known;
    const T* stored = value.release();
    entry.store(stored, std::memory_order_release);
    return stored;
  }

 private:
  struct Page {
    Page() {
      for (auto& value : values) value.store(nullptr, std::memory_order_relaxed);
    }
    std::array<std::atomic<const T*>, 256> values;
  };
  std::array<std::atomic<Page*>, kCodes / 256> pages_;
};

#endif  // INKLINE_HOST_FONTS_CODE_TABLE_H
