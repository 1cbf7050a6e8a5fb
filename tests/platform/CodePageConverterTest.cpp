// Converting between character sets with iconv, and the locale's own set.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

#include "platform/CodePageConverter.h"

TEST(CodePageConverter, ConvertsShiftJisToUtf8AndRefusesWhatItCannotConvert) {
  CCodePageConverter toUtf8(IconvNameOfCodePage(932), "UTF-8");
  ASSERT_TRUE(toUtf8.Usable());
  std::string out = "x";
  // 見出し; its second byte 0x5C is no backslash in Shift-JIS.
  ASSERT_TRUE(toUtf8.Convert("\x8c\xa9\x8fo\x82\xb5", out));
  EXPECT_EQ("x\xE8\xA6\x8B\xE5\x87\xBA\xE3\x81\x97", out);
  out = "x";
  ASSERT_TRUE(toUtf8.Convert("\x95\x5c", out));  // 表
  EXPECT_EQ("x\xE8\xA1\xA8", out);
  // 0x80 is no character of code page 932: nothing is appended.
  out = "x";
  EXPECT_FALSE(
      toUtf8.Convert("a\x80"
                     "b",
                     out));
  EXPECT_EQ("x", out);
  // A lead byte cut off at the end is no character either.
  EXPECT_FALSE(toUtf8.Convert("a\x82", out));

  CCodePageConverter toAscii(IconvNameOfCodePage(1252), "ANSI_X3.4-1968");
  out.clear();
  EXPECT_TRUE(toAscii.Convert("plain", out));
  EXPECT_FALSE(toAscii.Convert("caf\xe9", out));
  EXPECT_FALSE(CCodePageConverter("NO-SUCH-CHARSET", "UTF-8").Usable());
}

TEST(CodePageConverter, LocaleCharsetComesFromTheEnvironmentAndLeavesTheProcessLocale) {
  const char* saved = std::getenv("LC_ALL");
  const std::string savedValue = saved ? saved : "";
  setenv("LC_ALL", "C.UTF-8", 1);
  EXPECT_EQ("UTF-8", LocaleCharset());
  setenv("LC_ALL", "C", 1);
  EXPECT_EQ("ANSI_X3.4-1968", LocaleCharset());
  if (saved)
    setenv("LC_ALL", savedValue.c_str(), 1);
  else
    unsetenv("LC_ALL");
  EXPECT_STREQ("C", std::setlocale(LC_CTYPE, nullptr));
}
