// The numeric order of the size list, and typed sizes.
#include <gtest/gtest.h>

#include "mapping/FontSizes.h"

namespace {

CUniqueTextList ListOf(const std::vector<std::string>& texts) {
  CUniqueTextList list;
  list.Assign(texts);
  return list;
}

}  // namespace

TEST(FontSizes, OrderByValueDroppingLaterEqualValues) {
  CUniqueTextList sizes = ListOf({"12", "10", "9", "10.0", "x", "10.5", "0"});
  OrderFontSizes(sizes);
  EXPECT_EQ((std::vector<std::string>{"x", "9", "10", "10.5", "12"}), sizes.ToVector());
  EXPECT_DOUBLE_EQ(12, FontSizeValue("12pt"));
  EXPECT_DOUBLE_EQ(0.5, FontSizeValue(".5"));
  EXPECT_DOUBLE_EQ(0, FontSizeValue(" 12"));
}

TEST(FontSizes, TypedSizesBetweenTwoAndTwoHundred) {
  for (const char* good : {"2", "200", "12", "12.", "10.5"}) EXPECT_TRUE(IsValidTypedSize(good)) << good;
  for (const char* bad : {"", "12a", "1.5", "0", "250", "200.5", ".", "1.2.5", "-5", " 12"}) {
    EXPECT_FALSE(IsValidTypedSize(bad)) << bad;
  }
}

TEST(FontSizes, TypedSizeGoesToItsNumericPlace) {
  CUniqueTextList sizes;
  EXPECT_TRUE(InsertFontSize(sizes, "12"));
  EXPECT_TRUE(InsertFontSize(sizes, "9"));
  EXPECT_TRUE(InsertFontSize(sizes, "14"));
  EXPECT_TRUE(InsertFontSize(sizes, "12.0"));  // after the equal value
  EXPECT_FALSE(InsertFontSize(sizes, "12"));
  EXPECT_EQ((std::vector<std::string>{"9", "12", "12.0", "14"}), sizes.ToVector());
}
