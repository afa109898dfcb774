// The conversion result buffer: grows to the result's length plus one when
// the result does not fit, never shrinks, and serves each thread apart.
#include <gtest/gtest.h>

#include <inkline/convert.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "frame/app.h"

namespace {

// A conversion result of exactly `length` bytes.
char* ResultOfLength(std::size_t length, char fill = 'x') {
  std::string document = "<body>" + std::string(length, fill);
  short face, style;
  double size;
  int color, bgcolor;
  float space, angle;
  char hvpl;
  return CvtHTMLToStr(document.data(), &face, &style, &size, &color, &space, &hvpl, &bgcolor,
                      &angle);
}

TEST(ResultBuffer, LoadingThreadUsesTheApplicationBuffer) {
  CInklineApp* app = InklineApp();
  ASSERT_NE(app, nullptr);
  // Earlier calls may have grown it already; grow it from wherever it is.
  const int start = app->ResultBufferSize;
  ASSERT_GE(start, 1024);
  const std::size_t n = static_cast<std::size_t>(start) + 100;

  char* grown = ResultOfLength(n);
  EXPECT_EQ(grown, app->ResultBuffer);
  EXPECT_EQ(app->ResultBufferSize, static_cast<int>(n + 1));
  EXPECT_EQ(std::strlen(grown), n);

  // Up to capacity - 1 bytes fit; a shorter result reuses the same block.
  EXPECT_EQ(ResultOfLength(n, 'y'), grown);
  EXPECT_EQ(ResultOfLength(3, 'z'), grown);
  EXPECT_STREQ(grown, "zzz");
  EXPECT_EQ(app->ResultBufferSize, static_cast<int>(n + 1));

  // A result as long as the capacity grows it by exactly one.
  char* again = ResultOfLength(n + 1);
  EXPECT_EQ(again, app->ResultBuffer);
  EXPECT_EQ(app->ResultBufferSize, static_cast<int>(n + 2));
  EXPECT_EQ(std::strlen(again), n + 1);

  // The other conversion writes into the same block.
  char text[] = "A";
  EXPECT_EQ(CvtStrToHTML(text, 0, 0, 0, 0, 0, 0, 0, 0), again);
}

// On any thread the first 1023-byte result still fits the initial 1024 bytes,
// 1024 bytes need a new block, and a block is reused while results fit it.
void ExpectGrowthRule() {
  char* first = ResultOfLength(10);
  EXPECT_EQ(ResultOfLength(1023), first);
  char* grown = ResultOfLength(1024);
  EXPECT_NE(grown, first);  // the old block is still held while the new one is taken
  EXPECT_EQ(ResultOfLength(1024), grown);
  EXPECT_EQ(ResultOfLength(5), grown);
  EXPECT_NE(ResultOfLength(1025), grown);
}

TEST(ResultBuffer, OtherThreadsFollowTheSameGrowthRule) {
  std::thread worker(ExpectGrowthRule);
  worker.join();
}

TEST(ResultBuffer, OtherThreadsDoNotTouchTheApplicationBuffer) {
  CInklineApp* app = InklineApp();
  ASSERT_NE(app, nullptr);
  char* mine = ResultOfLength(4, 'm');
  const int capacity = app->ResultBufferSize;
  char* theirs = nullptr;
  std::thread worker([&] { theirs = ResultOfLength(5000, 't'); });
  worker.join();
  EXPECT_NE(theirs, mine);
  EXPECT_EQ(mine, app->ResultBuffer);
  EXPECT_EQ(app->ResultBufferSize, capacity);
  EXPECT_STREQ(mine, "mmmm");
}

TEST(ResultBuffer, ConvertingTheResultItselfIsSafe) {
  // The input is the very block the result replaces when it grows.
  char* text = ResultOfLength(3000, 'q');
  char* document = CvtStrToHTML(text, 1, 2, 3, 4, 5, 6, 7, 8);
  ASSERT_NE(document, nullptr);
  EXPECT_NE(std::strstr(document, ("<strong>" + std::string(3000, 'q') + "</strong>").c_str()),
            nullptr);
  short face = 0, style = 0;
  double size = 0;
  int color = 0, bgcolor = 0;
  float space = 0, angle = 0;
  char hvpl = 0;
  char* back =
      CvtHTMLToStr(document, &face, &style, &size, &color, &space, &hvpl, &bgcolor, &angle);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(std::string(back), std::string(3000, 'q'));
  EXPECT_EQ(style, 2);
  EXPECT_EQ(bgcolor, 7);
}

struct BlockCase {
  int capacity;        // of the block before the store
  std::size_t length;  // of the result
  int grownTo;         // capacity afterwards; 0: the same block is reused
};

class StoreInBlock : public testing::TestWithParam<BlockCase> {};

TEST_P(StoreInBlock, GrowsOnlyWhenTheResultDoesNotFit) {
  const BlockCase c = GetParam();
  char* block = static_cast<char*>(std::calloc(c.capacity, 1));
  char* const before = block;
  int capacity = c.capacity;
  const std::string result(c.length, 'r');
  char* stored = StoreResultInBlock(block, capacity, result.data(), result.size());
  EXPECT_EQ(stored, block);
  EXPECT_EQ(capacity, c.grownTo ? c.grownTo : c.capacity);
  EXPECT_EQ(block == before, c.grownTo == 0);
  EXPECT_EQ(std::string(stored), result);
  std::free(block);
}

INSTANTIATE_TEST_SUITE_P(Lengths, StoreInBlock,
                         testing::Values(BlockCase{1024, 0, 0}, BlockCase{1024, 1023, 0},
                                         BlockCase{1024, 1024, 1025}, BlockCase{1024, 4000, 4001},
                                         BlockCase{16, 15, 0}, BlockCase{16, 16, 17}));

TEST(StoreInBlockLimits, StartsFromNoBlock) {
  char* block = nullptr;
  int capacity = 0;
  EXPECT_STREQ(StoreResultInBlock(block, capacity, "abc", 3), "abc");
  EXPECT_EQ(capacity, 4);
  std::free(block);
}

TEST(StoreInBlockLimits, LengthBeyondTheCapacityTypeFailsAndKeepsTheOldResult) {
  char* block = static_cast<char*>(std::calloc(8, 1));
  std::strcpy(block, "kept");
  int capacity = 8;
  // The length is checked before a byte is read, so a short source is enough.
  const char source[] = "s";
  for (std::size_t length : {static_cast<std::size_t>(INT_MAX),
                             static_cast<std::size_t>(INT_MAX) + 1, ~std::size_t{0}}) {
    EXPECT_EQ(StoreResultInBlock(block, capacity, source, length), nullptr) << length;
    EXPECT_EQ(capacity, 8);
    EXPECT_STREQ(block, "kept");
  }
  std::free(block);
}

}  // namespace
