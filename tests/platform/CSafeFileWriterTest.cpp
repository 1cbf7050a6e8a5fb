// The safe-file writer: the target changes only on Commit; a discarded,
// destroyed, failed or interrupted writer leaves no temporary behind, and a
// later run removes those of a killed one. File identity beside it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "platform/CSafeFileWriter.h"
#include "platform/FileIdentity.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {
std::set<std::string> Entries(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
  return names;
}
}  // namespace

TEST(CSafeFileWriter, TheTargetChangesOnlyOnCommit) {
  testsupport::TempDir dir;
  const std::string target = dir.Write("a.doc", "old");
  {
    CSafeFileWriter file;
    ASSERT_EQ(0, file.Create(target));
    EXPECT_TRUE(CSafeFileWriter::IsTemporaryName(file.TemporaryPath()));
    ASSERT_EQ(0, file.Write("new"));
    EXPECT_EQ("old", testsupport::ReadFile(target));
  }  // destroyed without Commit
  EXPECT_EQ("old", testsupport::ReadFile(target));
  EXPECT_EQ(std::set<std::string>{"a.doc"}, Entries(dir.path()));

  CSafeFileWriter file;
  ASSERT_EQ(0, file.Create(target));
  ASSERT_EQ(0, file.Write("new"));
  ASSERT_EQ(0, file.Commit());
  EXPECT_EQ("new", testsupport::ReadFile(target));
  EXPECT_EQ(std::set<std::string>{"a.doc"}, Entries(dir.path()));
  EXPECT_NE(0, file.Write("more"));  // nothing open any more

  // A folder in the target's place: the rename fails, nothing is left.
  fs::create_directories(dir.path() / "d.doc" / "x");
  ASSERT_EQ(0, file.Create((dir.path() / "d.doc").string()));
  EXPECT_NE(0, file.Commit());
  EXPECT_EQ((std::set<std::string>{"a.doc", "d.doc"}), Entries(dir.path()));
}

TEST(CSafeFileWriter, TransformsTheBytesAndCopiesPermissions) {
  testsupport::TempDir dir;
  const std::string source = dir.Write("in.doc", "x");
  ::chmod(source.c_str(), 0640);
  CSafeFileWriter file;
  ASSERT_EQ(0, file.Create((dir.path() / "out.doc").string()));
  ASSERT_EQ(0, file.CopyPermissionsFrom(source));
  // Upper-cases, and holds back a final byte until the end.
  file.SetTransform([held = std::string()](std::string_view bytes, bool atEnd, std::string& out) mutable {
    held += bytes;
    size_t keep = atEnd || held.empty() ? 0 : 1;
    for (size_t i = 0; i + keep < held.size(); ++i) out += static_cast<char>(std::toupper(held[i]));
    held.erase(0, held.size() - keep);
  });
  ASSERT_EQ(0, file.Write("ab"));
  ASSERT_EQ(0, file.Write("c"));
  ASSERT_EQ(0, file.Commit());
  EXPECT_EQ("ABC", testsupport::ReadFile(dir.path() / "out.doc"));
  struct stat st {};
  ASSERT_EQ(0, ::stat((dir.path() / "out.doc").c_str(), &st));
  EXPECT_EQ(0640u, st.st_mode & 07777);
}

TEST(CSafeFileWriter, SigtermRemovesTheTemporaryAndKeepsTheTarget) {
  testsupport::TempDir dir;
  const std::string target = dir.Write("a.doc", "old");
  for (int signal : {SIGTERM, SIGINT}) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      CSafeFileWriter file;
      if (file.Create(target) != 0 || file.Write(std::string(100000, 'x')) != 0) ::_exit(3);
      ::raise(signal);
      ::_exit(4);  // not reached
    }
    int status = 0;
    ASSERT_EQ(child, ::waitpid(child, &status, 0));
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(signal, WTERMSIG(status));
    EXPECT_EQ("old", testsupport::ReadFile(target));
    EXPECT_EQ(std::set<std::string>{"a.doc"}, Entries(dir.path()));
  }
}

TEST(CSafeFileWriter, ALaterRunRemovesTheTemporariesOfAKilledOne) {
  testsupport::TempDir dir;
  const std::string target = dir.Write("a.doc", "old");
  pid_t gone = ::fork();
  ASSERT_GE(gone, 0);
  if (gone == 0) ::_exit(0);
  ::waitpid(gone, nullptr, 0);
  const std::string stale = "a.doc.tstmp" + std::to_string(gone) + ".0";
  const std::string running = "b.doc.tstmp" + std::to_string(::getppid()) + ".0";
  dir.Write(stale, "half");
  dir.Write(running, "busy");
  dir.Write("notes.tstmp.txt", "mine");  // not one of ours
  CSafeFileWriter file;
  ASSERT_EQ(0, file.Create(target));
  file.Discard();
  EXPECT_EQ((std::set<std::string>{"a.doc", running, "notes.tstmp.txt"}), Entries(dir.path()));
}

TEST(FileIdentity, SameFileIsDecidedByTheFileSystem) {
  testsupport::TempDir dir;
  const std::string a = dir.Write("sub/a.doc", "a");
  dir.Write("sub/A.doc", "A");
  fs::create_directory_symlink(dir.path() / "sub", dir.path() / "link");
  fs::create_hard_link(a, dir.path() / "hard.doc");
  EXPECT_TRUE(SameFile(a, (dir.path() / "sub" / ".." / "sub" / "." / "a.doc").string()));
  EXPECT_TRUE(SameFile(a, (dir.path() / "link" / "a.doc").string()));
  EXPECT_TRUE(SameFile(a, (dir.path() / "hard.doc").string()));
  EXPECT_FALSE(SameFile(a, (dir.path() / "sub" / "A.doc").string()));
  EXPECT_FALSE(SameFile(a, (dir.path() / "sub" / "b.doc").string()));
  // Paths of nothing compare as canonical paths, case kept.
  EXPECT_TRUE(SameFile((dir.path() / "new" / "x.doc").string(), (dir.path() / "link" / ".." / "new/x.doc").string()));
  EXPECT_FALSE(SameFile((dir.path() / "new" / "x.doc").string(), (dir.path() / "new" / "X.doc").string()));
  EXPECT_EQ(FileKey(a), FileKey((dir.path() / "link" / "a.doc").string()));
  EXPECT_NE(FileKey(a), FileKey((dir.path() / "sub" / "A.doc").string()));
}
