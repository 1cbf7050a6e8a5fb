// A run over all lists: where each output file goes, files outside the
// input root, the "files created" line and progress figures.
#include <gtest/gtest.h>

#include "model/CFileTable.h"
#include "output/COutputObserver.h"
#include "output/CReplaceListList.h"
#include "output/CReportSink.h"
#include "output/OutputPaths.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {
struct RecordingObserver : COutputObserver {
  void ShowProgress(const std::string& fileName, int32_t current, int32_t total) override {
    progress.push_back(std::to_string(current) + "/" + std::to_string(total));
  }
  void ShowMessage(const std::string& text, const std::string& caption) override { messages.push_back(text); }
  std::vector<std::string> progress;
  std::vector<std::string> messages;
};

class CReplaceListListTest : public ::testing::Test {
 protected:
  // Adds a replacement of "<F3" at line 1, column 1 of \p path.
  bool AddChange(CReplaceListList& run, const std::string& path) {
    CTextPiece piece("<F3", 1, 1, CharsetSingleByte);
    piece.SetFileNumber(CFileTable::Process().FileNumberOf(path));
    return run.Add(std::make_unique<CReplacePiece>(piece, "<F13"));
  }

  CCollectingReportSink sink;
  CErrorReporter reporter{&sink};
  RecordingObserver observer;
  testsupport::TempDir dir;
  std::string root = (dir.path() / "Docs").string();
  std::string chap = dir.Write("Docs/Sub/Chap1.doc", "<F3>one\r\n");
  std::string intro = dir.Write("Docs/Intro.doc", "<F3>two\r\n");
};
}  // namespace

TEST(OutputPaths, OutputDirectoryResolution) {
  EXPECT_EQ("/out/", ResolveOutputDirectory("/docs/", "/out"));
  EXPECT_EQ("/docs/out/", ResolveOutputDirectory("/docs/", "out"));
  EXPECT_EQ("/docs/out/", ResolveOutputDirectory("/docs", "out/"));
  EXPECT_EQ("/docs/", ResolveOutputDirectory("/docs", ""));
}

TEST_F(CReplaceListListTest, WritesBelowTheOutputDirectoryInTheInputsOwnCase) {
  CReplaceListList run(reporter, &observer);
  run.SetInputRoot(root);
  ASSERT_TRUE(AddChange(run, chap));
  ASSERT_TRUE(AddChange(run, intro));
  EXPECT_EQ(2, run.GetTotalPieces());
  std::string out = (dir.path() / "Out").string();
  run.WriteAll(out);

  EXPECT_EQ("<F13>one\r\n", testsupport::ReadFile(out + "/Sub/Chap1.doc"));
  EXPECT_EQ("<F13>two\r\n", testsupport::ReadFile(out + "/Intro.doc"));
  EXPECT_EQ("Creating file: " + out + "/Intro.doc\n", sink.texts.at(0));
  EXPECT_EQ("Creating file: " + out + "/Sub/Chap1.doc\n", sink.texts.at(1));
  EXPECT_EQ("2 files created.\n", sink.texts.at(2));
  ASSERT_EQ(2u, run.GetWrittenFiles().size());
  EXPECT_EQ(intro, run.GetWrittenFiles()[0].inputName);
  EXPECT_EQ(2, run.GetPiecesDone());
  EXPECT_EQ("100/50", observer.progress.at(0));
  EXPECT_EQ("100/100", observer.progress.back());
}

TEST_F(CReplaceListListTest, RelativeOutputDirectoryLiesUnderTheInputRoot) {
  CReplaceListList run(reporter, &observer);
  // The root is taken from the first file when none is given.
  ASSERT_TRUE(AddChange(run, intro));
  run.WriteAll("out");
  EXPECT_EQ(root + "/", run.GetInputRoot());
  EXPECT_EQ("<F13>two\r\n", testsupport::ReadFile(root + "/out/Intro.doc"));
  // One file: no count line.
  EXPECT_EQ(std::vector<std::string>{"Creating file: " + root + "/out/Intro.doc\n"}, sink.texts);
}

TEST_F(CReplaceListListTest, FileOutsideTheRootIsRefusedAndTheOthersWritten) {
  std::string stray = dir.Write("Elsewhere/Stray.doc", "<F3>three\r\n");
  CReplaceListList run(reporter, &observer);
  run.SetInputRoot(root);
  ASSERT_TRUE(AddChange(run, stray));
  ASSERT_TRUE(AddChange(run, intro));
  std::string out = (dir.path() / "Out").string();
  run.WriteAll(out);
  EXPECT_EQ(std::vector<std::string>{"The file " + stray + " is not in the path " + root +
                                     "/.\n\nIt will not be translated!"},
            observer.messages);
  EXPECT_TRUE(fs::exists(out + "/Intro.doc"));
  EXPECT_EQ(1u, run.GetWrittenFiles().size());
  EXPECT_FALSE(fs::exists(out + "/Stray.doc"));
}

TEST_F(CReplaceListListTest, FailedFileIsNotCountedAsCreated) {
  CReplaceListList run(reporter, &observer);
  run.SetInputRoot(root);
  ASSERT_TRUE(AddChange(run, intro));
  ASSERT_TRUE(AddChange(run, chap));
  // The output directory of one file cannot be made.
  std::string out = (dir.path() / "Out").string();
  dir.Write("Out/Sub", "a file where a directory should be");
  run.WriteAll(out);
  ASSERT_EQ(1u, run.GetWrittenFiles().size());
  EXPECT_EQ(out + "/Intro.doc", run.GetWrittenFiles()[0].outputName);
  EXPECT_EQ(std::string::npos, sink.All().find("files created"));
}
