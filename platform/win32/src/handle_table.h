// The live GDI objects, told by their handles: an open-addressed table of
// pointers. Every GDI call looks its handles up here, several times for each
// character drawn, and objects come and go with every string, so a lookup is
// one multiply and a probe or two, and adding or removing allocates nothing
// once the table has grown to the most objects alive at once.
#ifndef INKLINE_PLATFORM_WIN32_HANDLE_TABLE_H
#define INKLINE_PLATFORM_WIN32_HANDLE_TABLE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace gdi {

template <typename T>
class HandleTable {
 public:
  HandleTable() : slots_(kFirstCapacity) {}
  ~HandleTable() {
    for (Slot& s : slots_)
      if (Live(s)) delete s.object;
  }
  HandleTable(const HandleTable&) = delete;
  HandleTable& operator=(const HandleTable&) = delete;

  // Takes the object; its address is its handle.
  T* Add(std::unique_ptr<T> object) {
    if ((used_ + 1) * 2 > slots_.size()) Regrow();
    T* raw = object.release();
    Place(raw);
    ++live_;
    return raw;
  }

  // The object behind a handle, or null when none is alive there.
  T* Find(const void* handle) const {
    if (!handle) return nullptr;
    for (size_t i = Home(handle);; i = Next(i)) {
      const Slot& s = slots_[i];
      if (s.object == handle) return s.object;
      if (!s.object) return nullptr;
    }
  }

  // Destroys the object behind a handle; false when none is alive there.
  bool Remove(const void* handle) {
    if (!handle) return false;
    for (size_t i = Home(handle);; i = Next(i)) {
      Slot& s = slots_[i];
      if (!s.object) return false;
      if (s.object != handle) continue;
      delete s.object;
      s.object = Tombstone();
      --live_;
      return true;
    }
  }

  // Calls f with every live object.
  template <typename F>
  void ForEach(F&& f) const {
    for (const Slot& s : slots_)
      if (Live(s)) f(s.object);
  }

 private:
  struct Slot {
    T* object = nullptr;  // null: never used; Tombstone(): its object was removed
  };
  static constexpr size_t kFirstCapacity = 64;  // a power of two

  static T* Tombstone() {
    static char marker;
    return reinterpret_cast<T*>(&marker);
  }
  static bool Live(const Slot& s) { return s.object && s.object != Tombstone(); }

  size_t Home(const void* handle) const {
    // Heap addresses share their low bits: Fibonacci hashing spreads the rest.
    const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
    return static_cast<size_t>((bits * 0x9E3779B97F4A7C15ull) >> 32) & (slots_.size() - 1);
  }
  size_t Next(size_t i) const { return (i + 1) & (slots_.size() - 1); }

  // Into the first free slot of its probe: lookups of it stop there, and a
  // tombstone reused keeps the count of used slots.
  void Place(T* object) {
    for (size_t i = Home(object);; i = Next(i)) {
      Slot& s = slots_[i];
      if (s.object == Tombstone()) {
        s.object = object;
        return;
      }
      if (!s.object) {
        s.object = object;
        ++used_;
        return;
      }
    }
  }

  // Sheds the tombstones, doubling when the live objects alone fill a
  // quarter, so that a table kept half full never probes far.
  void Regrow() {
    std::vector<Slot> old((live_ + 1) * 4 > slots_.size() ? slots_.size() * 2 : slots_.size());
    old.swap(slots_);
    used_ = 0;
    for (const Slot& s : old)
      if (Live(s)) Place(s.object);
  }

  std::vector<Slot> slots_;
  size_t used_ = 0;  // slots holding an object or a tombstone
  size_t live_ = 0;
};

}  // namespace gdi

#endif  // INKLINE_PLATFORM_WIN32_HANDLE_TABLE_H
