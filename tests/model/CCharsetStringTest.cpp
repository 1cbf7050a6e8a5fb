// Double-byte aware lengths, searches and extraction of CCharsetString.
#include <gtest/gtest.h>

#include "model/CCharsetString.h"

TEST(CCharsetString, CodePagesMapToTheirSets) {
  EXPECT_EQ(CharsetSingleByte, CharsetIdOfCodePage(1252));
  EXPECT_EQ(CharsetSingleByte, CharsetIdOfCodePage(874));
  EXPECT_EQ(CharsetSingleByte, CharsetIdOfCodePage(1361));
  EXPECT_EQ(CharsetShiftJis, CharsetIdOfCodePage(932));
  EXPECT_EQ(Charset936, CharsetIdOfCodePage(936));
  EXPECT_EQ(Charset949, CharsetIdOfCodePage(949));
  EXPECT_EQ(Charset950, CharsetIdOfCodePage(950));
  EXPECT_EQ(CharsetOther, CharsetIdOfCodePage(1259));
  EXPECT_EQ(CharsetOther, CharsetIdOfCodePage(65001));
  EXPECT_FALSE(IsDoubleByteCharset(CharsetSingleByte));
  EXPECT_TRUE(IsDoubleByteCharset(Charset950));
  // Code page 936 in this set starts its lead bytes at 0xA1.
  EXPECT_FALSE(LeadBytesOfCharset(Charset936)[0x81]);
  EXPECT_TRUE(LeadBytesOfCharset(Charset936)[0xA1]);
}

TEST(CCharsetString, SystemSetFollowsTheProcessCodePage) {
  int32_t saved = ProcessCodePage();
  SetProcessCodePage(932);
  EXPECT_TRUE(IsDoubleByteCharset(CharsetSystem));
  EXPECT_EQ(2, CCharsetString("\x82\xA0x", CharsetSystem, true).GetLength());
  SetProcessCodePage(1252);
  EXPECT_FALSE(IsDoubleByteCharset(CharsetSystem));
  EXPECT_EQ(3, CCharsetString("\x82\xA0x", CharsetSystem, true).GetLength());
  SetProcessCodePage(saved);
}

TEST(CCharsetString, CountsCharactersOnlyWhenAskedAndDoubleByte) {
  const std::string sjis =
      "a\x82\xA0"
      "b\x83";  // a, one kanji, b, a lone lead byte at the end
  EXPECT_EQ(5, CCharsetString(sjis, CharsetShiftJis, false).GetLength());
  EXPECT_EQ(4, CCharsetString(sjis, CharsetShiftJis, true).GetLength());
  EXPECT_EQ(4, CCharsetString(sjis, CharsetShiftJis, false).CharCount());
  EXPECT_EQ(5, CCharsetString(sjis, CharsetSingleByte, true).GetLength());
}

TEST(CCharsetString, FindOneOfSkipsTrailBytes) {
  // 0x82 0x5C is one character whose trail byte is a backslash.
  const std::string text = "x\x82\x5Cy\\";
  CCharsetString bytes(text, CharsetShiftJis, false);
  EXPECT_EQ(4, bytes.FindOneOf("\\"));
  CCharsetString chars(text, CharsetShiftJis, true);
  EXPECT_EQ(3, chars.FindOneOf("\\"));
  EXPECT_EQ(1, chars.FindOneOf("\x82\x5C"));
  EXPECT_EQ(-1, chars.FindOneOf("z"));
  EXPECT_EQ(-1, CCharsetString().FindOneOf("z"));
}

TEST(CCharsetString, ExtractsInItsOwnUnit) {
  CCharsetString chars(
      "a\x82\xA0"
      "bc",
      CharsetShiftJis, true);
  EXPECT_EQ("a\x82\xA0", chars.Left(2).GetText());
  EXPECT_EQ(
      "\x82\xA0"
      "bc",
      chars.Right(3).GetText());
  EXPECT_EQ(
      "\x82\xA0"
      "b",
      chars.Mid(1, 2).GetText());
  EXPECT_EQ("bc", chars.Mid(2).GetText());
  EXPECT_EQ("\x82\xA0", chars.GetAt(1));
  EXPECT_EQ("", chars.GetAt(4));
  EXPECT_TRUE(chars.Mid(1).GetCountChars());

  CCharsetString bytes(
      "a\x82\xA0"
      "bc",
      CharsetShiftJis, false);
  EXPECT_EQ("a\x82", bytes.Left(2).GetText());
  EXPECT_EQ("bc", bytes.Right(2).GetText());
  EXPECT_EQ("abc", CCharsetString("abc").Right(7).GetText());
  EXPECT_EQ("", CCharsetString("abc").Mid(5).GetText());
}

TEST(CCharsetString, AssignmentKeepsTheSet) {
  CCharsetString s("x", CharsetShiftJis, true);
  s = std::string_view("yz");
  s += "!";
  EXPECT_EQ("yz!", s.GetText());
  EXPECT_EQ(CharsetShiftJis, s.GetCharset());
  EXPECT_TRUE(s.GetCountChars());
}
