// The output job that Run and typeswap-cli run share: what its summary
// says about complete, failed and converted runs, and that it ends with
// empty progress.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "app/CMemoryLoadLog.h"
#include "mapping/CMappingJob.h"
#include "mapping/CMessageSink.h"
#include "output/COutputObserver.h"
#include "output/CReportSink.h"
#include "output/OutputJob.h"
#include "platform/CodePage.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

struct Progress {
  std::string fileName;
  int32_t current, total;
};

class RecordingObserver : public COutputObserver {
 public:
  void ShowProgress(const std::string& fileName, int32_t current, int32_t total) override {
    progress.push_back({fileName, current, total});
  }
  void ShowMessage(const std::string& text, const std::string& caption) override { messages.push_back(text); }
  std::vector<Progress> progress;
  std::vector<std::string> messages;
};

std::string Example(const char* name) { return testsupport::SourcePath(std::string("examples/") + name).string(); }

class OutputJobTest : public ::testing::Test {
 protected:
  OutputJobTest() : saved_(ProcessCodePage()) { SetProcessCodePage(932); }
  ~OutputJobTest() override { SetProcessCodePage(saved_); }

  // Both samples loaded, with the demo map applied unless \p withMap is false,
  // written by one job.
  OutputSummary Run(bool euc, bool withMap = true, bool dryRun = false, int32_t writeThreads = 0) {
    CWizardChoices choices(Example("brochure.doc") + ";" + Example("manual-ja.doc") + ";",
                           Example("fonts-ja.doc") + ";", out.string(), 1);
    CMemoryLoadLog log;
    CMappingJob job(choices, log);
    EXPECT_TRUE(job.Load(true));
    CCollectingMessageSink messages;
    std::vector<std::string> maps;
    if (withMap) maps.push_back(Example("demo-map.txt"));
    EXPECT_TRUE(job.BuildTable(maps, messages));
    OutputJobOptions options;
    options.convertToEuc = euc;
    options.reports = &reports;
    options.observer = &observer;
    options.dryRun = dryRun;
    options.writeThreads = writeThreads;
    return RunOutputJob(job.Session().TranslatedModel(), choices, options);
  }

  testsupport::TempDir dir;
  fs::path out = dir.path() / "out";
  CCollectingReportSink reports;
  RecordingObserver observer;

 private:
  int32_t saved_;
};

}  // namespace

TEST_F(OutputJobTest, CompleteRunCountsEveryFileAndEndsWithEmptyProgress) {
  fs::create_directory(out);
  const OutputSummary summary = Run(true);
  EXPECT_EQ(2, summary.filesExpected);
  EXPECT_EQ(2, summary.filesWritten);
  EXPECT_EQ(0, summary.filesFailed);
  EXPECT_EQ(2, summary.filesConverted);
  EXPECT_TRUE(summary.Complete());
  ASSERT_EQ(2u, summary.written.size());
  EXPECT_TRUE(observer.messages.empty());
  EXPECT_NE(std::string::npos, reports.All().find("2 files created."));
  ASSERT_FALSE(observer.progress.empty());
  EXPECT_EQ("", observer.progress.back().fileName);
  EXPECT_EQ(0, observer.progress.back().total);
  // Progress came while the files were written.
  EXPECT_GT(observer.progress.size(), 1u);
}

TEST_F(OutputJobTest, FileThatCannotBeWrittenFailsTheJobButNotTheOthers) {
  fs::create_directories(out / "brochure.doc");
  const OutputSummary summary = Run(true);
  EXPECT_EQ(2, summary.filesExpected);
  EXPECT_EQ(1, summary.filesWritten);
  EXPECT_EQ(1, summary.filesFailed);
  // The one written file is converted; the other is named by the
  // conversion, which is no further failure.
  EXPECT_EQ(1, summary.filesConverted);
  EXPECT_FALSE(summary.Complete());
  EXPECT_NE(std::string::npos, reports.All().find("File Error!"));
  EXPECT_TRUE(fs::is_regular_file(out / "manual-ja.doc"));
}

TEST_F(OutputJobTest, NothingMappedWritesNothingAndIsComplete) {
  fs::create_directory(out);
  const OutputSummary summary = Run(false, false);
  EXPECT_EQ(0, summary.filesExpected);
  EXPECT_EQ(0, summary.filesWritten);
  EXPECT_TRUE(summary.Complete());
  EXPECT_TRUE(fs::is_empty(out));
}

TEST_F(OutputJobTest, DryRunWritesNothingAndGivesEachFilesDifferences) {
  fs::create_directory(out);
  const fs::path scratch = dir.path() / "tmp";
  fs::create_directory(scratch);
  const char* saved = std::getenv("TMPDIR");
  const std::string savedValue = saved ? saved : "";
  setenv("TMPDIR", scratch.c_str(), 1);
  const OutputSummary summary = Run(true, true, true);
  if (saved)
    setenv("TMPDIR", savedValue.c_str(), 1);
  else
    unsetenv("TMPDIR");

  EXPECT_TRUE(summary.Complete());
  EXPECT_EQ(2, summary.filesWritten);
  EXPECT_EQ(0, summary.filesConverted);  // no conversion in a dry run
  EXPECT_TRUE(fs::is_empty(out));
  EXPECT_TRUE(fs::is_empty(scratch));  // the scratch folder went again
  ASSERT_EQ(2u, summary.differences.size());
  EXPECT_EQ("brochure.doc", summary.differences[0].name);
  EXPECT_EQ((out / "brochure.doc").string(), summary.written[0].outputName);
  ASSERT_FALSE(summary.differences[0].hunks.empty());
  // The first hunk adds the new definitions after the tag.
  const DiffHunk& first = summary.differences[0].hunks[0];
  EXPECT_EQ(first.beforeCount + 10, first.afterCount);
  EXPECT_TRUE(std::any_of(first.lines.begin(), first.lines.end(),
                          [](const DiffLine& l) { return l.op == '+' && l.text == "\tF11 = Palatino 10,"; }));
}

TEST_F(OutputJobTest, FilesWrittenSideBySideGiveTheSummaryAndTextsOfOneThread) {
  // One copy cannot be written; the other is checked and converted.
  fs::create_directories(out / "brochure.doc");
  auto transcript = [&](int32_t threads) {
    reports.texts.clear();
    observer.progress.clear();
    observer.messages.clear();
    const OutputSummary summary = Run(true, true, false, threads);
    std::vector<std::string> told = reports.texts;
    for (const Progress& p : observer.progress) {
      told.push_back(p.fileName + " " + std::to_string(p.current) + "/" + std::to_string(p.total));
    }
    told.insert(told.end(), observer.messages.begin(), observer.messages.end());
    for (int32_t count : {summary.filesExpected, summary.filesWritten, summary.filesFailed, summary.filesConverted,
                          summary.filesUnverified}) {
      told.push_back(std::to_string(count));
    }
    for (const COutputRecord& record : summary.written) told.push_back(testsupport::ReadFile(record.outputName));
    return told;
  };
  const std::vector<std::string> one = transcript(1);
  EXPECT_EQ(one, transcript(2));
  EXPECT_EQ(one, transcript(5));
}
