// Shift-JIS to EUC-JP: the arithmetic, the byte classes that pass
// unchanged, and in-place conversion that never loses the file.
#include <gtest/gtest.h>

#include "output/COutputObserver.h"
#include "output/ShiftJisToEuc.h"
#include "tests/output/OutputTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {
std::string Euc(const std::string& sjis) {
  std::string out;
  unsigned char pending = 0;
  ConvertBlockToEuc(sjis, pending, true, out);
  return out;
}
}  // namespace

TEST(ShiftJisToEuc, KnownCharacters) {
  EXPECT_EQ("\xA4\xA2", Euc("\x82\xA0"));
  EXPECT_EQ("\xA1\xA1", Euc("\x81\x40"));
  EXPECT_EQ("\xB0\xA1", Euc("\x88\x9F"));
  EXPECT_EQ("\xDF\xA1", Euc("\xE0\x40"));
  // Trail bytes either side of the 0x7F gap and the 0x9F split.
  EXPECT_EQ("\xA1\xDF", Euc("\x81\x7E"));
  EXPECT_EQ("\xA1\xE0", Euc("\x81\x80"));
  EXPECT_EQ("\xA2\xA1", Euc("\x81\x9F"));
  EXPECT_EQ("\xA2\xFE", Euc("\x81\xFC"));
  JisCode jis = ShiftJisToJis(0x88, 0x9F);
  EXPECT_EQ(0x30, jis.row);
  EXPECT_EQ(0x21, jis.cell);
}

TEST(ShiftJisToEuc, BytesThatPassUnchanged) {
  EXPECT_EQ("plain <F3>\r\n", Euc("plain <F3>\r\n"));
  // Half-width katakana get no single-shift prefix.
  EXPECT_EQ("\xB1\xDF", Euc("\xB1\xDF"));
  // User-defined lead bytes 0xF0-0xFC are left alone, trail and all.
  EXPECT_EQ("\xF0\x40", Euc("\xF0\x40"));
  // A lead byte before a byte that cannot be a trail byte: both unchanged.
  EXPECT_EQ(
      "\x82\x0A"
      "a",
      Euc("\x82\x0A"
          "a"));
  EXPECT_EQ("\x82\xFDz", Euc("\x82\xFDz"));
  // A lead byte at the very end is written alone.
  EXPECT_EQ("ab\x82", Euc("ab\x82"));
}

TEST(ShiftJisToEuc, CharacterSplitBetweenBlocks) {
  std::string out;
  unsigned char pending = 0;
  ConvertBlockToEuc("x\x82", pending, false, out);
  ConvertBlockToEuc("\xA0y", pending, true, out);
  EXPECT_EQ("x\xA4\xA2y", out);
}

TEST(ShiftJisToEuc, ConvertsFileInPlaceAndLeavesNoTemporary) {
  testsupport::TempDir dir;
  // Large enough to cross the converter's blocks at an odd offset.
  std::string sjis = "a";
  for (int i = 0; i < 70000; ++i) sjis += "\x82\xA0";
  sjis += "\r\n";
  std::string expected = "a";
  for (int i = 0; i < 70000; ++i) expected += "\xA4\xA2";
  expected += "\r\n";
  std::string path = dir.Write("A.DOC", sjis);

  EXPECT_TRUE(ConvertFileToEuc(path).Ok());
  EXPECT_EQ(expected, testsupport::ReadFile(path));
  EXPECT_EQ(std::set<std::string>{"A.DOC"}, outputtest::Entries(dir.path()));
}

TEST(ShiftJisToEuc, MissingFileIsAnOpenFailure) {
  testsupport::TempDir dir;
  EucResult r = ConvertFileToEuc((dir.path() / "absent.doc").string());
  EXPECT_EQ(EucOutcome::OpenFailed, r.outcome);
  EXPECT_TRUE(outputtest::Entries(dir.path()).empty());
}

TEST(ShiftJisToEuc, WriteFailureKeepsTheFileAndRemovesTheCopy) {
  testsupport::TempDir dir;
  std::string sjis(300000, 'x');
  sjis += "\x82\xA0";
  std::string path = dir.Write("A.DOC", sjis);
  EucResult r;
  {
    outputtest::FileSizeLimit limit(100000);
    r = ConvertFileToEuc(path);
  }
  EXPECT_EQ(EucOutcome::WriteFailed, r.outcome);
  EXPECT_NE(0, r.error);
  EXPECT_EQ(sjis, testsupport::ReadFile(path));
  EXPECT_EQ(std::set<std::string>{"A.DOC"}, outputtest::Entries(dir.path()));
}

namespace {
struct MessageLog : COutputObserver {
  void ShowMessage(const std::string& text, const std::string& caption) override {
    messages.push_back(caption + ": " + text);
  }
  std::vector<std::string> messages;
};
}  // namespace

TEST(ShiftJisToEuc, NamesEachFileTheRunDidNotWriteOnceAndConvertsNothing) {
  testsupport::TempDir dir;
  const std::string a = dir.Write("in/A.DOC", "\x82\xA0");
  const std::string b = dir.Write("in/B.DOC", "\x82\xA0");
  // Left by an earlier run and already EUC: converting it again would garble it.
  const std::string stale = dir.Write("out/B.DOC", "\xA4\xA2");
  const std::string twice = (dir.path() / "in" / "." / "B.DOC").string();
  MessageLog log;
  ReportFilesNotConverted(a + ";" + b + ";" + twice + ";", {{a, (dir.path() / "out/A.DOC").string(), std::nullopt}},
                          log);
  EXPECT_EQ("\xA4\xA2", testsupport::ReadFile(stale));
  EXPECT_EQ(std::vector<std::string>{"Error: Could not open file : " + b}, log.messages);
}

TEST(ShiftJisToEuc, AFileReplacedSinceTheRunWroteItIsNotConverted) {
  testsupport::TempDir dir;
  const std::string out = dir.Write("out/A.DOC", "\x82\xA0");
  const std::optional<CFileStamp> written = StampOf(out);
  // Another run puts its copy, already converted, in the same place.
  const std::string other = dir.Write("other.doc", "\xA4\xA2 and more");
  std::filesystem::rename(other, out);
  MessageLog log;
  EXPECT_EQ(0, ConvertWrittenFilesToEuc({{"/in/A.DOC", out, written}}, log));
  EXPECT_EQ("\xA4\xA2 and more", testsupport::ReadFile(out));
  ASSERT_EQ(1u, log.messages.size());
  EXPECT_NE(std::string::npos, log.messages[0].find("was replaced by another program")) << log.messages[0];
  // The file as written is converted.
  dir.Write("out/A.DOC", "\x82\xA0");
  EXPECT_EQ(1, ConvertWrittenFilesToEuc({{"/in/A.DOC", out, StampOf(out)}}, log));
  EXPECT_EQ("\xA4\xA2", testsupport::ReadFile(out));
}
