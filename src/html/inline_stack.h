// A stack that keeps its first N elements in place and only the rest on the
// heap: the parsers build one for every text, and most texts need few.
#ifndef INKLINE_SRC_HTML_INLINE_STACK_H
#define INKLINE_SRC_HTML_INLINE_STACK_H

#include <cstddef>
#include <vector>

template <typename T, std::size_t N>
class InlineStack {
 public:
  bool Empty() const { return Count == 0; }
  std::size_t Size() const { return Count; }
  const T& operator[](std::size_t i) const { return i < N ? InPlace[i] : More[i - N]; }
  const T& Top() const { return (*this)[Count - 1]; }

  void Push(const T& value) {
    if (Count < N) {
      InPlace[Count] = value;
    } else {
      More.push_back(value);
    }
    ++Count;
  }
  // The place the next element takes when it stays in place, for the
  // caller to fill and then Keep; null once the place is full.
  T* NextInPlace() { return Count < N ? &InPlace[Count] : nullptr; }
  // Keeps the element written at NextInPlace.
  void KeepInPlace() { ++Count; }
  void Pop() {
    if (Count > N) More.pop_back();
    --Count;
  }
  void Clear() {
    More.clear();
    Count = 0;
  }

 private:
  // Left uninitialised: only the first Count are ever read, and a stack
  // made for every tag should not clear room it seldom fills.
  T InPlace[N];
  std::vector<T> More;
  std::size_t Count = 0;
};

#endif  // INKLINE_SRC_HTML_INLINE_STACK_H
