// The lexer's mode stack: runs of one mode and changes of mode pop back in
// the order they were pushed.
#include <gtest/gtest.h>

#include "reader/SSLexModeStack.h"

TEST(SSLexModeStack, PopsRunsAndChangesInPushOrder) {
  SSLexModeStack<uint32_t> stack;
  EXPECT_TRUE(stack.Empty());
  // 0, then 3 three times, then 5, then 3 again: the second 3 is a run of
  // its own and must not join the first.
  for (uint32_t mode : {0u, 3u, 3u, 3u, 5u, 3u}) stack.Push(mode);
  for (uint32_t mode : {3u, 5u, 3u, 3u, 3u, 0u}) {
    ASSERT_FALSE(stack.Empty());
    EXPECT_EQ(mode, stack.Top());
    stack.Pop();
  }
  EXPECT_TRUE(stack.Empty());
  // Emptied, it starts again from nothing.
  stack.Push(7);
  EXPECT_EQ(7u, stack.Top());
}

TEST(SSLexModeStack, DeepNestingComesBackToEachLevel) {
  SSLexModeStack<uint32_t> stack;
  stack.Push(0);
  constexpr int kDepth = 100000;
  for (int i = 0; i < kDepth; ++i) {
    stack.Push(2);
    if (i % 1000 == 0) stack.Push(4);  // a change of mode now and then
  }
  for (int i = kDepth - 1; i >= 0; --i) {
    if (i % 1000 == 0) {
      EXPECT_EQ(4u, stack.Top());
      stack.Pop();
    }
    ASSERT_EQ(2u, stack.Top()) << i;
    stack.Pop();
  }
  EXPECT_EQ(0u, stack.Top());
  stack.Pop();
  EXPECT_TRUE(stack.Empty());
}
