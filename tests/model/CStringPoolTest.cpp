// The string pool: one copy per text, whichever thread asks and whatever
// its per-thread cache of recent answers holds.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "model/CStringPool.h"

namespace {

TEST(CStringPool, EqualTextsShareOneCopyAndOthersDoNot) {
  const std::string* empty = CStringPool::Intern(std::string_view());  // a view with no data at all
  EXPECT_EQ(empty, CStringPool::Empty());
  EXPECT_EQ(*empty, "");

  // Pairs that the cache's cheap hash may put in one slot: the same length,
  // first, middle and last bytes, differing only elsewhere; short ones are
  // told apart by the cached head, long ones by the copy.
  const std::vector<std::pair<std::string, std::string>> pairs = {
      {"FAb2", "FBb2"},
      {"F1", "F2"},
      {"<F12", "<F13"},
      {"Times New Roman, bold x", "Times Nex Roman, bold x"},
      {std::string(40, 'a'), std::string(20, 'a') + 'b' + std::string(19, 'a')},
  };
  for (const auto& [first, second] : pairs) {
    const std::string* a = CStringPool::Intern(first);
    const std::string* b = CStringPool::Intern(second);
    EXPECT_NE(a, b) << first;
    EXPECT_EQ(*a, first);
    EXPECT_EQ(*b, second);
    EXPECT_EQ(CStringPool::Intern(first), a) << first;
    EXPECT_EQ(CStringPool::Intern(std::string(second)), b) << second;
  }
}

TEST(CStringPool, ThreadsGetTheSameCopies) {
  constexpr int kThreads = 4;
  constexpr int kTexts = 5000;  // more than a thread's cache holds
  std::vector<std::vector<const std::string*>> got(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t, &got] {
      for (int i = 0; i < kTexts; ++i)
        got[t].push_back(CStringPool::Intern("F" + std::to_string((i * 7 + t) % kTexts)));
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < kTexts; ++i) {
      const std::string text = "F" + std::to_string((i * 7 + t) % kTexts);
      ASSERT_EQ(*got[t][i], text);
      ASSERT_EQ(got[t][i], CStringPool::Intern(text));
    }
  }
}

}  // namespace
