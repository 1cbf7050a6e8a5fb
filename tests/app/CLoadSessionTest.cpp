// The load session: the sections of the log, the fatal summaries, the
// states a page is told about, and Stop from inside the loading.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/CLoadSession.h"
#include "tests/app/LoadTestSupport.h"
#include "tests/support/CodePageScope.h"
#include "tests/support/TestSupport.h"

using namespace loadtest;

namespace {

const std::string kOpenTranslated = "------------------------- Loading Translated Files ------------------------";
const std::string kCloseTranslated = "-------------------- Finished Loading Translated Files --------------------";
const std::string kOpenFonts = "---------------------------- Loading Font Files ---------------------------";
const std::string kCloseFonts = "----------------------- Finished Loading Font Files -----------------------";
const std::string kErrorsFound = "*** ERRORS FOUND WHILE LOADING ***";
const std::string kDefaultCodePageLine =
    "Code page 1252, the default (choose another with --codepage or TYPESWAP_CODEPAGE).";

class CLoadSessionTest : public ::testing::Test {
 protected:
  void Run(const std::string& translated, const std::string& fonts) {
    session_ = std::make_unique<CLoadSession>(CWizardChoices(translated, fonts, "/out", 1), log_);
    session_->SetStateListener([this](LoadState s) { states_.push_back(s); });
    session_->Start();
  }
  // Replaces the disk and the pump (the old stage goes first: it restores
  // what it found).
  void Restage(uint64_t megabytes, MessagePumpHook pump = nullptr) {
    stage_.reset();
    stage_ = std::make_unique<Stage>(megabytes, std::move(pump));
  }

  testsupport::TempDir dir_;
  CMemoryLoadLog log_;
  std::unique_ptr<CLoadSession> session_;
  std::vector<LoadState> states_;
  std::unique_ptr<Stage> stage_ = std::make_unique<Stage>(1000000);
  // Nobody chose a code page, whatever the environment says.
  testsupport::CodePageScope codePage_{kDefaultCodePage, CodePageOrigin::Default};
};

}  // namespace

TEST_F(CLoadSessionTest, BothSectionsWithAFailedFile) {
  std::string latin = DataFile("latin.doc"), fonts = DataFile("fonts.doc");
  std::string tracked = dir_.Write("t.doc", "<!OPS, Version = 8.0>\n<!Revision Tracking, On = yes>\n");
  Run(latin + ";" + tracked + ";", fonts + ";");
  EXPECT_EQ(Lines({kDefaultCodePageLine, kOpenTranslated, "", "Processing: " + latin, "Done!", "", "",
                   "Processing: " + tracked, "ERROR! KORVIN Typeswap does not support revision tracking. Turn off the ",
                   "revision tracking, save the document as Interleaf ASCII and try again.", "", kErrorsFound,
                   kCloseTranslated, kOpenFonts, "", "Processing: " + fonts, "Done!", "", kCloseFonts}),
            Texts(log_));
  EXPECT_FALSE(log_.Lines()[13].shown) << "the font section opens without scrolling";
  EXPECT_EQ(std::vector<LoadState>({LoadState::Busy, LoadState::Finished}), states_);
  EXPECT_EQ(16, session_->TranslatedModel().Count());
  EXPECT_EQ(4, session_->FontModel().Count());
  session_->Start();  // a session loads once
  EXPECT_EQ(19, log_.GetLineCount());
}

TEST_F(CLoadSessionTest, NoValidTranslatedFile) {
  std::string bad = dir_.Write("bad.doc", "<!OPS, Version = 7.0>\n");
  Run(bad, DataFile("fonts.doc"));
  EXPECT_EQ(Lines({kDefaultCodePageLine, kOpenTranslated, "", "Processing: " + bad,
                   "ERROR! Incorrect Interleaf ASCII version (not 8.x).", "", "No valid translated files were found.",
                   kCloseTranslated, "Processing can not continue.", "You will not be able to map any fonts."}),
            Texts(log_));
  EXPECT_EQ(std::vector<LoadState>({LoadState::Busy, LoadState::Failed}), states_);
}

