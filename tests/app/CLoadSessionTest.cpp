// The load session: the sections of the log, the fatal summaries, the
// states a page is told about, and Stop from inside the loading.
#include "app/CLoadSession.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/SharedOperations.h"
#include "tests/app/LoadTestSupport.h"
#include "tests/support/TestSupport.h"

using loadtest::DataFile;
using loadtest::Texts;
using Lines = std::vector<std::string>;

namespace {

const std::string kOpenTranslated =
    "------------------------- Loading Translated Files ------------------------";
const std::string kCloseTranslated =
    "-------------------- Finished Loading Translated Files --------------------";
const std::string kOpenFonts =
    "---------------------------- Loading Font Files ---------------------------";
const std::string kCloseFonts =
    "----------------------- Finished Loading Font Files -----------------------";
const std::string kErrorsFound = "*** ERRORS FOUND WHILE LOADING ***";
const Lines kCannotGoOn = {"Processing can not continue.", "You will not be able to map any fonts."};

class CLoadSessionTest : public ::testing::Test {
 protected:
  // A session over the two selections; records every state it is told.
  void Run(const std::string& translated, const std::string& fonts,
           int32_t fontType = FontFilesInterleaf, bool withFonts = true) {
    session_ = std::make_unique<CLoadSession>(CWizardChoices(translated, fonts, "/out", fontType), log_);
    session_->SetStateListener([this](LoadState s) { states_.push_back(s); });
    session_->Start(withFonts);
  }
  Lines Log() const { return Texts(log_); }
  bool Contains(const std::string& line) const {
    Lines log = Log();
    return std::find(log.begin(), log.end(), line) != log.end();
  }
  // The file block of a file loaded without error.
  static Lines Done(const std::string& path) { return {"", "Processing: " + path, "Done!", ""}; }

