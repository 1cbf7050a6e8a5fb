// Resource lookup by type and name.
#include <gtest/gtest.h>

#include "platform/Resources.h"

TEST(Resources, FindsByTypeAndNameIgnoringCase) {
  static const unsigned char a[] = {1, 2, 3};
  static const unsigned char b[] = {4};
  const ResourceEntry entries[] = {{"LexTable", "TYPESWAP", a, 3}, {"YaccTable", "TYPESWAP", b, 1}};
  CResourceModule module(entries);
  auto found = module.Find("lextable", "typeswap");
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(3u, found->size());
  EXPECT_EQ(4, module.Find("YaccTable", "TYPESWAP")->front());
  EXPECT_FALSE(module.Find("LexTable", "OTHER").has_value());
  EXPECT_FALSE(module.Find("Bitmap", "TYPESWAP").has_value());
}
