#include "frame/thread_result_block.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <new>
#include <vector>

#if defined(_WIN32)
#include <inkline/win32.h>
#endif

namespace {

constexpr int kInitialCapacity = 1024;

// Every live block. A thread's own pointer counts only while its block is
// listed here: stopping the library frees the blocks of threads that are
// still running, and their pointers must not be used after that. Never
// destroyed: threads may end after static teardown.
struct Registry {
  std::mutex Lock;
  std::vector<ResultBlock*> Blocks;

  bool Holds(ResultBlock* block) const {
    return std::find(Blocks.begin(), Blocks.end(), block) != Blocks.end();
  }
};

Registry& Blocks() {
  static Registry* registry = new Registry();
  return *registry;
}

void FreeBlock(ResultBlock* block) {
  std::free(block->Block);
  delete block;
}

// Where a thread keeps the pointer to its block.
#if defined(_WIN32)
// A thread-local slot of the system, not a C++ thread_local: the runtime's
// thread_local destructors would run from the thread's exit after the
// library is gone, and keep it from unloading. Guarded by the registry lock.
DWORD slot = TLS_OUT_OF_INDEXES;
ResultBlock* OwnLocked() {
  return slot == TLS_OUT_OF_INDEXES ? nullptr : static_cast<ResultBlock*>(TlsGetValue(slot));
}
bool SetOwnLocked(ResultBlock* block) {
  if (slot == TLS_OUT_OF_INDEXES) slot = TlsAlloc();
  return slot != TLS_OUT_OF_INDEXES && TlsSetValue(slot, block);
}
void FreeSlotLocked() {
  if (slot != TLS_OUT_OF_INDEXES) TlsFree(slot);
  slot = TLS_OUT_OF_INDEXES;
}
#else
struct OwnHolder {
  ResultBlock* Block = nullptr;
  ~OwnHolder() { ReleaseThisThreadResultBlock(); }
};
thread_local OwnHolder own;
ResultBlock* OwnLocked() { return own.Block; }
bool SetOwnLocked(ResultBlock* block) {
  own.Block = block;
  return true;
}
void FreeSlotLocked() {}
#endif

}  // namespace

ResultBlock* ThisThreadResultBlock() {
  Registry& r = Blocks();
  std::lock_guard<std::mutex> hold(r.Lock);
  ResultBlock* mine = OwnLocked();
  if (mine && r.Holds(mine)) return mine;

  auto* made = new (std::nothrow) ResultBlock();
  if (!made) return nullptr;
  made->Block = static_cast<char*>(std::calloc(kInitialCapacity, 1));
  made->Capacity = made->Block ? kInitialCapacity : 0;
  if (!SetOwnLocked(made)) {
    FreeBlock(made);
    return nullptr;
  }
  r.Blocks.push_back(made);
  return made;
}

void ReleaseThisThreadResultBlock() {
  Registry& r = Blocks();
  std::lock_guard<std::mutex> hold(r.Lock);
  ResultBlock* mine = OwnLocked();
  if (!mine) return;
  SetOwnLocked(nullptr);
  auto at = std::find(r.Blocks.begin(), r.Blocks.end(), mine);
  if (at == r.Blocks.end()) return;  // already freed by the library's stop
  r.Blocks.erase(at);
  FreeBlock(mine);
}

void ReleaseAllResultBlocks() {
  std::vector<ResultBlock*> all;
  {
    Registry& r = Blocks();
    std::lock_guard<std::mutex> hold(r.Lock);
    all.swap(r.Blocks);
    SetOwnLocked(nullptr);
  }
  for (ResultBlock* block : all) FreeBlock(block);
}

void EndResultBlocks() {
  ReleaseAllResultBlocks();
  Registry& r = Blocks();
  std::lock_guard<std::mutex> hold(r.Lock);
  FreeSlotLocked();
}

int LiveResultBlocks() {
  Registry& r = Blocks();
  std::lock_guard<std::mutex> hold(r.Lock);
  return static_cast<int>(r.Blocks.size());
}
