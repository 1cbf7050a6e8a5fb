// CT_ErrorManager, CT_LoadString, CT_OS and CT_Forum.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <thread>

#include "CT_CString.h"
#include "CT_ErrorManager.h"
#include "CT_Exit.h"
#include "CT_Forum.h"
#include "CT_Init.h"
#include "CT_LoadString.h"
#include "CT_OS.h"
#include "CT_UString.h"
#include "CleanLineBreaks.h"

namespace {

std::u16string Message(CT_ErrorManager* m) { return m->qcuz_GetErrorMessage(); }

class ErrorManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    errors = CT_ErrorManager::spco_Get();
    ASSERT_NE(errors, nullptr);
    Clear();
    module = CT_LoadString::spo_RegisterModule({{1, "Caption"}, {7, "File %hs not found (%d)"}, {8, "caf\xe9 %s"}});
    CT_ErrorManager::sv_SetInstance(module);
  }
  void TearDown() override {
    Clear();
    CT_ErrorManager::sv_SetInstance(nullptr);
    CT_ErrorManager::sv_SetMessageBox(nullptr);
  }
  void Clear() {
    while (errors->b_IsSetError() || errors->b_IsHoldError() || errors->n_GetErrorCode()) errors->v_ClearError();
  }

  CT_ErrorManager* errors = nullptr;
  CT_Module* module = nullptr;
};

TEST_F(ErrorManagerTest, TheFirstErrorStandsUntilCleared) {
  EXPECT_FALSE(errors->b_IsSetError());
  errors->v_SetError(5, nullptr, 7, "a.doc", 3);
  errors->v_SetError(6, u"second %d", 2);
  EXPECT_TRUE(errors->b_IsSetError());
  EXPECT_EQ(errors->n_GetErrorCode(), 5u);
  EXPECT_EQ(errors->n_GetFormatID(), 7u);
  EXPECT_EQ(Message(errors), u"(5): File a.doc not found (3)");

  errors->v_ClearError();
  EXPECT_FALSE(errors->b_IsSetError());
  errors->v_SetError(6, u"second %d", 2);
  EXPECT_EQ(Message(errors), u"(6): second 2");
  EXPECT_EQ(errors->n_GetFormatID(), 0u);

  errors->v_SetIgnoreError(true);
  EXPECT_FALSE(errors->b_IsSetError());
  errors->v_SetError(9, u"still blocked");
  EXPECT_EQ(errors->n_GetErrorCode(), 6u);
}

TEST_F(ErrorManagerTest, MessagesFromModulesAndTexts) {
  errors->v_SetError(1, module, 8, u"\u00e9");  // table texts are code page 1252
  EXPECT_EQ(Message(errors), u"(1): caf\u00e9 \u00e9");
  errors->v_ClearError();
  errors->v_SetError(2, module, 99);
  EXPECT_EQ(Message(errors), u"(2): ");
  errors->v_ClearError();
  errors->v_SetMessageError("plain %d %s", 0L, "text");
  EXPECT_EQ(errors->n_GetErrorCode(), 0u);
  EXPECT_EQ(Message(errors), u"plain 0 text");
  errors->v_ClearError();
  std::u16string longText(3000, u'x');
  errors->v_SetMessageError(u"%s", longText.c_str());
  EXPECT_EQ(Message(errors).size(), 1023u);  // cut, and still terminated
}

TEST_F(ErrorManagerTest, SystemErrors) {
  errno = ENOENT;
  errors->v_SetSystemError();
  EXPECT_EQ(errors->n_GetErrorCode(), uint32_t(ENOENT));
  EXPECT_EQ(Message(errors), u"(2): No such file or directory");
  EXPECT_EQ(errno, 0);
  errors->v_ClearError();
  errno = EACCES;
  errors->v_SetSystemError(u"opening %hs", "x.doc");
  EXPECT_EQ(Message(errors), u"(13): Permission denied [opening x.doc]");
}

