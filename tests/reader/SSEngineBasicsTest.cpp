// The engines' shared pieces: exceptions, reference counts, the stack, tokens.
#include <gtest/gtest.h>

#include <string>

#include "reader/SSException.h"
#include "reader/SSLifo.h"
#include "reader/SSToken.h"

TEST(SSException, FormatsAndCutsTheStoredMessage) {
  SSException e(SSCode::kLexInvalidToken, "SSLex0105e: Invalid token, Line %ld, Offset %ld, %s", 3L, 7L, "<");
  EXPECT_EQ(5, e.code());
  EXPECT_STREQ("SSLex0105e: Invalid token, Line 3, Offset 7, <", e.what());

  std::string longText(300, 'x');
  SSException cut(SSCode::kLexOpenFile, "SSLex0101e: Error opening file, %s, %ld", longText.c_str(), 2L);
  EXPECT_EQ(1, cut.code());
  EXPECT_EQ(127u, std::string(cut.what()).size());
  EXPECT_EQ(0, std::string(cut.what()).rfind("SSLex0101e: Error opening file, xxx", 0));
}

TEST(SSException, TooLongFormattedMessageBecomesItsOwnError) {
  std::string huge(600, 'y');
  SSException e(SSCode::kLexOpenFile, "SSLex0101e: Error opening file, %s, %ld", huge.c_str(), 2L);
  EXPECT_EQ(46, e.code());
  EXPECT_STREQ("SSException0002e: sprintf msg too long", e.what());
  // 511 characters still fit the 512-character buffer; 512 do not.
  EXPECT_EQ(7, SSException(7, "%s", std::string(511, 'z').c_str()).code());
  EXPECT_EQ(46, SSException(7, "%s", std::string(512, 'z').c_str()).code());

  SSExceptionOutOfStorage oos;
  EXPECT_EQ(-1, oos.code());
  EXPECT_STREQ("SSException0001e: Out of storage", oos.what());
}

TEST(SSLifo, ReportsMisuseWithItsMessages) {
  SSLifo<int> stack(2, 2);
  EXPECT_THROW(stack.Top(), SSException);
  try {
    stack.Pop();
    FAIL();
  } catch (const SSException& e) {
    EXPECT_EQ(10, e.code());
    EXPECT_STREQ("SSLifo0004e: Cannot pop empty stack", e.what());
  }
  for (int i = 0; i < 5; ++i) stack.Push(i);  // grows past its first capacity
  EXPECT_EQ(5u, stack.Size());
  EXPECT_EQ(4, stack.Top());
  EXPECT_EQ(2, stack.Peek(2));
  EXPECT_EQ(4, stack.Pop());

  SSLifo<int> fixed(1, 0);
  fixed.Push(1);
  try {
    fixed.Push(2);
    FAIL();
  } catch (const SSException& e) {
    EXPECT_EQ(8, e.code());
    EXPECT_STREQ("SSLifo0001e: Stack full", e.what());
  }
}

TEST(SSToken, CarriesTextWithTwoZerosAndSharesByCount) {
  SSRefPtr<SSToken> t = SSToken::Make(101, "SJIS", 1, 40, 39);
  EXPECT_EQ(101, t->Id());
  EXPECT_EQ(4u, t->Length());
  EXPECT_STREQ("SJIS", t->Text());
  EXPECT_EQ('\0', t->Text()[5]);
  EXPECT_EQ(1, t->RefCount());
  {
    SSRefPtr<SSToken> other = t;
    EXPECT_EQ(2, t->RefCount());
  }
  EXPECT_EQ(1, t->RefCount());
}

// Texts of every length live in the token's own block, the empty one and
// those too long for the pooled blocks included, with both zeros after them.
TEST(SSToken, TextOfAnyLengthKeepsItsZeros) {
  for (size_t length : {0, 1, 40, 200, 5000}) {
    const std::string text(length, 'x');
    SSRefPtr<SSToken> t = SSToken::Make(7, text, 2, 3);
    EXPECT_EQ(text, t->View());
    EXPECT_EQ('\0', t->Text()[length]);
    EXPECT_EQ('\0', t->Text()[length + 1]);
  }
}
