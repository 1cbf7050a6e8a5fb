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

  // Pairs of one length that differ in a byte or two: short ones are told
  // apart by the words the cache samples from them, long ones by the copy.
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

TEST(CStringPool, TextsThatDifferInOneByteAnywhereGetCopiesOfTheirOwn) {
  // Short texts are told apart in the per-thread cache by a few words
  // read from them, which must hold every byte. Of the 256 texts that
  // differ in one byte only, some share a slot (all but surely: the cache
  // has 4096), for every length on either side of the words' sizes and
  // every place of that byte.
  std::vector<std::string> texts;
  for (size_t length = 1; length <= 20; ++length) {
    for (size_t at = 0; at < length; ++at) {
      for (int value = 0; value < 256; ++value) {
        std::string text(length, 'x');
        text[at] = static_cast<char>(value);
        texts.push_back(text);
      }
    }
  }
  for (int round = 0; round < 2; ++round) {
    for (const std::string& text : texts) ASSERT_EQ(*CStringPool::Intern(text), text) << "round " << round;
  }
}

TEST(CStringPool, RemembersWhetherATextHoldsALineBreak) {
  for (const std::string text : {"F12", "<F12 Bold", "", "a\rb", "\n", "Times New Roman\r\n"}) {
    const bool expected = text.find_first_of("\r\n") != std::string::npos;
    for (int round = 0; round < 2; ++round) {  // asked first, then answered from the cache
      const CStringPool::Interned got = CStringPool::InternNotingBreaks(text);
      EXPECT_EQ(*got.copy, text);
      EXPECT_EQ(got.hasLineBreak, expected) << "round " << round;
    }
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
