// Golden reduction files: every tests/reader/golden/parse/<case>.doc run
// through `typeswap-cli reductions` must print exactly <case>.reductions,
// one test case per file. Also the command's contract.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

std::string Reductions(const std::string& args, int& status, const std::string& environment = "") {
  return testsupport::RunCommand(
      environment + testsupport::BuiltProgram("typeswap-cli") + " reductions " + args + " 2>/dev/null", status);
}

}  // namespace

// The cases are listed when the tests are, so the folder is the build's.
const fs::path kGoldenDir = fs::path(TS_READER_GOLDEN_DIR) / "parse";

class ParseGolden : public testing::TestWithParam<std::string> {};

TEST_P(ParseGolden, GivesItsReductions) {
  const fs::path expected = kGoldenDir / (GetParam() + ".reductions");
  ASSERT_TRUE(fs::exists(expected)) << expected;
  // The parse loop built for this processor and the baseline one.
  for (const char* cpu : {"", "TYPESWAP_CPU=baseline "}) {
    SCOPED_TRACE(cpu);
    int status = -1;
    std::string out = Reductions("'" + (kGoldenDir / (GetParam() + ".doc")).string() + "'", status, cpu);
    EXPECT_EQ(testsupport::ReadFile(expected), out);
    EXPECT_EQ(out.find("\nERROR\t") != std::string::npos ? 1 : 0, status);
  }
}

INSTANTIATE_TEST_SUITE_P(Files, ParseGolden, testing::ValuesIn(testsupport::CaseNames(kGoldenDir, ".doc")),
                         [](const auto& info) { return testsupport::TestNameOf(info.param); });

TEST(ParseGoldenFolder, HoldsTheCases) { EXPECT_GE(testsupport::CaseNames(kGoldenDir, ".doc").size(), 10u); }

TEST(ReductionsCommand, Contract) {
  int status = -1;
  EXPECT_EQ("", Reductions("", status));
  EXPECT_EQ(2, status);
  Reductions("a.doc b.doc", status);
  EXPECT_EQ(2, status);
  Reductions("--bogus a.doc", status);
  EXPECT_EQ(2, status);

  testsupport::TempDir dir;
  std::string missing = (dir.path() / "missing.doc").string();
  EXPECT_EQ("ERROR\tSSLex0101e: Error opening file, " + missing + ", 2\n", Reductions(missing, status));
  EXPECT_EQ(1, status);

  // A lexer error mid-file ends the list of reductions made so far.
  std::string bad = dir.Write("bad.doc", "<!OPS, Version = 8.0>\n<!Font Definitions, F1 = Times 10 ?>");
  EXPECT_EQ("26\n33\n9\n8\n6\nERROR\tSSLex0105e: Invalid token, Line 2, Offset 35, ?\n", Reductions(bad, status));
  EXPECT_EQ(1, status);
}
