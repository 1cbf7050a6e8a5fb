// A run over all lists: where each output file goes, files outside the
// input root, the "files created" line and progress figures.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <tuple>

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

TEST_F(CReplaceListListTest, ProgressIsShownWhereEitherPercentageGrows) {
  // Figures are worked out only where one grows; what is shown must be what
  // working them out for every piece shows.
  CReplaceListList run(reporter, &observer);
  std::vector<std::string> expected;
  int32_t lastTotal = 0, lastCurrent = 0;
  auto step = [&](int32_t done, int32_t count) {
    const int64_t total = run.GetTotalPieces() == 0 ? 100 : int64_t{done} * 100 / run.GetTotalPieces();
    const int64_t current = int64_t{done} * 100 / count;
    if (lastTotal >= total && lastCurrent >= current) return;
    lastTotal = static_cast<int32_t>(total);
    lastCurrent = static_cast<int32_t>(current);
    expected.push_back(std::to_string(current) + "/" + std::to_string(total));
  };
  const std::pair<int32_t, int32_t> files[] = {{7, 1000}, {250, 1000}, {999, 1000}, {3, 3}, {1, 0}, {130, 7}};
  for (const auto& [count, total] : files) {
    run.SetTotalPieces(total);
    for (int32_t done = 1; done <= count; ++done) {
      step(done, count);
      const int32_t next = run.ReportProgress("F.doc", done, count);
      EXPECT_GT(next, done);
    }
  }
  EXPECT_EQ(expected, observer.progress);
  EXPECT_GT(expected.size(), 300u);
}

namespace {

// Everything a run of several files tells, in the order told on either
// channel, and leaves.
struct RunTranscript {
  std::vector<std::string> told, written, outputs, folder;
  int32_t piecesDone = 0;
  bool operator==(const RunTranscript& other) const {
    return told == other.told && written == other.written && outputs == other.outputs && folder == other.folder &&
           piecesDone == other.piecesDone;
  }
  size_t Count(const std::string& kind) const {
    return std::count_if(told.begin(), told.end(), [&](const std::string& text) { return text.rfind(kind, 0) == 0; });
  }
};

// The run's reports, progress and messages in one list.
struct TellingEverything : COutputObserver, CReportSink {
  void ShowProgress(const std::string& fileName, int32_t current, int32_t total) override {
    told.push_back("progress " + fileName + " " + std::to_string(current) + "/" + std::to_string(total));
    if (!failOn.empty() && fileName.size() >= failOn.size() &&
        fileName.compare(fileName.size() - failOn.size(), failOn.size(), failOn) == 0 && current >= 50) {
      throw std::runtime_error("the window went");
    }
  }
  std::string failOn;  // the progress of this file fails half way
  void ShowMessage(const std::string& text, const std::string& caption) override {
    told.push_back("message " + caption + ": " + text);
  }
  void AppendText(std::string_view text) override { told.push_back("report " + std::string(text)); }
  std::vector<std::string> told;
};

// \p text with every \p from replaced by \p to.
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// A line "<F3>n" for each of \p lines lines.
std::string Lines(int32_t lines) {
  std::string text;
  for (int32_t line = 1; line <= lines; ++line) text += "<F3>" + std::to_string(line) + "\r\n";
  return text;
}

// A run over files that fail in every way but one in the middle of the
// others, written \p threads at once into a folder of its own.
RunTranscript RunSeveralFiles(int32_t threads, bool convertToEuc, const std::string& failOn = {}) {
  testsupport::TempDir dir;
  const std::string root = (dir.path() / "Docs").string();
  // name, lines in the file, lines changed (past its end: the read fails)
  const std::tuple<const char*, int32_t, int32_t> documents[] = {
      {"Docs/A.doc", 300, 300}, {"Docs/B.doc", 126, 150},  {"Docs/C.doc", 5, 5},   {"Docs/D.doc", 120, 120},
      {"Docs/E/F.doc", 1, 1},   {"Elsewhere/G.doc", 3, 3}, {"Docs/H.doc", 77, 77}, {"Docs/I.doc", 10, 10}};
  TellingEverything told;
  told.failOn = failOn;
  CErrorReporter reporter(&told);
  CReplaceListList run(reporter, &told);
  run.SetInputRoot(root);
  run.SetWriteThreads(threads);
  run.SetConvertToEuc(convertToEuc);
  for (const auto& [name, lines, changed] : documents) {
    const std::string path = dir.Write(name, Lines(lines));
    const uint32_t file = CFileTable::Process().FileNumberOf(path);
    for (int32_t line = 1; line <= changed; ++line) {
      CTextPiece piece("<F3", line, 1, CharsetSingleByte);
      piece.SetFileNumber(file);
      EXPECT_TRUE(run.Add(std::make_unique<CReplacePiece>(piece, "<F13")));
    }
    // One file changed since it was loaded.
    if (std::string(name) == "Docs/I.doc") run.ListFor(path).SetExpectedStamp(CFileStamp{});
  }
  const std::string out = (dir.path() / "Out").string();
  // A folder where one copy should go, and a file where another's folder
  // should be.
  fs::create_directories(out + "/C.doc");
  dir.Write("Out/E", "in the way");
  EXPECT_FALSE(run.WriteAll(out));

  RunTranscript transcript;
  // Each run has a folder of its own.
  for (const std::string& text : told.told) transcript.told.push_back(ReplaceAll(text, dir.path().string(), "<dir>"));
  for (const COutputRecord& record : run.GetWrittenFiles()) {
    transcript.written.push_back(fs::path(record.outputName).lexically_relative(dir.path()).string());
    transcript.outputs.push_back(testsupport::ReadFile(record.outputName));
  }
  transcript.piecesDone = run.GetPiecesDone();
  // What the folder holds: the copies put in place, and nothing else.
  for (const auto& entry : fs::recursive_directory_iterator(out)) {
    transcript.folder.push_back(entry.path().lexically_relative(out).string());
  }
  std::sort(transcript.folder.begin(), transcript.folder.end());
  return transcript;
}

}  // namespace

