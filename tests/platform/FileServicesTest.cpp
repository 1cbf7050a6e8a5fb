// File failures and their causes, exclusive opening, free disk space, and
// the message-pump and wait-cursor hooks.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/CExclusiveFile.h"
#include "platform/DiskSpace.h"
#include "platform/FileException.h"
#include "platform/MessagePump.h"
#include "platform/OpenForReading.h"
#include "platform/WaitCursor.h"
#include "tests/support/TestSupport.h"

namespace {

// The cause of the failure that opening \p path raises, or -1 when it opens.
int32_t OpenFailure(const std::string& path) {
  try {
    CExclusiveFile file(path);
    return -1;
  } catch (const CFileException& e) {
    EXPECT_EQ(path, e.FileName());
    return e.GetCause();
  }
}

}  // namespace

TEST(FileException, MapsSystemErrorsToCauses) {
  EXPECT_EQ(0, CFileException::CauseFromErrno(0));
  EXPECT_EQ(2, CFileException::CauseFromErrno(ENOENT));
  EXPECT_EQ(3, CFileException::CauseFromErrno(ENOTDIR));
  EXPECT_EQ(3, CFileException::CauseFromErrno(ENAMETOOLONG));
  EXPECT_EQ(4, CFileException::CauseFromErrno(EMFILE));
  EXPECT_EQ(5, CFileException::CauseFromErrno(EACCES));
  EXPECT_EQ(5, CFileException::CauseFromErrno(EISDIR));
  EXPECT_EQ(6, CFileException::CauseFromErrno(EBADF));
  EXPECT_EQ(10, CFileException::CauseFromErrno(EIO));
  EXPECT_EQ(11, CFileException::CauseFromErrno(EWOULDBLOCK));
  EXPECT_EQ(12, CFileException::CauseFromErrno(ENOLCK));
  EXPECT_EQ(13, CFileException::CauseFromErrno(ENOSPC));
  EXPECT_EQ(1, CFileException::CauseFromErrno(EINVAL));
  CFileException e(CFileException::endOfFile, 0, "/x");
  EXPECT_FALSE(e.Message().empty());
  EXPECT_NE(std::string::npos, std::string(e.what()).find("/x"));
}

TEST(CExclusiveFile, ReadsAndMeasuresTheFile) {
  testsupport::TempDir dir;
  std::string path = dir.Write("a.doc", "0123456789");
  CExclusiveFile file(path);
  EXPECT_EQ(10u, file.Length());
  char buffer[100];
  EXPECT_EQ(10u, file.Read(buffer, sizeof buffer));
  EXPECT_EQ(0u, file.Read(buffer, sizeof buffer));
  file.Close();
  file.Close();
}

TEST(CExclusiveFile, FailuresCarryTheirCause) {
  testsupport::TempDir dir;
  EXPECT_EQ(2, OpenFailure((dir.path() / "missing.doc").string()));
  EXPECT_EQ(3, OpenFailure(dir.Write("plain", "x") + "/below.doc"));
  EXPECT_EQ(5, OpenFailure(dir.path().string()));
}

TEST(CExclusiveFile, AFileHeldElsewhereIsASharingViolation) {
  testsupport::TempDir dir;
  std::string path = dir.Write("held.doc", "x");
  {
    CExclusiveFile holder(path);
    EXPECT_EQ(11, OpenFailure(path));
  }
  EXPECT_EQ(-1, OpenFailure(path));  // free again once closed
}

TEST(DiskSpace, AsksTheSystemUnlessReplaced) {
  ASSERT_TRUE(FreeDiskSpace(".").has_value());
  const uint64_t big = 6ull * 1024 * 1024 * 1024;  // beyond 32 bits
  FreeDiskSpaceQuery previous = SetFreeDiskSpaceQuery([&](const std::string&) { return std::optional<uint64_t>(big); });
  EXPECT_EQ(big, FreeDiskSpace("."));
  SetFreeDiskSpaceQuery([](const std::string&) { return std::optional<uint64_t>(); });
  EXPECT_FALSE(FreeDiskSpace(".").has_value());
  SetFreeDiskSpaceQuery(previous);
  EXPECT_TRUE(FreeDiskSpace(".").has_value());
}

TEST(Hooks, PumpAndWaitCursorCallWhatIsInstalled) {
  PumpOneMessage();  // nothing installed: nothing happens
  int pumped = 0;
  MessagePumpHook previous = SetMessagePump([&] { ++pumped; });
  PumpOneMessage();
  PumpOneMessage();
  SetMessagePump(previous);
  PumpOneMessage();
  EXPECT_EQ(2, pumped);

  // Throttled: the first call runs the pump, the calls within the interval
  // return at once; installing again starts afresh.
  pumped = 0;
  SetMessagePump([&] { ++pumped; }, std::chrono::hours(1));
  for (int i = 0; i < 1000; ++i) PumpOneMessage();
  EXPECT_EQ(1, pumped);
  SetMessagePump([&] { ++pumped; }, std::chrono::hours(1));
  PumpOneMessage();
  EXPECT_EQ(2, pumped);
  SetMessagePump(previous);

  std::string trace;
  WaitCursorHooks before = SetWaitCursorHooks({[&] { trace += "+"; }, [&] { trace += "-"; }});
  {
    CWaitCursor wait;
    trace += "work";
  }
  SetWaitCursorHooks(before);
  { CWaitCursor wait; }
  EXPECT_EQ("+work-", trace);
}

TEST(OpenForReading, OnlyRegularFilesOpen) {
  testsupport::TempDir dir;
  int fd = -1;
  ASSERT_EQ(0, OpenForReading(dir.Write("a.doc", "x"), fd));
  ::close(fd);
  EXPECT_EQ(EISDIR, OpenForReading(dir.path().string(), fd));
  EXPECT_EQ(EACCES, OpenForReading("/dev/zero", fd));
  // A FIFO without a writer would block an ordinary open for ever.
  const std::string fifo = (dir.path() / "fifo").string();
  ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
  EXPECT_EQ(EACCES, OpenForReading(fifo, fd));
  EXPECT_EQ(ENOENT, OpenForReading((dir.path() / "none").string(), fd));
}