  testsupport::TempDir dir_;
  CMemoryLoadLog log_;
  std::unique_ptr<CLoadSession> session_;
  std::vector<LoadState> states_;
  loadtest::FreeSpace plenty_{1000000};
  loadtest::PumpHook noPump_{nullptr};
};

Lines Concat(std::initializer_list<Lines> parts) {
  Lines out;
  for (const Lines& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

}  // namespace

TEST_F(CLoadSessionTest, BothSectionsWithAFailedFile) {
  std::string latin = DataFile("latin.doc"), fonts = DataFile("fonts.doc");
  std::string tracked = dir_.Write("tracked.doc", "<!OPS, Version = 8.0>\n<!Revision Tracking, On = yes>\n");
  Run(latin + ";" + tracked + ";", fonts + ";");
  EXPECT_EQ(Concat({{kOpenTranslated},
                    Done(latin),
                    {"", "Processing: " + tracked,
                     "ERROR! KORVIN Typeswap does not support revision tracking. Turn off the ",
                     "revision tracking, save the document as Interleaf ASCII and try again.", "",
                     kErrorsFound, kCloseTranslated, kOpenFonts},
                    Done(fonts),
                    {kCloseFonts}}),
            Log());
  EXPECT_EQ(std::vector<LoadState>({LoadState::Busy, LoadState::Finished}), states_);
  EXPECT_EQ(LoadState::Finished, session_->State());
  EXPECT_EQ(16, session_->TranslatedModel().Count());
  EXPECT_EQ(4, session_->FontModel().Count());
  // The font section's opening line is added without scrolling to it.
  EXPECT_FALSE(log_.Lines()[13].shown);

  // A session loads once.
  size_t lines = log_.Lines().size();
  session_->Start();
  EXPECT_EQ(lines, log_.Lines().size());
  EXPECT_EQ(2u, states_.size());
}

TEST_F(CLoadSessionTest, NoValidTranslatedFile) {
  std::string bad = dir_.Write("bad.doc", "<!OPS, Version = 7.0>\n");
  Run(bad + ";", DataFile("fonts.doc"));
  EXPECT_EQ(Concat({{kOpenTranslated, "", "Processing: " + bad,
                     "ERROR! Incorrect Interleaf ASCII version (not 8.x).", "",
                     "No valid translated files were found.", kCloseTranslated},
                    kCannotGoOn}),
            Log());
  EXPECT_EQ(std::vector<LoadState>({LoadState::Busy, LoadState::Failed}), states_);
  EXPECT_EQ(0, session_->FontModel().Count());
}

TEST_F(CLoadSessionTest, NoValidFontFile) {
  std::string latin = DataFile("latin.doc");
  std::string bad = dir_.Write("bad.doc", "no header\n");
  Run(latin, bad);
  Lines log = Log();
  EXPECT_EQ(Concat({{kOpenFonts, "", "Processing: " + bad,
                     "ERROR! This file is not a valid Interleaf ASCII file.", "",
                     "No valid font files were found.", kCloseFonts},
                    kCannotGoOn}),
            Lines(log.begin() + 6, log.end()));
  EXPECT_EQ(LoadState::Failed, session_->State());
}

TEST_F(CLoadSessionTest, FontMapFilesAsFontFiles) {
  std::string latin = DataFile("latin.doc"), map = DataFile("fonts.txt");
  Run(latin, map + ";", FontFilesMapFiles);
  Lines log = Log();
  EXPECT_EQ(Lines({kOpenFonts, "", "Processing: " + map, "Done!", "", "", kCloseFonts}),
            Lines(log.begin() + 6, log.end()));
  EXPECT_EQ(LoadState::Finished, session_->State());
  EXPECT_EQ(1u, session_->FontModel().DefinedFamilies().size());
  EXPECT_EQ(1u, session_->FontModel().NamedFamilies().size());

  // A map file that fails is counted and named in the section's end.
  CMemoryLoadLog log2;
  std::string notMap = dir_.Write("x.txt", "Heading;;Times;12;;;\r\n");
  CLoadSession session(CWizardChoices(latin, map + ";" + notMap, "", FontFilesMapFiles), log2);
  session.Start();
  Lines tail = Texts(log2);
  EXPECT_EQ(Lines({"ERROR! This file is not a valid KORVIN Typeswap font map file.", "", "",
                   kErrorsFound, kCloseFonts}),
            Lines(tail.end() - 5, tail.end()));
  EXPECT_EQ(LoadState::Finished, session.State());
}

TEST_F(CLoadSessionTest, TranslatedFilesOnly) {
  Run(DataFile("latin.doc"), "", FontFilesNeverBrowsed, false);
  EXPECT_EQ(kCloseTranslated, Log().back());
  EXPECT_EQ(LoadState::Finished, session_->State());
}

TEST_F(CLoadSessionTest, StopDuringTheTranslatedFiles) {
  int32_t pumps = 0;
  loadtest::PumpHook hook([this, &pumps] {
    if (++pumps == 40) session_->Stop();
  });
  std::string latin = DataFile("latin.doc");
  Run(latin + ";" + latin, DataFile("fonts.doc"));
  EXPECT_EQ(Lines({kOpenTranslated, "", "Processing: " + latin,
                   "*************** PROCESS STOPPED ***************"}),
            Log());
  // Finished at once, then failed when the interrupted loading returns.
  EXPECT_EQ(std::vector<LoadState>({LoadState::Busy, LoadState::Finished, LoadState::Failed}),
            states_);
  EXPECT_EQ(1, GetStopFlag());
}

TEST_F(CLoadSessionTest, DiskSpaceEndsTheFontFilesAfterValidOnes) {
  // Font files are judged one by one: only the big one is too much.
  loadtest::FreeSpace free(3);
  std::string fonts = DataFile("fonts.doc");
  std::string big = dir_.Write("big.doc", "<!OPS, Version = 8.0>\n" + std::string(1100000, 'x'));
  Run(DataFile("latin.doc"), fonts + ";" + big + ";" + fonts);
  Lines log = Log();
  EXPECT_EQ(Lines({"", "Processing: " + big, "ERROR! There is not enough disk space available.",
                   "*************** PROCESS CANCELLED ***************", kErrorsFound, kCloseFonts}),
            Lines(log.end() - 6, log.end()));
  // The cancelled set fails the page, and its valid file finishes it again.
  EXPECT_EQ(std::vector<LoadState>({LoadState::Busy, LoadState::Failed, LoadState::Finished}),
            states_);
}