TEST_F(CReplaceListListTest, FilesWrittenSideBySideTellAndWriteWhatOneThreadDoes) {
  for (bool euc : {false, true}) {
    const RunTranscript one = RunSeveralFiles(1, euc);
    // Failures in the middle: reports numbered across files, and progress
    // carried from file to file.
    EXPECT_EQ(3u, one.written.size());
    EXPECT_GE(one.Count("report \n[5]"), 1u);
    EXPECT_GT(one.Count("progress "), 100u);
    EXPECT_EQ(1u, one.Count("message "));
    for (int32_t threads : {2, 3, 8}) {
      const RunTranscript several = RunSeveralFiles(threads, euc);
      EXPECT_TRUE(one == several) << threads << " threads";
      EXPECT_EQ(one.told, several.told);
    }
  }
}

TEST_F(CReplaceListListTest, AnObserverFailingOnAFileDropsItsCopyAsOnOneThread) {
  // What the observer throws while a file is written fails that file; the
  // files after it are still written.
  const RunTranscript one = RunSeveralFiles(1, false, "D.doc");
  EXPECT_EQ(1, std::count_if(one.told.begin(), one.told.end(), [](const std::string& text) {
              return text.find("File Error! the window went") != std::string::npos;
            }));
  EXPECT_EQ(0, std::count(one.folder.begin(), one.folder.end(), "D.doc"));
  EXPECT_EQ(1, std::count(one.folder.begin(), one.folder.end(), "H.doc"));
  for (int32_t threads : {2, 3, 8}) {
    const RunTranscript several = RunSeveralFiles(threads, false, "D.doc");
    EXPECT_TRUE(one == several) << threads << " threads";
    EXPECT_EQ(one.told, several.told);
    EXPECT_EQ(one.folder, several.folder);
  }
}
