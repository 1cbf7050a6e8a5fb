// The code page of a loading job: the user's choice stands; otherwise the
// first translated file's header decides, afresh for every job; the log's
// first line says which and why.
#include <gtest/gtest.h>

#include <memory>

#include "app/CLoadSession.h"
#include "app/JobCodePage.h"
#include "tests/app/LoadTestSupport.h"
#include "tests/support/CodePageScope.h"
#include "tests/support/TestSupport.h"

using namespace loadtest;

namespace {

const std::string kParserError = "ERROR! A parser error occurred.";

class JobCodePageTest : public ::testing::Test {
 protected:
  // One session over \p translated alone; its log.
  Lines Load(const std::string& translated) {
    CMemoryLoadLog log;
    CLoadSession session(CWizardChoices(translated, "", "/out", 1), log);
    session.Start(false);
    finished_ = session.State() == LoadState::Finished;
    return Texts(log);
  }
  static bool Has(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  testsupport::TempDir dir_;
  Stage stage_{1000000};
  bool finished_ = false;
};

}  // namespace

TEST_F(JobCodePageTest, AShiftJisFirstFileMakesTheJobShiftJis) {
  testsupport::CodePageScope unchosen(kDefaultCodePage, CodePageOrigin::Default);
  Lines log = Load(DataFile("sjis.doc") + ";" + DataFile("latin.doc"));
  EXPECT_EQ("Code page 932 (Shift-JIS): the first translated file declares Character Encoding = SJIS.", log.at(0));
  EXPECT_FALSE(Has(log, kParserError));
  EXPECT_TRUE(finished_);
  EXPECT_EQ(932, ProcessCodePage());  // for the rest of the job: mapping and output
  // The next job decides again: a Latin first file goes back to the default.
  log = Load(DataFile("latin.doc") + ";" + DataFile("sjis.doc"));
  EXPECT_EQ("Code page 1252, the default (choose another with --codepage or TYPESWAP_CODEPAGE).", log.at(0));
  EXPECT_EQ(1252, ProcessCodePage());
  EXPECT_TRUE(Has(log, kParserError)) << "a later Shift-JIS file decides nothing";
}

TEST_F(JobCodePageTest, ACodePageTheUserChoseStands) {
  {
    testsupport::CodePageScope chosen(1252, CodePageOrigin::Option);
    Lines log = Load(DataFile("sjis.doc"));
    EXPECT_EQ("Code page 1252, chosen with --codepage.", log.at(0));
    EXPECT_TRUE(Has(log, kParserError));
    EXPECT_EQ(1252, ProcessCodePage());
  }
  {
    testsupport::CodePageScope chosen(932, CodePageOrigin::Environment);
    Lines log = Load(DataFile("latin.doc"));
    EXPECT_EQ("Code page 932, chosen with TYPESWAP_CODEPAGE.", log.at(0));
    EXPECT_TRUE(finished_);
    EXPECT_EQ(932, ProcessCodePage());
  }
}

TEST_F(JobCodePageTest, OnlyTheHeaderDeclares) {
  const std::pair<std::string, int32_t> cases[] = {
      {"<!OPS, Version = 8.1 Character Encoding = SJIS>\n", 932},
      {"<!OPS, Version = 8.1\tCharacter Encoding=SJIS>\n", 932},
      {"<!OPS, Version = 8.1 Character Encoding = EUC>\n", 0},
      {"<!OPS, Version = 8.1 Character Encoding = SJISX>\n", 0},
      {"<!OPS, Version = 8.0>\n<!-- Character Encoding = SJIS>\n", 0},  // after the header
      {"Character Encoding = SJIS\n", 0},                               // no header
  };
  for (const auto& [text, codePage] : cases) {
    EXPECT_EQ(codePage, DeclaredCodePage(dir_.Write("h.doc", text))) << text;
  }
  EXPECT_EQ(0, DeclaredCodePage((dir_.path() / "missing.doc").string()));
}
