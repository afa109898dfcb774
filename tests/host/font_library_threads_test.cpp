// One FreeType font library shared by several drawing threads: every thread
// sees the outlines and advances a library of its own gives, while all of
// them fill the shared caches at once. Run under ThreadSanitizer in CI.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <inkline/host/freetype_font_lib.h>
#include <inkline/host/hostlib.h>

namespace {

constexpr int kThreads = 4;

// Everything the library answers for one character: font, height, outline.
struct Answer {
  short found = 0;
  double advance = 0;
  std::vector<int> sizes;
  std::vector<double> points;
  bool operator==(const Answer& o) const {
    return found == o.found && advance == o.advance && sizes == o.sizes && points == o.points;
  }
};

// Latin, Chinese (GBK), a character font 7 lacks (from the fallback face),
// a byte GBK does not define, and a space; each at heights spanning several
// tolerance steps, in every font of the default table.
std::vector<Answer> Ask(FreeTypeFontLib& lib, int rotate) {
  static const char* const kCharacters[] = {"A", "g", "\xD6\xD0", "\xCB\xCE", "\xFF\xFF", " ",
                                            "@", "\xB5\xD8"};
  static const double kHeights[] = {3.0, 12.5, 40.0, 410.0};
  std::vector<Answer> answers;
  const int n = sizeof kCharacters / sizeof *kCharacters;
  for (short fontNo : {0, 4, 7, 99})
    for (double height : kHeights)
      for (int k = 0; k < n; ++k) {
        // Each thread starts at another character, so first loads collide.
        char* ch = const_cast<char*>(kCharacters[(k + rotate) % n]);
        MapFont* font = nullptr;
        lib.GetFontByNo(fontNo, &font);
        Answer a;
        double* points = nullptr;
        int* sizes = nullptr;
        short parts = 0;
        a.found = font->GetCharOutline(ch, &points, &sizes, &parts, height);
        a.advance = font->CharLength(ch);
        a.sizes.assign(sizes, sizes + parts);
        long total = 0;
        for (int s : a.sizes) total += s;
        a.points.assign(points, points + 2 * total);
        answers.push_back(std::move(a));
      }
  return answers;
}

// Undoes Ask's per-thread rotation so answers line up with the reference.
std::vector<Answer> Unrotate(const std::vector<Answer>& answers, int rotate) {
  const int n = 8;
  std::vector<Answer> out(answers.size());
  for (size_t block = 0; block < answers.size(); block += n)
    for (int k = 0; k < n; ++k) out[block + (k + rotate) % n] = answers[block + k];
  return out;
}

TEST(FontLibraryThreads, SharedLibraryAnswersAsAPrivateOne) {
  FreeTypeFontLib own;
  const std::vector<Answer> reference = Ask(own, 0);

  FreeTypeFontLib shared;
  std::atomic<int> ready{0};
  std::vector<std::vector<Answer>> seen(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      ready.fetch_add(1);
      while (ready.load() < kThreads) std::this_thread::yield();
      for (int round = 0; round < 3; ++round) seen[t] = Unrotate(Ask(shared, t), t);
    });
  for (std::thread& thread : threads) thread.join();

  for (int t = 0; t < kThreads; ++t) {
    ASSERT_EQ(seen[t].size(), reference.size());
    for (size_t i = 0; i < reference.size(); ++i)
      EXPECT_TRUE(seen[t][i] == reference[i]) << "thread " << t << ", answer " << i;
  }
}

}  // namespace
