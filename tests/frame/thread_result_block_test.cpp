// Conversion buffers of threads other than the loading one: made on first
// use, gone when the thread ends, and gone for threads still running when
// the library stops.
#include <gtest/gtest.h>

#include <inkline/convert.h>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "frame/app.h"
#include "frame/thread_result_block.h"
#include "support/portable_only.h"

namespace {

bool ConvertOnce() {
  char text[] = "t";
  const char* document = CvtStrToHTML(text, 0, 0, 12.0, 1, 0.0f, 0, 0, 0.0f);
  return document && std::strstr(document, ">t<") != nullptr;
}

// A worker that converts, then waits until released.
class ParkedWorker {
 public:
  ParkedWorker()
      : thread_([this] {
          converted_ = ConvertOnce();
          std::unique_lock<std::mutex> lock(m_);
          parked_ = true;
          cv_.notify_all();
          cv_.wait(lock, [this] { return released_; });
        }) {
    std::unique_lock<std::mutex> lock(m_);
    cv_.wait(lock, [this] { return parked_; });
  }
  ~ParkedWorker() {
    {
      std::lock_guard<std::mutex> lock(m_);
      released_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }
  ParkedWorker(const ParkedWorker&) = delete;
  ParkedWorker& operator=(const ParkedWorker&) = delete;
  bool converted() const { return converted_; }

 private:
  std::mutex m_;
  std::condition_variable cv_;
  bool parked_ = false, released_ = false, converted_ = false;
  std::thread thread_;
};

TEST(ThreadResultBlocks, AThreadsBlockGoesWhenTheThreadEnds) {
  INKLINE_PORTABLE_ONLY("on Windows the library's thread detach frees it (DllLifetime tests)");
  const int before = LiveResultBlocks();
  {
    ParkedWorker worker;
    EXPECT_TRUE(worker.converted());
    EXPECT_EQ(LiveResultBlocks(), before + 1);
  }
  EXPECT_EQ(LiveResultBlocks(), before);
}

TEST(ThreadResultBlocks, StoppingTheLibraryFreesBlocksOfRunningThreads) {
  {
    ParkedWorker worker;
    EXPECT_TRUE(worker.converted());
    EXPECT_GE(LiveResultBlocks(), 1);
    StopInklineApp();
    EXPECT_EQ(LiveResultBlocks(), 0);
    ASSERT_TRUE(StartInklineApp());
  }  // the worker ends after its block is gone, without freeing it twice
  EXPECT_EQ(LiveResultBlocks(), 0);
  // The loading thread keeps converting into the new application's buffer.
  EXPECT_TRUE(ConvertOnce());
  EXPECT_EQ(LiveResultBlocks(), 0);
}

}  // namespace
