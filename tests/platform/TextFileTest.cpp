// Text-mode reading: what the reader sees of a file on disk.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/TextFile.h"
#include "tests/support/TestSupport.h"

namespace {
std::string TextMode(std::string raw) {
  raw.resize(ApplyTextMode(raw.data(), raw.size()));
  return raw;
}
}  // namespace

TEST(TextFile, CrLfBecomesLfAndLoneCrStays) {
  EXPECT_EQ("a\nb\n", TextMode("a\r\nb\r\n"));
  EXPECT_EQ("a\rb", TextMode("a\rb"));
  EXPECT_EQ("a\r\n", TextMode("a\r\r\n"));
  EXPECT_EQ("\r", TextMode("\r"));
  EXPECT_EQ("", TextMode(""));
  EXPECT_EQ("no breaks", TextMode("no breaks"));
}

TEST(TextFile, CtrlZEndsTheInput) {
  EXPECT_EQ("abc", TextMode("abc\x1A"
                            "def"));
  EXPECT_EQ("", TextMode("\x1A\r\n"));
  // A CR LF pair cut by the 0x1A stays a lone CR.
  EXPECT_EQ("a\r", TextMode(std::string("a\r\x1A\n", 4)));
}

TEST(TextFile, ReadsWholeFileAndReportsItsLength) {
  testsupport::TempDir dir;
  std::string path = dir.Write("a.doc", "<!OPS, Version = 8.0>\r\nx\r\n");
  std::string text;
  TextFileRead r = ReadTextFile(path, text);
  EXPECT_EQ(0, r.error);
  EXPECT_EQ(26u, r.fileLength);
  EXPECT_EQ("<!OPS, Version = 8.0>\nx\n", text);
}

TEST(TextFile, ReportsTheErrorOfAMissingFile) {
  testsupport::TempDir dir;
  std::string text = "stale";
  TextFileRead r = ReadTextFile((dir.path() / "missing.doc").string(), text);
  EXPECT_EQ(ENOENT, r.error);
  EXPECT_TRUE(text.empty());
  r = ReadTextFile(dir.path().string(), text);
  EXPECT_EQ(EISDIR, r.error);
}
