// The recovery's token set: membership of small and other ids, unions, and
// the fixed growth steps.
#include <gtest/gtest.h>

#include "reader/SSException.h"
#include "reader/SSSetArray.h"

TEST(SSSetArray, HoldsEachIdOnceWhateverItsRange) {
  SSSetArray set;
  EXPECT_TRUE(set.Empty());
  for (int32_t id : {5, -1, 300, 5, -1, -2, 255, 256}) set.Add(id);
  EXPECT_EQ(6u, set.Size());
  for (int32_t id : {5, -1, 300, -2, 255, 256}) EXPECT_TRUE(set.Contains(id)) << id;
  for (int32_t id : {0, 4, 254, 301, -3}) EXPECT_FALSE(set.Contains(id)) << id;
}

TEST(SSSetArray, UnionAddsWhatIsMissing) {
  SSSetArray a, b;
  for (int32_t id : {1, 2, 900}) a.Add(id);
  for (int32_t id : {2, 3, 900, -1}) b.Add(id);
  a.AddAll(b);
  EXPECT_EQ(5u, a.Size());
  for (int32_t id : {1, 2, 3, 900, -1}) EXPECT_TRUE(a.Contains(id)) << id;
  a.AddAll(SSSetArray());
  EXPECT_EQ(5u, a.Size());
}

TEST(SSSetArray, FullWhenItMayNotGrow) {
  SSSetArray fixed(2, 0), other;
  fixed.Add(1);
  fixed.Add(2);
  fixed.Add(2);  // already there: no room needed
  try {
    fixed.Add(3);
    FAIL() << "a third id fits a set of two";
  } catch (const SSException& e) {
    EXPECT_STREQ("SSSetArray0001e: Set full", e.what());
  }
  other.Add(7);
  EXPECT_THROW(fixed.AddAll(other), SSException);

  SSSetArray growing(1, 1);
  for (int32_t id = 0; id < 100; ++id) growing.Add(id * 7);
  EXPECT_EQ(100u, growing.Size());
}
