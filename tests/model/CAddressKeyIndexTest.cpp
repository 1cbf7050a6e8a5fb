// Numbering keys of shared-copy addresses: first met, first numbered, and
// equal keys found again however the table grew or its hashes collide.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/CAddressKeyIndex.h"

namespace {

struct Pair {
  const std::string* a;
  const std::string* b;
  bool operator==(const Pair&) const = default;
  friend uint64_t HashOf(const Pair& key) { return HashOfParts(key.a, key.b); }
};

// Every key in one bucket: each lookup walks the probe sequence.
struct Colliding {
  int value;
  bool operator==(const Colliding&) const = default;
  friend uint64_t HashOf(const Colliding&) { return 7; }
};

TEST(CAddressKeyIndex, NumbersKeysInTheOrderFirstMetAcrossGrowth) {
  std::vector<std::string> texts(300, "x");
  CAddressKeyIndex<Pair> index;
  // Keys (a, b) and (b, a) differ: the order of the parts counts.
  for (size_t i = 0; i + 1 < texts.size(); ++i) {
    const auto [number, added] = index.Insert({&texts[i], &texts[i + 1]});
    EXPECT_TRUE(added);
    EXPECT_EQ(number, i);
  }
  for (size_t i = 0; i + 1 < texts.size(); ++i) {
    EXPECT_EQ(index.Insert({&texts[i], &texts[i + 1]}), std::make_pair(static_cast<uint32_t>(i), false));
    EXPECT_TRUE(index.Insert({&texts[i + 1], &texts[i]}).second);
  }
  EXPECT_EQ(index.Count(), 2 * (texts.size() - 1));
  EXPECT_EQ(index[5], (Pair{&texts[5], &texts[6]}));
}

TEST(CAddressKeyIndex, FindsKeysWhoseHashesAllCollide) {
  CAddressKeyIndex<Colliding> index;
  for (int i = 0; i < 100; ++i) EXPECT_EQ(index.Insert({i}).first, static_cast<uint32_t>(i));
  for (int i = 99; i >= 0; --i) EXPECT_EQ(index.Insert({i}), std::make_pair(static_cast<uint32_t>(i), false));
}

}  // namespace
