// The block array behind replacement lists: its blocks come from the heap
// first and from huge-page regions after, and indexing must run on across
// both kinds and from one region into the next.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "output/BlockArray.h"

namespace {

// Large elements in tiny blocks, so that a test reaches past the heap
// blocks into two regions with a few thousand elements.
struct Wide {
  int32_t value;
  std::array<char, 252> padding;
};
using CTinyBlocks = CBlockArray<Wide, 4>;
constexpr size_t kRegionElements = kHugePageSize / sizeof(Wide);

void ExpectSame(const CTinyBlocks& blocks, const std::vector<int32_t>& expected) {
  ASSERT_EQ(blocks.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    if (blocks[i].value != expected[i]) {
      FAIL() << "element " << i << ": " << blocks[i].value << ", expected " << expected[i];
    }
  }
}

TEST(BlockArrayTest, AppendsAcrossHeapBlocksAndRegions) {
  CTinyBlocks blocks;
  std::vector<int32_t> expected;
  EXPECT_TRUE(blocks.empty());
  for (int32_t i = 0; i < static_cast<int32_t>(kRegionElements + kRegionElements / 2); ++i) {
    blocks.push_back(Wide{i, {}});
    expected.push_back(i);
  }
  ExpectSame(blocks, expected);
}

TEST(BlockArrayTest, InsertsMoveLaterElementsAcrossBlockBorders) {
  CTinyBlocks blocks;
  std::vector<int32_t> expected;
  for (int32_t i = 0; i < static_cast<int32_t>(kRegionElements + 40); ++i) {
    blocks.push_back(Wide{i, {}});
    expected.push_back(i);
  }
  // At the front, at a heap block's border, where the regions start, and
  // at the end.
  for (size_t at : {size_t{0}, size_t{4}, size_t{32}, size_t{33}, expected.size()}) {
    blocks.insert(at, Wide{-1, {}});
    expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(at), -1);
  }
  ExpectSame(blocks, expected);
}

}  // namespace