TEST(CleanLineBreaksTest, SystemTextsLoseTheirLineBreaks) {
  std::u16string text = u"The file is gone.\r\n";
  CleanLineBreaks(text);
  EXPECT_EQ(text, u"The file is gone.");
  text = u"one\r\ntwo \nthree\n\r";
  CleanLineBreaks(text);
  EXPECT_EQ(text, u"one two three");
  text = u"\r\n";
  CleanLineBreaks(text);
  EXPECT_EQ(text, u"");
}

TEST_F(ErrorManagerTest, HeldErrors) {
  errors->v_SetError(1, u"held");
  errors->v_HoldError();
  EXPECT_FALSE(errors->b_IsSetError());
  EXPECT_TRUE(errors->b_IsHoldError());
  EXPECT_EQ(Message(errors), u"(1): held");  // still readable
  errors->v_SetError(2, u"new");             // frees the held one
  EXPECT_FALSE(errors->b_IsHoldError());
  EXPECT_EQ(Message(errors), u"(2): new");
  errors->v_HoldError();
  errors->v_ClearError();
  EXPECT_FALSE(errors->b_IsHoldError());
  EXPECT_EQ(errors->n_GetErrorCode(), 0u);
  EXPECT_EQ(Message(errors), u"");
}

TEST_F(ErrorManagerTest, LocationsAndTheirPool) {
  errors->v_AddLocation("ignored.cpp", 1);  // no error yet
  errors->v_SetError(3, u"deep");
  errors->v_AddLocation("src/a/Reader.cpp", 10);
  errors->v_AddLocation("C:\\b\\Parser.cpp", 20);
  ASSERT_EQ(errors->n_GetLocationCount(), 2u);
  EXPECT_STREQ(errors->qccz_GetLocationFileAt(1), "src/a/Reader.cpp");
  EXPECT_EQ(errors->n_GetLocationLineAt(2), 20u);
  EXPECT_EQ(errors->qccz_GetLocationFileAt(3), nullptr);
  for (int i = 0; i < 150; ++i) errors->v_AddLocation("many.cpp", uint32_t(i));
  EXPECT_EQ(errors->n_GetLocationCount(), 100u);  // the pool holds 100
  errors->v_ClearError();
  errors->v_SetError(4, u"again");
  errors->v_AddLocation("back.cpp", 1);  // the cleared error gave its places back
  EXPECT_EQ(errors->n_GetLocationCount(), 1u);
}

