// Blocks of labels used again once every drawer is done with them: a block
// keeps the room its vectors grew to, so a long reading stops allocating,
// and touching fresh pages, after its first few blocks. A block comes back
// from whichever thread lets go of it last.
#ifndef INKLINE_TOOLS_BLOCK_POOL_H
#define INKLINE_TOOLS_BLOCK_POOL_H

#include <memory>
#include <mutex>
#include <vector>

// Block needs Clear(), which empties it and keeps its room.
template <typename Block>
class BlockPool {
 public:
  BlockPool() = default;
  BlockPool(const BlockPool&) = delete;
  BlockPool& operator=(const BlockPool&) = delete;

  // An empty block. The pool must outlive every block it gave.
  std::shared_ptr<Block> Take() {
    std::unique_ptr<Block> block;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!free_.empty()) {
        block = std::move(free_.back());
        free_.pop_back();
      }
    }
    if (!block) block = std::make_unique<Block>();
    return std::shared_ptr<Block>(block.release(), [this](Block* given) { Give(given); });
  }

 private:
  void Give(Block* given) {
    std::unique_ptr<Block> block(given);
    block->Clear();  // on the thread letting go, not the reader's
    std::lock_guard<std::mutex> lock(mutex_);
    free_.push_back(std::move(block));
  }

  std::mutex mutex_;
  std::vector<std::unique_ptr<Block>> free_;
};

#endif  // INKLINE_TOOLS_BLOCK_POOL_H