TEST_F(CLoadSessionTest, StopDuringTheTranslatedFiles) {
  // Stop once the first file's parse has read something, however often
  // the reader pumps.
  Restage(1000000, [this] {
    if (session_->TranslatedModel().Count() > 0) session_->Stop();
  });
  std::string latin = DataFile("latin.doc");
  Run(latin + ";" + latin, DataFile("fonts.doc"));
  EXPECT_EQ(Lines({kDefaultCodePageLine, kOpenTranslated, "", "Processing: " + latin,
                   "*************** PROCESS STOPPED ***************"}),
            Texts(log_));
  // Finished at once, then failed when the interrupted loading returns.
  EXPECT_EQ(std::vector<LoadState>({LoadState::Busy, LoadState::Finished, LoadState::Failed}), states_);
}

TEST_F(CLoadSessionTest, DiskSpaceEndsTheFontFilesAfterValidOnes) {
  Restage(3);  // font files are judged one by one
  std::string fonts = DataFile("fonts.doc");
  std::string big = dir_.Write("big.doc", "<!OPS, Version = 8.0>\n" + std::string(1100000, 'x'));
  Run(DataFile("latin.doc"), fonts + ";" + big + ";" + fonts);
  Lines log = Texts(log_);
  EXPECT_EQ(Lines({"Processing: " + big, "ERROR! There is not enough disk space available.",
                   "*************** PROCESS CANCELLED ***************", kErrorsFound, kCloseFonts}),
            Lines(log.end() - 5, log.end()));
  // The cancelled set fails the page; its valid file finishes it again.
  EXPECT_EQ(std::vector<LoadState>({LoadState::Busy, LoadState::Failed, LoadState::Finished}), states_);
}

TEST_F(CLoadSessionTest, AFileThatCannotBeOpenedIsAnError) {
  std::string latin = DataFile("latin.doc");
  std::string missing = (dir_.path() / "missing.doc").string();
  Run(latin + ";" + missing + ";", DataFile("fonts.doc"));
  Lines log = Texts(log_);
  EXPECT_NE(log.end(), std::find(log.begin(), log.end(), kErrorsFound));
}

TEST_F(CLoadSessionTest, AStopBeforeFilesThatFailTheirPrechecksEndsStopped) {
  std::string latin = DataFile("latin.doc");
  std::string bad = dir_.Write("bad.doc", "<!OPS, Version = 7.0>\n");
  Restage(1000000, [this] {
    const Lines log = Texts(log_);
    if (std::find(log.begin(), log.end(), "Done!") != log.end()) session_->Stop();
  });
  Run(latin + ";" + bad + ";", DataFile("fonts.doc"));
  EXPECT_EQ(LoadState::Failed, session_->State());
  EXPECT_EQ(0, session_->FontModel().Count());
}

TEST_F(CLoadSessionTest, FreeSpaceIsThatOfTheOutputFolder) {
  std::vector<std::string> asked;
  FreeDiskSpaceQuery previous = SetFreeDiskSpaceQuery([&asked](const std::string& folder) {
    asked.push_back(folder);
    return std::optional<uint64_t>(uint64_t(1) << 40);
  });
  std::string latin = DataFile("latin.doc");
  Run(latin + ";", DataFile("fonts.doc"));
  const std::string relative = dir_.Write("docs/a.doc", testsupport::ReadFile(latin));
  session_ = std::make_unique<CLoadSession>(CWizardChoices(relative + ";", "", "out", 1), log_);
  session_->Start(false);
  SetFreeDiskSpaceQuery(previous);
  EXPECT_EQ(std::vector<std::string>({"/out", "/out", (dir_.path() / "docs" / "out").string()}), asked);
}
