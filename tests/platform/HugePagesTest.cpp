// Huge-page regions: usable to their last byte whatever their size, and
// large ones aligned so that the system can back them with huge pages.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/HugePages.h"

TEST(HugePages, RegionsOfEverySizeAreUsableToTheirEnds) {
  for (size_t bytes :
       {size_t{1}, size_t{4096}, kHugePageSize - 1, kHugePageSize, kHugePageSize + 12345, 3 * kHugePageSize}) {
    auto* region = static_cast<unsigned char*>(AllocateHugePages(bytes));
    ASSERT_NE(nullptr, region) << bytes;
    EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(region) % __STDCPP_DEFAULT_NEW_ALIGNMENT__) << bytes;
    std::memset(region, 0xA5, bytes);
    EXPECT_EQ(0xA5, region[0]);
    EXPECT_EQ(0xA5, region[bytes - 1]);
    FreeHugePages(region, bytes);
  }
  FreeHugePages(nullptr, kHugePageSize);  // nothing to free
}

#if defined(__linux__)
TEST(HugePages, LargeRegionsStartOnAHugePage) {
  void* region = AllocateHugePages(kHugePageSize + 1);
  EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(region) % kHugePageSize);
  FreeHugePages(region, kHugePageSize + 1);
}
#endif

TEST(HugePages, ContainersGrowAcrossTheLargeSize) {
  std::vector<uint32_t, CHugePageAllocator<uint32_t>> values;
  const uint32_t count = 3 * kHugePageSize / sizeof(uint32_t);
  for (uint32_t i = 0; i < count; ++i) values.push_back(i);
  EXPECT_EQ(count - 1, values.back());
  values.resize(10);
  values.shrink_to_fit();
  EXPECT_EQ(9u, values.back());
}
