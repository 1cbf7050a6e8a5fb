// Golden token files: every tests/reader/golden/<case>.doc lexed by
// `typeswap-cli tokens` must print exactly <case>.tokens, one test case per
// file. A case whose name ends in -cp932 runs with --codepage 932. Also the
// command's contract.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

std::string Tokens(const std::string& args, int& status) {
  return testsupport::RunCommand(testsupport::BuiltProgram("typeswap-cli") + " tokens " + args + " 2>/dev/null",
                                 status);
}

}  // namespace

// The cases are listed when the tests are, so the folder is the build's.
const fs::path kGoldenDir = TS_READER_GOLDEN_DIR;

class LexGolden : public testing::TestWithParam<std::string> {};

TEST_P(LexGolden, GivesItsTokens) {
  const std::string name = GetParam();
  const fs::path expected = kGoldenDir / (name + ".tokens");
  ASSERT_TRUE(fs::exists(expected)) << expected;
  const bool cp932 = name.size() > 6 && name.substr(name.size() - 6) == "-cp932";
  // The lexer's loop built for this processor and the baseline one.
  for (const char* cpu : {"", "TYPESWAP_CPU=baseline "}) {
    SCOPED_TRACE(cpu);
    int status = -1;
    // Run beside the file, so that messages name it as the golden file does.
    std::string out = testsupport::RunCommand("cd '" + kGoldenDir.string() + "' && " + cpu +
                                                  testsupport::BuiltProgram("typeswap-cli") + " tokens " +
                                                  (cp932 ? "--codepage 932 " : "") + name + ".doc",
                                              status);
    EXPECT_EQ(out, testsupport::ReadFile(expected));
    const bool failed = out.rfind("\nERROR\t") != std::string::npos || out.rfind("ERROR\t", 0) == 0;
    EXPECT_EQ(status, failed ? 1 : 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Files, LexGolden, testing::ValuesIn(testsupport::CaseNames(kGoldenDir, ".doc")),
                         [](const auto& info) { return testsupport::TestNameOf(info.param); });

TEST(LexGoldenFolder, HoldsTheCases) { EXPECT_GE(testsupport::CaseNames(kGoldenDir, ".doc").size(), 5u); }

TEST(TokensCommand, Contract) {
  int status = -1;
  EXPECT_EQ(Tokens("", status), "");
  EXPECT_EQ(status, 2);
  Tokens("a.doc b.doc", status);
  EXPECT_EQ(status, 2);
  Tokens("--bogus a.doc", status);
  EXPECT_EQ(status, 2);
  Tokens("--codepage x a.doc", status);
  EXPECT_EQ(status, 2);

  testsupport::TempDir dir;
  std::string missing = (dir.path() / "missing.doc").string();
  EXPECT_EQ(Tokens(missing, status), "ERROR\tSSLex0101e: Error opening file, " + missing + ", 2\n");
  EXPECT_EQ(status, 1);

  // Escapes: backslash, tab, line feed, carriage return and high bytes.
  std::string doc = dir.Write("esc.doc", "<!OPS, Version = 8.0>\r\n\ta\\b\r\xe9\x7f\x01");
  EXPECT_EQ(Tokens(doc, status),
            "1\t1\tOPS_START\t<!OPS,\n1\t7\tVERSION\t Version = \n1\t18\tINTEGER\t8\n1\t19\tPERIOD\t.\n"
            "1\t20\tINTEGER\t0\n1\t21\tOPS_END\t>\n1\t22\tJUNK\t\\n\\t\n2\t2\tTEXT\ta\\\\b\\r\\xe9\\x7f\\x01\n");
  EXPECT_EQ(status, 0);
}
