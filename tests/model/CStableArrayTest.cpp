// The stable array: elements found at their index across blocks of growing
// size, addresses that survive growth, and every element built once and
// destroyed once through truncation, copies and moves.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/CStableArray.h"
#include "platform/HugePages.h"

namespace {

// Counts the live objects, so that a leak or a double destruction shows.
struct Counted {
  static int live;
  explicit Counted(int v) : value(v) { ++live; }
  Counted(const Counted& other) : value(other.value) { ++live; }
  Counted& operator=(const Counted&) = default;
  ~Counted() { --live; }
  int value;
};
int Counted::live = 0;

// Small blocks, so that a few hundred elements span several of them.
using SmallArray = CStableArray<Counted, 4>;

void Fill(SmallArray& a, int from, int to) {
  for (int v = from; v < to; ++v) a.emplace_back(v);
}

}  // namespace

TEST(CStableArray, ElementsKeepIndexAndAddressAcrossGrowingBlocks) {
  {
    SmallArray a;
    std::vector<const Counted*> addresses;
    for (int v = 0; v < 1000; ++v) addresses.push_back(&a.emplace_back(v));
    ASSERT_EQ(1000u, a.size());
    for (int v = 0; v < 1000; ++v) {
      EXPECT_EQ(v, a[v].value) << v;
      EXPECT_EQ(addresses[v], &a[v]) << v;
    }
    EXPECT_EQ(1000, Counted::live);
  }
  EXPECT_EQ(0, Counted::live);
}

TEST(CStableArray, TruncateDestroysTheTailAndGrowsAgainFromThere) {
  SmallArray a;
  Fill(a, 0, 100);
  const Counted* kept = &a[10];
  for (size_t count : {size_t{60}, size_t{28}, size_t{27}, size_t{11}}) {
    a.truncate(count);
    EXPECT_EQ(count, a.size());
    EXPECT_EQ(static_cast<int>(count), Counted::live);
  }
  EXPECT_EQ(kept, &a[10]);
  Fill(a, 11, 300);
  for (int v = 0; v < 300; ++v) EXPECT_EQ(v, a[v].value) << v;
  a.truncate(500);  // longer than the array: nothing changes
  EXPECT_EQ(300u, a.size());
  a.clear();
  EXPECT_TRUE(a.empty());
  EXPECT_EQ(0, Counted::live);
  Fill(a, 0, 5);
  EXPECT_EQ(4, a[4].value);
  a.clear();
}

TEST(CStableArray, CopiesAreDeepAndMovesTakeTheElements) {
  {
    SmallArray a;
    Fill(a, 0, 50);
    SmallArray copy(a);
    ASSERT_EQ(50u, copy.size());
    EXPECT_NE(&a[0], &copy[0]);
    EXPECT_EQ(49, copy[49].value);
    EXPECT_EQ(100, Counted::live);

    const Counted* first = &a[0];
    SmallArray moved(std::move(a));
    EXPECT_EQ(first, &moved[0]);
    EXPECT_TRUE(a.empty());  // NOLINT(bugprone-use-after-move): moved-from state is part of the contract
    Fill(a, 0, 3);           // a moved-from array is usable
    EXPECT_EQ(2, a[2].value);

    copy = moved;
    EXPECT_EQ(50u, copy.size());
    moved = std::move(a);
    EXPECT_EQ(3u, moved.size());
    EXPECT_EQ(53, Counted::live);
  }
  EXPECT_EQ(0, Counted::live);
}

TEST(CStableArray, LargeBlocksHoldElementsAtTheirEnds) {
  // Enough strings for blocks beyond the size that goes to huge pages.
  CStableArray<std::string, 256> a;
  const size_t count = 3 * kHugePageSize / sizeof(std::string);
  for (size_t i = 0; i < count; ++i) a.emplace_back(std::to_string(i));
  for (size_t i : {size_t{0}, size_t{255}, size_t{256}, count / 2, count - 1}) EXPECT_EQ(std::to_string(i), a[i]);
  a.truncate(count / 3);
  EXPECT_EQ(std::to_string(count / 3 - 1), a[count / 3 - 1]);
}

namespace {

// Large elements in tiny blocks, so that a few thousand elements reach
// past the heap blocks onto huge pages.
struct Wide {
  int32_t value;
  std::array<char, 252> padding;
};
using WideArray = CStableArray<Wide, 4>;
constexpr size_t kRegionElements = kHugePageSize / sizeof(Wide);

void ExpectSame(const WideArray& blocks, const std::vector<int32_t>& expected) {
  ASSERT_EQ(blocks.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    if (blocks[i].value != expected[i]) {
      FAIL() << "element " << i << ": " << blocks[i].value << ", expected " << expected[i];
    }
  }
}

}  // namespace

