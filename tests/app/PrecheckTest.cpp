// Pre-checks: header and version bytes, unreadable files, the disk space
// demand of a set, and the log lines of parse error reports.
#include <gtest/gtest.h>

#include "app/CMemoryLoadLog.h"
#include "app/ParseErrorReport.h"
#include "app/Precheck.h"
#include "platform/CExclusiveFile.h"
#include "platform/DiskSpace.h"
#include "platform/MessagePump.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr uint64_t kMB = 1048576;
const std::string kHeader = "<!OPS, Version = 8.0>\n";

// Plays a disk with `megabytes` free for as long as it lives.
class FreeSpace {
 public:
  explicit FreeSpace(std::optional<uint64_t> megabytes)
      : previous_(SetFreeDiskSpaceQuery([megabytes](const std::string&) -> std::optional<uint64_t> {
          if (!megabytes) return std::nullopt;
          return *megabytes * kMB;
        })) {}
  ~FreeSpace() { SetFreeDiskSpaceQuery(previous_); }

 private:
  FreeDiskSpaceQuery previous_;
};

class Precheck : public ::testing::Test {
 protected:
  int32_t Check(const std::string& bytes) {
    int32_t required = 0;
    return PrecheckFile(log_, dir_.Write("t.doc", bytes), ".", required);
  }
  testsupport::TempDir dir_;
  CMemoryLoadLog log_;
  FreeSpace plenty_{1000000};
};

}  // namespace

TEST_F(Precheck, AcceptsEachVersion8) {
  for (std::string v : {"8.0", "8.1", "8.2", "8.3"}) {
    EXPECT_EQ(PrecheckPassed, Check("<!OPS, Version = " + v + ">\n<Text>")) << v;
  }
  EXPECT_EQ(PrecheckPassed, Check("<!OPS, Encoding=SJIS Version = 8.3x"));
  EXPECT_EQ(0, log_.GetLineCount());
}

TEST_F(Precheck, HeaderMustBeExact) {
  EXPECT_EQ(PrecheckNoHeader, Check("<!ops, Version = 8.0>"));
  EXPECT_EQ(PrecheckNoHeader, Check("<!OPS"));
  EXPECT_EQ(PrecheckNoHeader, Check(""));
  EXPECT_EQ(PrecheckNoHeader, Check(" <!OPS, Version = 8.0>"));
  EXPECT_EQ(PrecheckNoHeader, Check(std::string("<!OP\0S, Version = 8.0>", 22)));
}

TEST_F(Precheck, VersionMustBeWithinTheFirstHundredBytes) {
  EXPECT_EQ(PrecheckWrongVersion, Check("<!OPS, Version = 9.0>"));
  EXPECT_EQ(PrecheckWrongVersion, Check("<!OPS, Version=8.2>"));
  EXPECT_EQ(PrecheckWrongVersion, Check("<!OPS, version = 8.2>"));
  EXPECT_EQ(PrecheckWrongVersion, Check("<!OPS," + std::string(94, ' ') + "Version = 8.2>"));
  EXPECT_EQ(PrecheckPassed, Check("<!OPS," + std::string(81, ' ') + "Version = 8.2>"));
  // The header ends at the first zero byte.
  EXPECT_EQ(PrecheckWrongVersion, Check(std::string("<!OPS, \0Version = 8.2>", 22)));
}

TEST_F(Precheck, UnreadableFilesAreLoggedAndSkipped) {
  int32_t required = 0;
  EXPECT_EQ(PrecheckUnreadable, PrecheckFile(log_, (dir_.path() / "none.doc").string(), ".", required));
  std::string held = dir_.Write("held.doc", kHeader);
  {
    CExclusiveFile holder(held);
    EXPECT_EQ(PrecheckUnreadable, PrecheckFile(log_, held, ".", required));
    EXPECT_EQ(PrecheckUnreadable, PrecheckMapFile(log_, held));
  }
  EXPECT_EQ(PrecheckPassed, PrecheckMapFile(log_, held));
  ASSERT_EQ(3, log_.GetLineCount());
  EXPECT_EQ("File Error! The file could not be located.", log_.GetLine(0));
  EXPECT_EQ("File Error! SHARE.EXE was not loaded, or a shared region was locked.", log_.GetLine(1));
  EXPECT_EQ(log_.GetLine(1), log_.GetLine(2));
  EXPECT_TRUE(log_.Lines()[0].shown);
  EXPECT_EQ(0, required);
}

