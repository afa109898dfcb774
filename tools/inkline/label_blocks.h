// Blocks of prepared labels handed from one reading thread to several
// drawing threads, each drawing every block in order. At most `capacity`
// blocks are held: the reader waits for the slowest drawer, and a block is
// freed once every drawer is past it.
#ifndef INKLINE_TOOLS_LABEL_BLOCKS_H
#define INKLINE_TOOLS_LABEL_BLOCKS_H

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

template <typename Block>
class LabelBlocks {
 public:
  LabelBlocks(int drawers, size_t capacity) : at_(static_cast<size_t>(drawers), 0), capacity_(capacity) {}

  void Push(std::shared_ptr<const Block> block) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return blocks_.size() < capacity_ || closed_; });
    blocks_.push_back(std::move(block));
    changed_.notify_all();
  }

  // No more blocks come: drawers finish those held, then get null.
  void Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    changed_.notify_all();
  }

  // The drawer's next block, waiting for it; null after the last.
  std::shared_ptr<const Block> Next(int drawer) {
    std::unique_lock<std::mutex> lock(mutex_);
    size_t& at = at_[static_cast<size_t>(drawer)];
    changed_.wait(lock, [&] { return at < front_ + blocks_.size() || closed_; });
    if (at >= front_ + blocks_.size()) return nullptr;
    std::shared_ptr<const Block> block = blocks_[at - front_];
    ++at;
    const size_t slowest = *std::min_element(at_.begin(), at_.end());
    for (; front_ < slowest; ++front_) blocks_.pop_front();
    changed_.notify_all();
    return block;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::shared_ptr<const Block>> blocks_;
  size_t front_ = 0;         // the number of the first block held
  std::vector<size_t> at_;   // each drawer's next block number
  size_t capacity_;
  bool closed_ = false;
};

#endif  // INKLINE_TOOLS_LABEL_BLOCKS_H
