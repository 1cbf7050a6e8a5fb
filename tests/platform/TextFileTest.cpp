// Text-mode reading: what the reader sees of a file on disk, whole in a
// string or block by block.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <string_view>

#include "platform/TextFile.h"
#include "platform/TextModeReader.h"
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

// Everything a reader reads in blocks of \p block bytes, to the length the
// file had when it was opened.
std::string ReadInBlocks(const std::string& path, size_t block, int& error) {
  CTextModeReader reader(CTextModeReader::Extent::kOpenLength);
  std::string text;
  if ((error = reader.Open(path)) != 0) return text;
  std::string buffer(block, '\0');
  for (size_t delivered = 1; delivered != 0;) {
    if ((error = reader.Read(buffer.data(), block, delivered)) != 0) break;
    text.append(buffer, 0, delivered);
  }
  EXPECT_TRUE(reader.Ended());
  return text;
}

// Read in blocks, each searched for CR and 0x1A as it comes, a file reads
// as the whole file taken at once does: a CR LF pair or the first of those
// bytes on either side of any block boundary included.
TEST(TextModeReader, BlocksReadAsTheWholeFile) {
  testsupport::TempDir dir;
  const std::string plain(size_t{1} << 20, 'x');
  for (size_t kib : {64, 128, 256}) {
    for (ptrdiff_t shift : {-2, -1, 0, 1}) {
      const size_t at = (kib << 10) + static_cast<size_t>(shift);
      for (const std::string_view bytes : {std::string_view("\r\n"), std::string_view("\r"),
                                           std::string_view("\x1A\r\n"), std::string_view("\r\x1A\n")}) {
        std::string raw = plain;
        raw.replace(at, bytes.size(), bytes);
        raw.replace(raw.size() - 6, 2, "\r\n");  // a later pair, taken out unless the input ended
        int error = -1;
        EXPECT_TRUE(ReadInBlocks(dir.Write("a.doc", raw), size_t{64} << 10, error) == TextMode(raw))
            << at << " " << bytes.size();
        EXPECT_EQ(0, error);
      }
    }
  }
  // Blocks of two bytes, the least a read takes; a last CR stays.
  for (const std::string raw : {"a\r\nb\r\r\nc\r", "\r\n\r\n", "\r", "ab\x1A\r\n"}) {
    int error = -1;
    EXPECT_EQ(TextMode(raw), ReadInBlocks(dir.Write("b.doc", raw), 2, error));
    EXPECT_EQ(0, error);
  }
}

// Read to its length at opening, a file that grew meanwhile is read as it
// was; one cut short fails as a read.
TEST(TextModeReader, ReadsToTheLengthAtOpeningAndFailsWhenCutShort) {
  testsupport::TempDir dir;
  const std::string path = dir.Write("a.doc", "abcdef");
  CTextModeReader reader(CTextModeReader::Extent::kOpenLength);
  ASSERT_EQ(0, reader.Open(path));
  dir.Write("a.doc", "abcdefghij");
  char buffer[64];
  size_t delivered = 0;
  ASSERT_EQ(0, reader.Read(buffer, sizeof buffer, delivered));
  EXPECT_EQ("abcdef", std::string(buffer, delivered));
  EXPECT_TRUE(reader.Ended());

  ASSERT_EQ(0, reader.Open(path));
  ASSERT_EQ(0, reader.Read(buffer, 4, delivered));
  ASSERT_EQ(0, ::truncate(path.c_str(), 6));
  int error = 0;
  while (error == 0 && !reader.Ended()) error = reader.Read(buffer, sizeof buffer, delivered);
  EXPECT_EQ(EIO, error);

  EXPECT_EQ(ENOENT, reader.Open((dir.path() / "missing.doc").string()));
  EXPECT_EQ(EBADF, reader.Read(buffer, sizeof buffer, delivered));
}
