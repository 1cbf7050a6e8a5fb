// Checking written files: a correct run passes, and a copy whose fonts were
// broken after writing, or that cannot be read, is caught.
#include <gtest/gtest.h>

#include <fstream>

#include "app/CLoadSession.h"
#include "app/CMemoryLoadLog.h"
#include "app/StopFlag.h"
#include "mapping/CMappingTable.h"
#include "mapping/CMessageSink.h"
#include "mapping/FontMapFile.h"
#include "output/CErrorReporter.h"
#include "output/CReportSink.h"
#include "output/GenerateOutput.h"
#include "output/VerifyOutput.h"
#include "platform/CodePage.h"
#include "tests/support/TestSupport.h"

namespace {

class VerifyOutputTest : public ::testing::Test {
 protected:
  VerifyOutputTest() : saved_(ProcessCodePage()) { SetProcessCodePage(932); }
  ~VerifyOutputTest() override { SetProcessCodePage(saved_); }

  // Loads the two samples, applies the demo map and writes the copies.
  std::vector<COutputRecord> Run() {
    const std::string brochure = testsupport::SourcePath("examples/brochure.doc").string();
    const std::string manual = testsupport::SourcePath("examples/manual-ja.doc").string();
    choices = std::make_unique<CWizardChoices>(brochure + ";" + manual + ";",
                                               testsupport::SourcePath("examples/fonts-ja.doc").string() + ";",
                                               (dir.path() / "out").string(), 1);
    session = std::make_unique<CLoadSession>(*choices, log);
    session->Start(true);
    EXPECT_EQ(LoadState::Finished, session->State());
    CMappingTable table(session->TranslatedModel());
    table.BuildTable();
    CCollectingMessageSink messages;
    LoadFontMaps({testsupport::SourcePath("examples/demo-map.txt").string()}, table, session->FontModel(), messages);
    return GenerateOutput(session->TranslatedModel(), *choices, {}, reporter, nullptr).written;
  }

  // Replaces the first \p from after \p anchor in \p path by \p to.
  static void Edit(const std::string& path, const std::string& anchor, const std::string& from, const std::string& to) {
    std::string text = testsupport::ReadFile(path);
    const size_t at = text.find(from, text.find(anchor));
    ASSERT_NE(std::string::npos, at);
    text.replace(at, from.size(), to);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  }

  testsupport::TempDir dir;
  CMemoryLoadLog log;
  std::unique_ptr<CWizardChoices> choices;
  std::unique_ptr<CLoadSession> session;
  CCollectingReportSink reports;
  CErrorReporter reporter{&reports};

 private:
  int32_t saved_;
};

}  // namespace

TEST_F(VerifyOutputTest, ACorrectRunPassesEvenAfterALoadWasStopped) {
  const std::vector<COutputRecord> written = Run();
  ASSERT_EQ(2u, written.size());
  EXPECT_TRUE(VerifyOutput(session->TranslatedModel(), written).empty());
  // Stop on the load page leaves the flag set; the check reads regardless
  // and leaves the flag as it found it.
  SetStopFlag(1);
  EXPECT_TRUE(VerifyOutput(session->TranslatedModel(), written).empty());
  EXPECT_EQ(1, GetStopFlag());
  SetStopFlag(0);
}

TEST_F(VerifyOutputTest, AReferenceLeftAtItsOldFontIsCaughtWithItsPlace) {
  const std::vector<COutputRecord> written = Run();
  // The body class's font, F11 after the run, put back to the old F2.
  Edit(written[0].outputName, "<!Class, \"body\"", "F11,", "F2,");
  const std::vector<CVerifyFailure> failures = VerifyOutput(session->TranslatedModel(), written);
  ASSERT_EQ(1u, failures.size());
  EXPECT_EQ(written[0].outputName, failures[0].outputName);
  EXPECT_NE(std::string::npos, failures[0].message.find(written[0].outputName)) << failures[0].message;
  EXPECT_NE(std::string::npos, failures[0].message.find("body is Times 10 where Palatino 10 was asked"))
      << failures[0].message;
}

TEST_F(VerifyOutputTest, AChangedDefinitionOrAnUnreadableCopyIsCaught) {
  const std::vector<COutputRecord> written = Run();
  // Both the new definition and an old one change their meaning.
  Edit(written[0].outputName, "<!Font Definitions,", "Palatino 10,", "Palatino 12,");
  std::ofstream(written[1].outputName, std::ios::binary | std::ios::trunc) << "not Interleaf\n";
  const std::vector<CVerifyFailure> failures = VerifyOutput(session->TranslatedModel(), written);
  ASSERT_EQ(2u, failures.size());
  EXPECT_NE(std::string::npos, failures[0].message.find("where Palatino 10 was asked")) << failures[0].message;
  EXPECT_NE(std::string::npos, failures[1].message.find("It could not be read again.")) << failures[1].message;
}
