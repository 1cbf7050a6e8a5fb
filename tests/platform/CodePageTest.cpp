// The process code page and the lead-byte tests of the code pages we know.
#include <gtest/gtest.h>

#include "platform/CodePage.h"

TEST(CodePage, LeadBytesFollowTheWindowsRanges) {
  LeadByteTable sjis = LeadBytesOf(932);
  EXPECT_FALSE(sjis[0x80]);
  EXPECT_TRUE(sjis[0x81]);
  EXPECT_TRUE(sjis[0x9F]);
  EXPECT_FALSE(sjis[0xA0]);
  EXPECT_FALSE(sjis[0xDF]);  // half-width katakana are single bytes
  EXPECT_TRUE(sjis[0xE0]);
  EXPECT_TRUE(sjis[0xFC]);
  EXPECT_FALSE(sjis[0xFD]);

  for (int cp : {936, 949, 950}) {
    LeadByteTable t = LeadBytesOf(cp);
    EXPECT_FALSE(t[0x80]) << cp;
    EXPECT_TRUE(t[0x81]) << cp;
    EXPECT_TRUE(t[0xFE]) << cp;
    EXPECT_FALSE(t[0xFF]) << cp;
  }
  for (int cp : {1252, 1250, 437, 65001}) {
    LeadByteTable t = LeadBytesOf(cp);
    for (int b = 0; b < 256; ++b) ASSERT_FALSE(t[b]) << cp << " " << b;
  }
}

TEST(CodePage, SettingTheProcessCodePageSwitchesTheTest) {
  int32_t before = ProcessCodePage();
  SetProcessCodePage(932);
  EXPECT_EQ(932, ProcessCodePage());
  EXPECT_TRUE(IsLeadByte(0x82));
  SetProcessCodePage(1252);
  EXPECT_FALSE(IsLeadByte(0x82));
  SetProcessCodePage(before);
}

TEST(CodePage, ParsesOnlyPositiveNumbers) {
  int32_t cp = 0;
  EXPECT_TRUE(ParseCodePage("932", cp));
  EXPECT_EQ(932, cp);
  EXPECT_FALSE(ParseCodePage("", cp));
  EXPECT_FALSE(ParseCodePage("0", cp));
  EXPECT_FALSE(ParseCodePage("-5", cp));
  EXPECT_FALSE(ParseCodePage("93a", cp));
  EXPECT_FALSE(ParseCodePage("99999999999", cp));
  EXPECT_FALSE(ParseCodePage(nullptr, cp));
}

TEST(CodePage, KnownCodePagesAreThoseTheSystemConverts) {
  for (int32_t cp : {932, 936, 949, 950, 1250, 1252}) EXPECT_TRUE(IsKnownCodePage(cp)) << cp;
  EXPECT_FALSE(IsKnownCodePage(99999));
  ::setenv("TYPESWAP_CODEPAGE", "abc", 1);
  EXPECT_FALSE(CodePageFromEnvironment().has_value());
  ::setenv("TYPESWAP_CODEPAGE", "932", 1);
  EXPECT_EQ(932, CodePageFromEnvironment());
  ::unsetenv("TYPESWAP_CODEPAGE");
  EXPECT_EQ(1252, CodePageFromEnvironment());
}
