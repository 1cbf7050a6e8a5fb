// The normal form of Interleaf names: quotation marks, escapes and
// hexadecimal character references, in Latin and Shift-JIS documents.
#include <gtest/gtest.h>

#include "model/InterleafText.h"

namespace {
std::string Latin(std::string_view text) { return NormaliseInterleafText(text, 0); }
std::string Sjis(std::string_view text) { return NormaliseInterleafText(text, 1); }
}  // namespace

TEST(InterleafText, ReplaceAllDoesNotRescanItsReplacements) {
  std::string text = "aaa";
  EXPECT_EQ(3, ReplaceAll(text, "a", "aa"));
  EXPECT_EQ("aaaaaa", text);
  text = "x\"\"\"\"y";
  EXPECT_EQ(2, ReplaceAll(text, "\"\"", "\""));
  EXPECT_EQ("x\"\"y", text);
  text = "none";
  EXPECT_EQ(0, ReplaceAll(text, "z", "y"));
  EXPECT_EQ(0, ReplaceAll(text, "", "y"));
  EXPECT_EQ("none", text);
}

TEST(InterleafText, ReplaceFirstReplacesOnce) {
  std::string text = "abab";
  EXPECT_EQ(1, ReplaceFirst(text, "ab", "X"));
  EXPECT_EQ("Xab", text);
  EXPECT_EQ(-1, ReplaceFirst(text, "zz", "X"));
  EXPECT_EQ("Xab", text);
}

TEST(InterleafText, ParseHexReadsEitherCase) {
  EXPECT_EQ(0u, ParseHex(""));
  EXPECT_EQ(0x41u, ParseHex("41"));
  EXPECT_EQ(0xE9u, ParseHex("e9"));
  EXPECT_EQ(0xABCDEFu, ParseHex("aBcDeF"));
  EXPECT_EQ(0xFFFFFFFFu, ParseHex("ffffffff"));
  EXPECT_EQ(0x23456789u, ParseHex("123456789"));  // wraps at 32 bits
}

TEST(InterleafText, QuotationMarksAndAngleBrackets) {
  EXPECT_EQ("say \"hi\"", Latin("say \"\"hi\"\""));
  EXPECT_EQ("a<:lt>b", Latin("a<<b"));
  EXPECT_EQ("a<:gt>b", Latin("a>b"));
  EXPECT_EQ("Body", Latin("Body"));
  // Tags pass the escape pass whole, even when they never close.
  EXPECT_EQ("x<F3>y", Latin("x<F3>y"));
  EXPECT_EQ("x<F3", Latin("x<F3"));
  EXPECT_EQ("x<", Latin("x<"));
}

TEST(InterleafText, EscapeCharacterSwitchesEscapeMode) {
  EXPECT_EQ("<:r27>a<:lt>b<:lt>c<:r27>d<e>", Latin("\x1B"
                                                   "a<b<c\x1B"
                                                   "d<e>"));
  EXPECT_EQ("<:r27><:gt>", Latin("\x1B>"));
}

TEST(InterleafText, HexReferencesInLatinDocuments) {
  EXPECT_EQ("A", Latin("<#41>"));
  EXPECT_EQ("caf\xE9", Latin("caf<#e9>"));
  EXPECT_EQ("<:r10>", Latin("<#a>"));
  EXPECT_EQ("\"", Latin("<#7f>"));
  EXPECT_EQ("<:r173>", Latin("<#ad>"));
  EXPECT_EQ("<:ems>", Latin("<#105>"));
  EXPECT_EQ("\x96", Latin("<#107>"));
  EXPECT_EQ("/", Latin("<#120>"));
  EXPECT_EQ("<:r314>", Latin("<#13a>"));
  EXPECT_EQ("<:r9249>", Latin("<#2421>"));
  EXPECT_EQ("<:bb \"Pagenumber\">", Latin("<#80a0>"));
  EXPECT_EQ("<:bb \"Filename\">", Latin("<#80a1>"));
  EXPECT_EQ("AB", Latin("<#41><#42>"));
  // A reference that never closes runs to the end of the text.
  EXPECT_EQ("xA", Latin("x<#41"));
}

TEST(InterleafText, HexReferencesInShiftJisDocuments) {
  EXPECT_EQ("<:r65>", Sjis("<#41>"));
  EXPECT_EQ("<:ems>", Sjis("<#105>"));
  EXPECT_EQ("<:r263>", Sjis("<#107>"));
  EXPECT_EQ("\xE4\x40", Sjis("<#2421>"));   // row 36, cell 0x21
  EXPECT_EQ("\x82\xA0", Sjis("<#2a2>"));    // row 2, cell 0xA2
  EXPECT_EQ("\x9F\x9E", Sjis("<#1f7e>"));   // the last row of the first lead range
  EXPECT_EQ("\xB1", Sjis("<#6b1>"));        // half-width katakana stay one byte
  EXPECT_EQ("\x86\xDE", Sjis("<#6e0>"));    // row 6 beyond the half-width cells
  EXPECT_EQ("<:r512>", Sjis("<#200>"));     // below the two-byte range
  EXPECT_EQ("<:r12287>", Sjis("<#2fff>"));  // above it
  EXPECT_EQ("x\xE4\x40y", Sjis("x<#2421>y"));
}

// Cells outside the JIS table have no Shift-JIS form; they keep a numeric
// escape rather than putting a zero byte or a lone lead byte into the name.
TEST(InterleafText, CellsWithoutAShiftJisFormStayEscaped) {
  EXPECT_EQ("<:r1568>", Sjis("<#620>"));
  EXPECT_EQ("<:r1696>", Sjis("<#6a0>"));
  EXPECT_EQ("<:r9471>", Sjis("<#24ff>"));
  EXPECT_EQ(std::string::npos, Sjis("<#2400>").find('\0'));
}

TEST(InterleafText, PassesRunInOrder) {
  // The reference pass sees what the escape pass left: an escaped ">" is
  // not a reference's end, and a doubled quotation mark is already single.
  EXPECT_EQ("<:lt>#41<:gt>", Latin("<<#41>"));
  EXPECT_EQ("\"A", Latin("\"\"<#41>"));
  // A reference that yields "<" may begin a new one; that is read too.
  EXPECT_EQ(std::string::npos, Latin("<#3c>#41>").find("<#"));
  EXPECT_EQ("#", Latin("<#3c>#23"));
}
