// The portable GDI's object model: fonts, pens, brushes and device contexts
// behind opaque handles, with a table of live handles so that a stale or
// foreign handle is refused the way GDI refuses it.
#ifndef INKLINE_PLATFORM_WIN32_GDI_OBJECTS_H
#define INKLINE_PLATFORM_WIN32_GDI_OBJECTS_H

#include <atomic>
#include <mutex>
#include <shared_mutex>
#include <thread>
#include <vector>

#include <inkline/win32.h>

class GdiSink;

namespace gdi {

enum class Kind { Font, Pen, Brush, DC };

// What an object is made with stays as it is; only a context's settings
// and the count of its selections change.
struct Object {
  explicit Object(Kind k) : kind(k) {}
  virtual ~Object() = default;
  Kind kind;
  bool stock = false;
  // The contexts it is selected into: none, or it stays. Stock objects,
  // which always stay, are not counted, so threads never write to them.
  std::atomic<int> selections{0};
};

struct Font : Object {
  Font() : Object(Kind::Font) {}
  LOGFONTA lf{};
};

struct Pen : Object {
  Pen() : Object(Kind::Pen) {}
  int style = 0;
  int width = 1;
  COLORREF color = 0;
};

struct Brush : Object {
  Brush() : Object(Kind::Brush) {}
  bool hollow = false;
  COLORREF color = 0;
};

// A device context: what is selected into it, its text settings, the path
// being recorded, and the target it draws into (none for a plain memory DC).
struct DC : Object {
  DC() : Object(Kind::DC) {}
  Font* font = nullptr;
  Pen* pen = nullptr;
  Brush* brush = nullptr;
  int bkMode = OPAQUE;
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  POINT position{0, 0};  // the current position lines start from
  GdiSink* sink = nullptr;
  bool recordingPath = false;  // between BeginPath and EndPath
  bool pathClosed = false;     // EndPath done: the path can be read
  std::vector<POINT> pathPoints;
  std::vector<BYTE> pathTypes;
};

// The lock of one shard of the object table: calls that change the shard or
// an object in it hold it alone, calls that only read share it. It is held
// for a lookup or a field's change, a few dozen nanoseconds, but taken at
// every call by threads drawing text a character at a time: a waiting
// thread spins briefly, then yields, rather than sleeping in the kernel to
// be woken thousands of times a second.
class TableMutex {
 public:
  void lock() {
    for (int spins = 0;; Wait(spins)) {
      int free = 0;
      if (state_.compare_exchange_weak(free, kAlone, std::memory_order_acquire)) return;
    }
  }
  void unlock() { state_.store(0, std::memory_order_release); }
  void lock_shared() {
    for (int spins = 0;; Wait(spins)) {
      int readers = state_.load(std::memory_order_relaxed);
      if (readers >= 0 &&
          state_.compare_exchange_weak(readers, readers + 1, std::memory_order_acquire))
        return;
    }
  }
  void unlock_shared() { state_.fetch_sub(1, std::memory_order_release); }

 private:
  static constexpr int kAlone = -1, kSpins = 200;
  static void Wait(int& spins) {
    if (++spins > kSpins) std::this_thread::yield();
  }
  std::atomic<int> state_{0};  // kAlone, or the number of readers
};
using TableLock = std::lock_guard<TableMutex>;
using SharedTableLock = std::shared_lock<TableMutex>;

// The table of live objects is split into shards by handle, each with a
// lock of its own. Threads drawing at once mostly use objects they made,
// which land in shards of their own, so they seldom take the same lock or
// bounce it between cores. A call holds the lock of the shard of each
// object it looks up or changes; a context's selections are read under its
// own shard's lock, as they cannot be deleted while selected.
TableMutex& LockOf(const void* handle);

// Holds the locks of two handles' shards, in one order for every thread,
// and once when they share one.
class ShardLocks {
 public:
  ShardLocks(const void* a, const void* b);
  ~ShardLocks();
  ShardLocks(const ShardLocks&) = delete;
  ShardLocks& operator=(const ShardLocks&) = delete;

 private:
  TableMutex* first_;
  TableMutex* second_;  // null when both share the first
};

// A stock object's handle: its object, found without any lock; null for
// any other handle.
Object* StockAt(const void* handle);

// The live object behind a handle, or null for a null, stale or foreign
// handle or one of another kind. Call with LockOf(handle) held.
Object* Find(const void* handle);
Font* FindFont(const void* handle);
DC* FindDC(HDC handle);

}  // namespace gdi

#endif  // INKLINE_PLATFORM_WIN32_GDI_OBJECTS_H
