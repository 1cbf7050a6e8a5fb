// Threads that share buffers and strings and set errors at the same time.
// Run under ThreadSanitizer with `make tsan`.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "CT_Buffer.h"
#include "CT_CString.h"
#include "CT_ErrorManager.h"
#include "CT_StringConvert.h"
#include "CT_UString.h"

namespace {

constexpr int kThreads = 4;
constexpr int kRounds = 2000;

TEST(ConcurrencyTest, SharedStorageIsCopiedAndReleasedSafely) {
  CT_Buffer original("shared bytes", 12);
  CT_UString text(u"shared text");
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kRounds; ++i) {
        CT_Buffer copy(&original);  // use count + 1 on a storage others share
        CT_Buffer second = copy;
        second.v_Append(uint8_t('0' + t));  // copy before write, then release
        EXPECT_EQ(second.n_GetUsedSize(), 13u);
        CT_UString mine(&text);
        mine.v_Append(u'!');
        EXPECT_EQ(mine.vn_GetLength(), 12u);
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(original.n_GetUseCount(), 1u);
  EXPECT_EQ(text.pcco_GetBuffer()->n_GetUseCount(), 1u);
  EXPECT_EQ(std::u16string(text.qcuz_Get()), u"shared text");
}

TEST(ConcurrencyTest, ThreadsKeepTheirOwnErrorsAndCoderStates) {
  CT_ErrorManager* errors = CT_ErrorManager::spco_Get();
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([errors, t] {
      for (int i = 0; i < kRounds / 4; ++i) {
        errors->v_SetError(uint32_t(t + 1), u"thread %d round %d", t, i);
        errors->v_AddLocation("ConcurrencyTest.cpp", uint32_t(i));
        EXPECT_EQ(errors->n_GetErrorCode(), uint32_t(t + 1));
        EXPECT_EQ(errors->n_GetLocationCount(), 1u);
        errors->v_HoldError();
        EXPECT_TRUE(errors->b_IsHoldError());
        errors->v_ClearError();
        CT_CString utf7;
        CT_StringConvert::si_WideToUTF7(&utf7, u"\u00e9", 1);
        EXPECT_STREQ(utf7.qccz_Get(), "+AOk-");
        CT_UString wide;
        CT_StringConvert::si_MultiToWide(&wide, "\x93\xfa", 2, 932);
        EXPECT_EQ(wide.vn_GetLength(), 1u);
      }
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_FALSE(errors->b_IsSetError());
}

}  // namespace
