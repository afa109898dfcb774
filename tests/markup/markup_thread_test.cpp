// Threads converting at once each get their own results back intact.
#include <gtest/gtest.h>

#include <inkline/convert.h>

#include <atomic>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "markup/markup_sample.h"

namespace {

constexpr int kThreads = 6;
constexpr int kRoundsPerThread = 150;

struct Expected {
  MarkupSample sample;
  std::string document;  // written by the same calls from one thread, beforehand
};

// Converts every sample of one thread both ways and counts the results that
// differ from what a lone thread got. Each result is checked in place after
// a yield, so another thread's write into it would show.
int ConvertAll(const std::vector<Expected>& work) {
  int wrong = 0;
  for (const Expected& e : work) {
    const MarkupSample& s = e.sample;
    std::string text = s.text;
    char* document = CvtStrToHTML(text.data(), s.face, s.style, s.size, s.color, s.space, s.hvpl,
                                  s.bgcolor, s.angle);
    std::this_thread::yield();
    if (!document || e.document != document) {
      ++wrong;
      continue;
    }
    short face = 0, style = 0;
    double size = 0;
    int color = 0, bgcolor = 0;
    float space = 0, angle = 0;
    char hvpl = 0;
    const char* back =
        CvtHTMLToStr(document, &face, &style, &size, &color, &space, &hvpl, &bgcolor, &angle);
    std::this_thread::yield();
    if (!back || ExpectedMarkupText(s) != back || face != s.face || color != s.color ||
        bgcolor != s.bgcolor || hvpl != s.hvpl) {
      ++wrong;
    }
  }
  return wrong;
}

TEST(MarkupThreads, ConcurrentConversionsKeepTheirOwnResults) {
  // Every thread, the loading one included, gets its own samples; some are
  // long enough to make its buffer grow while the others convert.
  std::mt19937 random(4242);
  std::vector<std::vector<Expected>> work(kThreads + 1);
  for (std::vector<Expected>& list : work) {
    for (int i = 0; i < kRoundsPerThread; ++i) {
      Expected e;
      e.sample = RandomMarkupSample(random, i % 15 == 0 ? 900 : 30);
      std::string text = e.sample.text;
      const MarkupSample& s = e.sample;
      const char* document = CvtStrToHTML(text.data(), s.face, s.style, s.size, s.color, s.space,
                                          s.hvpl, s.bgcolor, s.angle);
      ASSERT_NE(document, nullptr);
      e.document = document;
      list.push_back(std::move(e));
    }
  }

  std::vector<int> wrong(kThreads + 1, 0);
  std::atomic<bool> go{false};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      while (!go.load()) std::this_thread::yield();
      wrong[t] = ConvertAll(work[t]);
    });
  }
  go = true;
  wrong[kThreads] = ConvertAll(work[kThreads]);
  for (std::thread& thread : threads) thread.join();

  for (int t = 0; t <= kThreads; ++t) EXPECT_EQ(wrong[t], 0) << "thread " << t;
}

}  // namespace