TEST_F(ErrorManagerTest, MoreErrorsThanThePoolHoldsDoNotEndTheProcess) {
  std::vector<std::thread> threads;
  for (int i = 0; i < 30; ++i) {
    threads.emplace_back([this, i] {
      errors->v_SetError(uint32_t(100 + i), u"thread %d", i);
      EXPECT_EQ(errors->n_GetErrorCode(), uint32_t(100 + i));
      errors->v_HoldError();
      errors->v_SetError(uint32_t(200 + i), u"again");
      EXPECT_EQ(errors->n_GetErrorCode(), uint32_t(200 + i));
      errors->v_ClearError();
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_FALSE(errors->b_IsSetError());
}

int32_t MapToText(char16_t* message, uint32_t size, uint32_t code, uint32_t formatId, va_list args) {
  if (code == 42) return 0;
  int n = va_arg(args, int);
  std::u16string text =
      u"mapped " + std::u16string(1, char16_t(u'0' + formatId)) + std::u16string(1, char16_t(u'0' + n));
  text.copy(message, size - 1);
  message[text.size()] = 0;
  return 1;
}

TEST_F(ErrorManagerTest, MapFunctionsByThread) {
  uint32_t me = uint32_t(gettid());              // map items are keyed by thread id
  errors->v_SetMapFunction(&MapToText, me + 1);  // another thread's
  errors->v_SetError(5, module, 3, 4);
  EXPECT_EQ(Message(errors), u"(5): ");
  errors->v_ClearError();
  errors->v_SetMapFunction(&MapToText, me);
  errors->v_SetError(5, module, 3, 4);
  EXPECT_EQ(Message(errors), u"(5): mapped 34");
  errors->v_ClearError();
  errors->v_SetError(6, u"given %d", 7);  // the map function gets the code as format id
  EXPECT_EQ(Message(errors), u"(6): mapped 67");
  errors->v_ClearError();
  errors->v_SetError(42, u"declined %d", 1);
  EXPECT_EQ(Message(errors), u"(42): declined 1");
  errors->v_RemoveMapFunction(me);
  errors->v_RemoveMapFunction(me + 1);
  errors->v_ClearError();
  errors->v_SetError(5, module, 3, 4);
  EXPECT_EQ(Message(errors), u"(5): ");
}

std::u16string s_shownText, s_shownCaption;
uint32_t s_shownType = 0;

int32_t RecordBox(const char16_t* text, const char16_t* caption, uint32_t type) {
  s_shownText = text;
  s_shownCaption = caption;
  s_shownType = type;
  return 2;
}

TEST_F(ErrorManagerTest, ErrorLocationWindow) {
  CT_ErrorManager::sv_SetMessageBox(&RecordBox);
  EXPECT_EQ(errors->i_ErrorLocationWindow(1, nullptr, 0), 0);  // nothing to show
  errors->v_SetError(3, u"broken");
  errors->v_AddLocation("/src/reader/SSLex.cpp", 12);
  errors->v_AddLocation("Source\\Foundation\\System\\String\\StringConvert", 196);
  errors->v_AddLocation("bare.cpp", 7);
  errors->v_AddLocation(nullptr, 8);
  EXPECT_EQ(errors->i_ErrorLocationWindow(1, nullptr, 0x30), 2);
  EXPECT_EQ(s_shownCaption, u"Caption");
  EXPECT_EQ(s_shownType, 0x30u | 0x10000u);
  EXPECT_EQ(s_shownText,
            u"(3): broken\n\nSSLex.cpp: line 12\nStringConvert: line 196\n"
            u"bare.cpp: line 7\n(unknown file): line 8");

  // Caption and text share 1024 units: places that do not fit are left out.
  std::u16string caption(1000, u'c');
  errors->i_ErrorLocationWindow(0, caption.c_str(), 0);
  EXPECT_EQ(s_shownText, u"(3): broken");
}

TEST_F(ErrorManagerTest, AbortEndsTheProcess) {
  EXPECT_EXIT(
      {
        CT_ErrorManager::sv_SetMessageBox([](const char16_t*, const char16_t*, uint32_t) -> int32_t { return 3; });
        errors->v_SetError(1, u"fatal");
        errors->i_ErrorLocationWindow(0, u"Caption", 2);
        std::exit(0);
      },
      testing::ExitedWithCode(EXIT_FAILURE), "");
}

TEST_F(ErrorManagerTest, WithoutABoxTheTextGoesToStandardError) {
  errors->v_SetError(3, u"to stderr");
  testing::internal::CaptureStderr();
  EXPECT_EQ(errors->i_ErrorLocationWindow(0, u"Title", 0), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Title\n(3): to stderr\n");
}

TEST_F(ErrorManagerTest, Flags) {
  EXPECT_FALSE(errors->b_GetInterruptOnError());
  EXPECT_TRUE(errors->b_GetDebugMessageOnError());
  errors->v_SetInterruptOnError(true);
  errors->v_SetDebugMessageOnError(false);
  EXPECT_TRUE(errors->b_GetInterruptOnError());
  EXPECT_FALSE(errors->b_GetDebugMessageOnError());
  errors->v_SetInterruptOnError(false);
  errors->v_SetDebugMessageOnError(true);
}

TEST_F(ErrorManagerTest, LoadString) {
  CT_CString narrow(1252);
  CT_LoadString::sv_LoadString(&narrow, nullptr, 8);
  EXPECT_STREQ(narrow.qccz_Get(), "caf\xe9 %s");
  CT_LoadString::sv_LoadString(&narrow, nullptr, 1234);
  EXPECT_STREQ(narrow.qccz_Get(), "");
  EXPECT_EQ(narrow.n_GetCodePage(), 1252u);

  char16_t buffer[5];
  CT_LoadString::sv_LoadString(buffer, 5, module, 7);
  EXPECT_EQ(std::u16string(buffer), u"File");  // cut to the buffer, terminated

  CT_CString formatted;
  CT_LoadString::sv_LoadStringVA(&formatted, module, 7, "b.doc", 9);
  EXPECT_STREQ(formatted.qccz_Get(), "File b.doc not found (9)");
  CT_UString wide;
  CT_LoadString::sv_LoadStringVA(&wide, module, 8, u"\u65e5");
  EXPECT_EQ(std::u16string(wide.qcuz_Get()), u"caf\u00e9 \u65e5");
  char16_t area[64];
  CT_LoadString::sv_LoadStringVA(area, 64, module, 7, "c", 1);
  EXPECT_EQ(std::u16string(area), u"File c not found (1)");
  CT_LoadString::sv_LoadStringVA(&wide, module, 77, 1);
  EXPECT_EQ(wide.vn_GetLength(), 0u);
}

int s_started = 0;

TEST(LifetimeTest, InitAndExitObjectsRunTheirFunctions) {
  {
    CT_Init start([] { ++s_started; });
    EXPECT_EQ(s_started, 1);
    CT_Exit end([] { s_started += 10; });
    EXPECT_EQ(s_started, 1);
  }
  EXPECT_EQ(s_started, 11);
  // The library started itself before any test ran.
  EXPECT_NE(CT_ErrorManager::spco_Get(), nullptr);
}

TEST(OsTest, LinuxCountsAsNt) {
  EXPECT_EQ(CT_OS::seo_GetVersion(), eo_WindowsNT);
  EXPECT_TRUE(CT_OS::sb_GetIsWindowsNT());
  EXPECT_FALSE(CT_OS::sb_GetIsWindows95());
  EXPECT_FALSE(CT_OS::sb_GetIsWindows95OSR2());
  EXPECT_FALSE(CT_OS::sb_GetIsWindows32s());
  EXPECT_GE(CT_OS::sn_GetOsVersionMajor(), 2u);
  EXPECT_NE(std::string(CT_OS::sqccz_GetOsVersionString()), "");
}

class Listener : public CT_Forum {
 public:
  Listener(std::string* log, char name, int32_t answer) : m_log(log), m_name(name), m_answer(answer) {}
  void vv_Listen(CT_Forum*, uint32_t id, va_list args) override {
    *m_log += m_name;
    *m_log += std::to_string(id + uint32_t(va_arg(args, int)));
  }
  int32_t vn_Listen(CT_Forum*, uint32_t, va_list) override {
    *m_log += m_name;
    return m_answer;
  }

 private:
  std::string* m_log;
  char m_name;
  int32_t m_answer;
};

TEST(ForumTest, SpeakersReachTheirListeners) {
  std::string log;
  CT_Forum speaker;
  Listener a(&log, 'a', 0), b(&log, 'b', 7), c(&log, 'c', 9);
  speaker.vv_AddListener(&a);
  speaker.vv_AddListener(&b);
  speaker.vv_AddListener(&c);
  speaker.vv_Speak(nullptr, 10, 5);
  EXPECT_EQ(log, "a15b15c15");
  log.clear();
  EXPECT_EQ(speaker.vn_Speak(nullptr, 1), 7);  // stops at the first answer
  EXPECT_EQ(log, "ab");
  log.clear();
  speaker.vv_Speak(&c, 1, 1);
  EXPECT_EQ(log, "c2");
  speaker.vv_RemoveListener(&b);
  speaker.vv_RemoveListener(&b);
  log.clear();
  EXPECT_EQ(speaker.vn_Speak(nullptr, 1), 9);
  EXPECT_EQ(log, "ac");
}

}  // namespace