TEST(CStableArray, AppendsAcrossHeapBlocksAndHugePages) {
  WideArray blocks;
  std::vector<int32_t> expected;
  EXPECT_TRUE(blocks.empty());
  for (int32_t i = 0; i < static_cast<int32_t>(kRegionElements + kRegionElements / 2); ++i) {
    blocks.emplace_back(Wide{i, {}});
    expected.push_back(i);
  }
  ExpectSame(blocks, expected);
}

TEST(CStableArray, InsertsMoveLaterElementsAcrossBlockBorders) {
  WideArray blocks;
  std::vector<int32_t> expected;
  for (int32_t i = 0; i < static_cast<int32_t>(kRegionElements + 40); ++i) {
    blocks.emplace_back(Wide{i, {}});
    expected.push_back(i);
  }
  // At the front, at block borders (4, 12, 28), at the last element, and at
  // the end.
  for (size_t at : {size_t{0}, size_t{4}, size_t{12}, size_t{28}, expected.size() - 1, expected.size()}) {
    blocks.insert(at, Wide{-1, {}});
    expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(at), -1);
  }
  ExpectSame(blocks, expected);
}

TEST(CStableArray, InsertBuildsAndDestroysEveryElementOnce) {
  {
    SmallArray a;
    Fill(a, 0, 10);
    a.insert(3, Counted(-1));
    a.insert(11, Counted(-2));
    ASSERT_EQ(12u, a.size());
    EXPECT_EQ(-1, a[3].value);
    EXPECT_EQ(3, a[4].value);
    EXPECT_EQ(9, a[10].value);
    EXPECT_EQ(-2, a[11].value);
    EXPECT_EQ(12, Counted::live);
  }
  EXPECT_EQ(0, Counted::live);
}

TEST(CStableArray, DrainHandsOverEachElementInOrderAndEndsEmptyEvenWhenTakingFails) {
  {
    SmallArray a;
    Fill(a, 0, 100);
    std::vector<int> taken;
    a.drain([&](Counted&& c) {
      taken.push_back(c.value);
      // Each is handed over before the next, and destroyed once taken.
      EXPECT_EQ(100 - static_cast<int>(taken.size()) + 1, Counted::live);
    });
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(0, Counted::live);
    ASSERT_EQ(100u, taken.size());
    for (int v = 0; v < 100; ++v) EXPECT_EQ(v, taken[static_cast<size_t>(v)]);
    Fill(a, 0, 10);  // usable again
    EXPECT_EQ(9, a[9].value);
  }
  EXPECT_EQ(0, Counted::live);

  SmallArray b;
  Fill(b, 0, 50);
  int calls = 0;
  EXPECT_THROW(b.drain([&](Counted&&) {
    if (++calls == 20) throw std::runtime_error("full");
  }),
               std::runtime_error);
  EXPECT_EQ(20, calls);
  EXPECT_TRUE(b.empty());
  EXPECT_EQ(0, Counted::live);
}

TEST(CStableArray, BlocksBelowAHugePageShareOneRegionThroughTruncationAndGrowth) {
  // Wide elements in blocks of 4: blocks of 128 KB to 1 MB share a region.
  constexpr size_t kSharedStart = (128 << 10) / sizeof(Wide) - 4;  // elements before the 128 KB block
  WideArray blocks;
  std::vector<int32_t> expected;
  const auto grow = [&](size_t to) {
    while (expected.size() < to) {
      blocks.emplace_back(Wide{static_cast<int32_t>(expected.size()), {}});
      expected.push_back(static_cast<int32_t>(expected.size()));
    }
  };
  grow(kRegionElements + 10);
  // The shared blocks follow each other in one region of a huge page.
  const auto* first = reinterpret_cast<const char*>(&blocks[kSharedStart]);
  const auto* last = reinterpret_cast<const char*>(&blocks[kRegionElements - 5]);
  EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(first) % kHugePageSize);
  EXPECT_LT(static_cast<size_t>(last - first), kHugePageSize);
  EXPECT_EQ(static_cast<size_t>(last - first), (kRegionElements - 5 - kSharedStart) * sizeof(Wide));
  // Back into the middle of the region, below it, and up again.
  for (size_t count : {kSharedStart + 600, kSharedStart + 1, kSharedStart, size_t{3}}) {
    blocks.truncate(count);
    expected.resize(count);
    ExpectSame(blocks, expected);
    grow(count + 2000);
    ExpectSame(blocks, expected);
    blocks.truncate(count);
    expected.resize(count);
  }
  grow(kRegionElements + 10);
  ExpectSame(blocks, expected);
}
