// CT_UTF and CT_StringConvert: UTF-7 and UTF-8 coder states across calls,
// code pages through iconv, and the string forms.
#include <gtest/gtest.h>

#include <string>

#include "CT_CString.h"
#include "CT_ErrorManager.h"
#include "CT_StringConvert.h"
#include "CT_UString.h"
#include "CT_UTF.h"

namespace {

std::string ToUtf7(const std::u16string& text) {
  CT_CString out;
  CT_StringConvert::si_WideToUTF7(&out, text.c_str(), uint32_t(text.size()));
  return out.qccz_Get();
}

std::u16string FromUtf7(const std::string& text) {
  CT_UString out;
  CT_StringConvert::si_UTF7ToWide(&out, text.c_str(), uint32_t(text.size()));
  return out.qcuz_Get();
}

TEST(Utf7Test, EncodesRuns) {
  EXPECT_EQ(ToUtf7(u"A+B"), "A+-B");
  EXPECT_EQ(ToUtf7(u"\u00e9"), "+AOk-");
  EXPECT_EQ(ToUtf7(u"\u00e9 x"), "+AOk- x");  // every run is closed with "-"
  EXPECT_EQ(ToUtf7(u"Hi Mom -\u263a-!"), "Hi Mom -+Jjo--+ACE-");
  EXPECT_EQ(ToUtf7(u"\u65e5\u672c\u8a9e"), "+ZeVnLIqe-");
  EXPECT_EQ(ToUtf7(u"a~b"), "a+AH4-b");  // optional characters are shifted too
  EXPECT_EQ(ToUtf7(u""), "");
}

TEST(Utf7Test, DecodesRuns) {
  EXPECT_EQ(FromUtf7("A+-B"), u"A+B");
  EXPECT_EQ(FromUtf7("+AOk-"), u"\u00e9");
  EXPECT_EQ(FromUtf7("+AOk x"), u"\u00e9 x");  // a non-base64 character ends the run
  EXPECT_EQ(FromUtf7("+ZeVnLIqe-!"), u"\u65e5\u672c\u8a9e!");
  for (const char16_t* text : {u"a+b-c", u"\u00fcber 100\u20ac", u"\U0001F600 ok", u"+-+"})
    EXPECT_EQ(FromUtf7(ToUtf7(text)), text);
}

TEST(Utf7Test, StatesCarryOverBetweenCalls) {
  char out[32] = {};
  CT_UTF::sv_WideToUTF7Init();
  int32_t n = CT_UTF::si_WideToUTF7(out, u"\u00e9", 1);
  n += CT_UTF::si_WideToUTF7(out + n, u"\u00e9", 1);  // the run goes on
  n += CT_UTF::si_WideToUTF7Exit(out + n);
  EXPECT_EQ(std::string(out, size_t(n)), "+AOkA6Q-");
  EXPECT_EQ(out[n], '\0');

  char16_t units[8] = {};
  CT_UTF::sv_UTF7ToWideInit();
  int32_t m = CT_UTF::si_UTF7ToWide(units, "+AO", 3);
  EXPECT_EQ(m, 0);
  m += CT_UTF::si_UTF7ToWide(units + m, "k-a", 3);
  EXPECT_EQ(std::u16string(units, size_t(m)), u"\u00e9a");
}

TEST(Utf8Test, SequencesSplitBetweenCalls) {
  const char text[] = "\xe6\x97\xa5";  // 日
  char16_t whole[4] = {}, split[4] = {};
  CT_UTF::sv_UTF8ToWideInit();
  ASSERT_EQ(CT_UTF::si_UTF8ToWide(whole, text, 3), 1);
  CT_UTF::sv_UTF8ToWideInit();
  int32_t n = CT_UTF::si_UTF8ToWide(split, text, 1);
  n += CT_UTF::si_UTF8ToWide(split + n, text + 1, 2);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(split[0], whole[0]);
  EXPECT_EQ(whole[0], u'\u65e5');
}

TEST(Utf8Test, MalformedAndLongSequencesMakeProgress) {
  CT_UString out;
  CT_StringConvert::si_UTF8ToWide(&out,
                                  "a\x80"
                                  "b\xc3",
                                  -1);  // stray and cut
  EXPECT_EQ(std::u16string(out.qcuz_Get()), u"a\ufffdb");
  CT_StringConvert::si_UTF8ToWide(&out, "\xf0\x9f\x98\x80!", -1);
  EXPECT_EQ(std::u16string(out.qcuz_Get()), u"\U0001F600!");
  CT_StringConvert::si_UTF8ToWide(&out, "\xff\xfe x", -1);
  EXPECT_EQ(std::u16string(out.qcuz_Get()), u"\ufffd\ufffd x");
  // A sequence cut at the end of one text does not leak into the next one.
  CT_StringConvert::si_UTF8ToWide(&out, "z", -1);
  EXPECT_EQ(std::u16string(out.qcuz_Get()), u"z");

  char bytes[16] = {};
  EXPECT_EQ(CT_UTF::si_WideToUTF8(bytes, u"a\u00e9\u65e5", 0xFFFFFFFFu), 6);
  EXPECT_STREQ(bytes, "a\xc3\xa9\xe6\x97\xa5");
}

TEST(StringConvertTest, CodePagesThroughIconv) {
  char16_t wide[16] = {};
  EXPECT_EQ(CT_StringConvert::si_MultiToWide(wide, "\x93\xfa\x96\x7b", 4, 932), 2);
  EXPECT_EQ(std::u16string(wide, 2), u"\u65e5\u672c");
  EXPECT_EQ(CT_StringConvert::si_MultiToWide(wide, "\xc6\xfc", 2, 51932), 1);  // EUC-JP
  EXPECT_EQ(wide[0], u'\u65e5');
  EXPECT_EQ(CT_StringConvert::si_MultiToWide(wide, "\xe0", 1, 28595), 1);  // ISO-8859-5
  EXPECT_EQ(wide[0], u'\u0440');
  EXPECT_EQ(CT_StringConvert::si_MultiToWide(wide, "\x80", 1, 1252), 1);
  EXPECT_EQ(wide[0], u'\u20ac');
  // -1 takes the terminating zero along and counts it.
  EXPECT_EQ(CT_StringConvert::si_MultiToWide(wide, "ab", -1, 1252), 3);
  EXPECT_EQ(wide[2], 0);
  // A code page without an encoding is read as the process code page.
  EXPECT_EQ(CT_StringConvert::si_MultiToWide(wide, "\x80", 1, 12345), 1);
  EXPECT_EQ(wide[0], u'\u20ac');
  EXPECT_EQ(CT_StringConvert::sn_ResolveCodePage(0), 1252u);
  EXPECT_EQ(CT_StringConvert::si_MultiToWide(wide, "x", 0, 932), 0);
  EXPECT_EQ(wide[0], 0);  // a zero is written first

  char bytes[16] = {};
  bool usedDefault = true;
  EXPECT_EQ(CT_StringConvert::si_WideToMulti(bytes, u"a\u65e5", 2, 1252, "#", &usedDefault), 2);
  EXPECT_EQ(std::string(bytes, 2), "a#");
  EXPECT_TRUE(usedDefault);
  EXPECT_EQ(CT_StringConvert::si_WideToMulti(bytes, u"\u65e5", 1, 932, nullptr, &usedDefault), 2);
  EXPECT_EQ(std::string(bytes, 2), "\x93\xfa");
  EXPECT_FALSE(usedDefault);
  EXPECT_EQ(CT_StringConvert::si_WideToMulti(bytes, u"\u65e5", 1, 20127), 1);
  EXPECT_EQ(bytes[0], '?');
  EXPECT_EQ(CT_StringConvert::sc_WideToMulti(u'\u00e9', 1252), '\xe9');
  EXPECT_EQ(CT_StringConvert::sus_MultiToWide('\xe9', 1250), u'\u00e9');
}

// The programs hand their own code page (option, environment or job) to the
// library; code page 0 and ANSI conversions follow it as it changes.
TEST(StringConvertTest, CodePageZeroFollowsTheProgramsCodePage) {
  static uint32_t programCodePage = 932;
  CT_StringConvert::sv_SetProcessCodePageSource([] { return programCodePage; });
  char16_t wide[4] = {};
  EXPECT_EQ(CT_StringConvert::sn_ResolveCodePage(0), 932u);
  EXPECT_EQ(CT_StringConvert::si_MultiToWideANSI(wide, "\x93\xfa", 2), 1);
  EXPECT_EQ(wide[0], u'\u65e5');
  programCodePage = 1252;
  EXPECT_EQ(CT_StringConvert::si_MultiToWideANSI(wide, "\x93\xfa", 2), 2);
  EXPECT_EQ(wide[0], u'\u201c');
  CT_StringConvert::sv_SetProcessCodePageSource(nullptr);
  EXPECT_EQ(CT_StringConvert::sn_ResolveCodePage(0), 1252u);
}

TEST(StringConvertTest, Utf8AndUtf7CodePagesUseTheOwnCoders) {
  // The own UTF-8 encoder writes a surrogate pair as two 3-byte sequences,
  // where iconv would write one 4-byte sequence.
  char bytes[16] = {};
  EXPECT_EQ(CT_StringConvert::si_WideToMulti(bytes, u"\U0001F600", 2, 65001), 6);
  EXPECT_EQ(CT_StringConvert::si_WideToMulti(bytes, u"ab", -1, 65001), 3);
  EXPECT_EQ(CT_StringConvert::si_WideToMulti(bytes, u"+", 1, 65000), 2);
  EXPECT_STREQ(bytes, "+-");
  char16_t wide[8] = {};
  EXPECT_EQ(CT_StringConvert::si_MultiToWide(wide, "+AOk-", 5, 65000), 1);
  EXPECT_EQ(wide[0], u'\u00e9');
  EXPECT_EQ(CT_StringConvert::si_MultiToWide(wide, "\xc3\xa9", 2, 65001), 1);
  EXPECT_EQ(wide[0], u'\u00e9');
}

TEST(StringConvertTest, EmptyTextsAreNoFailure) {
  CT_ErrorManager* errors = CT_ErrorManager::spco_Get();
  ASSERT_NE(errors, nullptr);
  errors->v_ClearError();
  char bytes[4] = {};
  char16_t wide[4] = {};
  EXPECT_EQ(CT_StringConvert::si_WideToUTF8(bytes, u"", 0xFFFFFFFFu), 0);
  EXPECT_EQ(CT_StringConvert::si_WideToUTF7(bytes, u"", 0), 0);
  EXPECT_EQ(CT_StringConvert::si_WideToMulti(bytes, u"", 0, 1252), 0);
  EXPECT_EQ(CT_StringConvert::si_UTF8ToWide(wide, "", 0xFFFFFFFFu), 0);
  EXPECT_FALSE(errors->b_IsSetError());
}

TEST(StringConvertTest, StringForms) {
  CT_UString wide;
  EXPECT_EQ(CT_StringConvert::si_MultiToWide(&wide, "caf\xe9", -1, 1252), 4);
  EXPECT_EQ(std::u16string(wide.qcuz_Get()), u"caf\u00e9");
  EXPECT_EQ(wide.vn_GetLength(), 4u);
  CT_CString narrow(932);
  CT_UString source(u"\u65e5");
  EXPECT_EQ(CT_StringConvert::si_WideToMulti(&narrow, &source), 2);
  EXPECT_STREQ(narrow.qccz_Get(), "\x93\xfa");
  CT_UString again;
  CT_StringConvert::si_MultiToWide(&again, &narrow);
  EXPECT_EQ(std::u16string(again.qcuz_Get()), u"\u65e5");
  CT_CString utf8;
  CT_StringConvert::si_WideToUTF8(&utf8, u"\u00e9", -1);
  EXPECT_STREQ(utf8.qccz_Get(), "\xc3\xa9");
  EXPECT_EQ(utf8.n_GetCodePage(), 65001u);
}

}  // namespace
