// Text-mode reading: what the reader sees of a file on disk, in a string or
// in bytes of their own.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <string_view>

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

TEST(TextFile, ReadsIntoFileBytesAsIntoAString) {
  testsupport::TempDir dir;
  // One small file, and one past the size that goes to huge pages, with
  // CR LF pairs to take out and a 0x1A that ends it. Large files that text
  // mode leaves alone are seen in place: one that ends on a page boundary
  // still has its zero after it.
  std::string large;
  while (large.size() < (size_t{5} << 20)) large += "<F0 line>\r\n";
  large +=
      "tail\x1A"
      "after";
  const std::string plain(size_t{2} << 20, 'y');
  for (const std::string& raw :
       {std::string("<!OPS, Version = 8.0>\r\nx\r\n"), large, plain, plain + "z", plain + "\r"}) {
    const std::string path = dir.Write("a.doc", raw);
    std::string text;
    ASSERT_EQ(0, ReadTextFile(path, text).error);
    CFileBytes bytes;
    const TextFileRead r = ReadTextFile(path, bytes);
    EXPECT_EQ(0, r.error);
    EXPECT_EQ(raw.size(), r.fileLength);
    ASSERT_EQ(text.size(), bytes.size());
    EXPECT_TRUE(std::string_view(bytes.data(), bytes.size()) == text);
    EXPECT_EQ('\0', bytes.data()[bytes.size()]);

    CFileBytes moved(std::move(bytes));
    EXPECT_EQ(text.size(), moved.size());
    EXPECT_EQ(0u, bytes.size());  // NOLINT(bugprone-use-after-move): moved-from state is part of the contract
    EXPECT_STREQ("", bytes.data());
  }
}

// The file is read in blocks, each searched for CR and 0x1A as it comes:
// a CR LF pair or the first of those bytes on either side of any block
// boundary reads as the whole file taken at once does.
TEST(TextFile, TextModeBytesAnywhereInALargeFileReadAsInOnePiece) {
  testsupport::TempDir dir;
  const std::string plain(size_t{3} << 20, 'x');
  for (size_t kib : {64, 128, 256, 512, 1024, 2048}) {
    for (ptrdiff_t shift : {-2, -1, 0, 1}) {
      const size_t at = (kib << 10) + static_cast<size_t>(shift);
      for (const std::string_view bytes : {std::string_view("\r\n"), std::string_view("\r"),
                                           std::string_view("\x1A\r\n"), std::string_view("\r\x1A\n")}) {
        std::string raw = plain;
        raw.replace(at, bytes.size(), bytes);
        raw.replace(raw.size() - 6, 2, "\r\n");  // a later pair, taken out unless the input ended
        CFileBytes read;
        ASSERT_EQ(0, ReadTextFile(dir.Write("a.doc", raw), read).error);
        EXPECT_TRUE(std::string_view(read.data(), read.size()) == TextMode(raw)) << at << " " << bytes.size();
      }
    }
  }
}

TEST(TextFile, FileBytesOfAFailedReadAreEmpty) {
  testsupport::TempDir dir;
  CFileBytes bytes;
  ASSERT_EQ(0, ReadTextFile(dir.Write("a.doc", "abc"), bytes).error);
  EXPECT_EQ(ENOENT, ReadTextFile((dir.path() / "missing.doc").string(), bytes).error);
  EXPECT_EQ(0u, bytes.size());
  EXPECT_STREQ("", bytes.data());
}