TEST_F(Precheck, DiskSpaceDemandGrowsOverASet) {
  // Three files of 1.5 MB: 2, 4 and 6 MB are required, so the third needs 12 MB free.
  std::string doc = kHeader + std::string(kMB + kMB / 2 - kHeader.size(), 'x');
  std::string path = dir_.Write("big.doc", doc);
  {
    FreeSpace disk(11);
    int32_t required = 0;
    EXPECT_EQ(PrecheckPassed, PrecheckFile(log_, path, ".", required));
    EXPECT_EQ(2, required);
    EXPECT_EQ(PrecheckPassed, PrecheckFile(log_, path, ".", required));
    EXPECT_EQ(4, required);
    EXPECT_EQ(PrecheckNoDiskSpace, PrecheckFile(log_, path, ".", required));
    EXPECT_EQ(6, required);
  }
  {
    FreeSpace disk(12);
    int32_t required = 4;
    EXPECT_EQ(PrecheckPassed, PrecheckFile(log_, path, ".", required));
  }
  {
    // Font files are judged alone: 2 MB required, 4 MB free needed.
    FreeSpace disk(4);
    int32_t required = 0;
    EXPECT_EQ(PrecheckPassed, PrecheckFile(log_, path, ".", required));
    FreeSpace less(3);
    required = 0;
    EXPECT_EQ(PrecheckNoDiskSpace, PrecheckFile(log_, path, ".", required));
  }
  {
    // Beyond 4 GB the free space does not wrap around.
    FreeSpace disk(5 * 1024);
    int32_t required = 2000;
    EXPECT_EQ(PrecheckPassed, PrecheckFile(log_, path, ".", required));
  }
  {
    FreeSpace unknown(std::nullopt);
    int32_t required = 100000;
    EXPECT_EQ(PrecheckPassed, PrecheckFile(log_, path, ".", required));
  }
  EXPECT_EQ(0, log_.GetLineCount());
}

TEST(ReportParseError, WritesTheLinesOfEachCodePlainly) {
  int pumped = 0;
  MessagePumpHook previous = SetMessagePump([&] { ++pumped; });
  struct Case {
    int32_t code;
    std::vector<std::string> lines;
  };
  const std::vector<std::string> edited = {
      "ERROR! KORVIN Typeswap does not support manually edited Interleaf ASCII files. ",
      "Open the document in Interleaf and save it as Interleaf ASCII. Do not make any ",
      "changes to the Interleaf ASCII file before running KORVIN Typeswap."};
  const Case cases[] = {
      {1000, {"ERROR! This file is not a valid Interleaf ASCII file."}},
      {1030,
       {"ERROR! KORVIN Typeswap does not support revision tracking. Turn off the ",
        "revision tracking, save the document as Interleaf ASCII and try again."}},
      {1040,
       {"ERROR! KORVIN Typeswap does not support split documents.",
        "Save the document as a single Interleaf ASCII file and try again."}},
      {1070,
       {"ERROR! This file is a Japanese Interleaf ASCII file that is not Shift-JIS encoded.",
        "Open the document in Interleaf and save it as Shift-JIS encoded and try again."}},
      {1080, edited},
      {1090, edited},
      {1100, edited},
      {1110, edited},
  };
  for (const Case& c : cases) {
    CMemoryLoadLog log;
    EXPECT_FALSE(ReportParseError(c.code, log)) << c.code;
    ASSERT_EQ(c.lines.size(), log.Lines().size()) << c.code;
    for (size_t i = 0; i < c.lines.size(); ++i) {
      EXPECT_EQ(c.lines[i], log.Lines()[i].text) << c.code;
      EXPECT_FALSE(log.Lines()[i].shown) << c.code;
    }
  }
  CMemoryLoadLog log;
  EXPECT_TRUE(ReportParseError(1050, log));
  EXPECT_TRUE(ReportParseError(0, log));
  EXPECT_EQ(0, log.GetLineCount());
  SetMessagePump(previous);
  EXPECT_EQ(10, pumped);
}
