// Exit status of typeswap-cli: a file that failed to load fails the
// command, and so does standard output that cannot be written.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/CliInvocation.h"

using clitest::CliInvocation;
using clitest::Quoted;

namespace {
std::string Data(const std::string& name) { return Quoted(testsupport::SourcePath("tests/app/data/" + name).string()); }
}  // namespace

TEST(ExitStatus, AFileThatFailedToLoadFailsLoadTableAndRun) {
  testsupport::TempDir dir;
  const std::string bad = Quoted(dir.Write("bad.doc", "<!OPS, Version = 7.0>\n"));
  const std::string missing = Quoted((dir.path() / "missing.doc").string());
  std::filesystem::create_directory(dir.path() / "out");
  for (const std::string& broken : {bad, missing}) {
    const std::string selection = "--translated " + Data("latin.doc") + " --translated " + broken;
    CliInvocation load("load " + selection);
    EXPECT_EQ(1, load.status) << broken;
    EXPECT_TRUE(load.Has("LOG\t*** ERRORS FOUND WHILE LOADING ***")) << broken;
    CliInvocation table("table " + selection + " --fonts " + Data("fonts.doc"));
    EXPECT_EQ(1, table.status) << broken;
    EXPECT_FALSE(table.lines.empty());  // the table of the files that loaded
    EXPECT_NE(std::string::npos, table.stderrText.find("*** ERRORS FOUND WHILE LOADING ***"));
    CliInvocation run("run " + selection + " --fonts " + Data("fonts.doc") + " --out " +
                      Quoted(dir.path().string() + "/out"));
    // A missing file is already refused by the selection checks.
    EXPECT_EQ(broken == bad ? 1 : 2, run.status) << broken;
  }
}

TEST(ExitStatus, StandardOutputThatCannotBeWrittenFailsEveryCommand) {
  testsupport::TempDir dir;
  const std::string program = Quoted(testsupport::BuiltProgram("typeswap-cli"));
  const std::string errors = Quoted((dir.path() / "stderr").string());
  for (const std::string& arguments :
       {std::string("--version"), std::string("--help"), "load --translated " + Data("latin.doc")}) {
    int status = -1;
    testsupport::RunCommand(program + " " + arguments + " >/dev/full 2>" + errors, status);
    EXPECT_EQ(1, status) << arguments;
    EXPECT_NE(std::string::npos, testsupport::ReadFile(dir.path() / "stderr").find("cannot write standard output"))
        << arguments;
    // A reader that is gone before the first byte is written.
    const std::string saved = Quoted((dir.path() / "status").string());
    testsupport::RunCommand(
        "(sleep 0.3; " + program + " " + arguments + " 2>" + errors + "; echo $? >" + saved + ") | true", status);
    EXPECT_EQ("1\n", testsupport::ReadFile(dir.path() / "status")) << arguments;
  }
}

TEST(ExitStatus, AnUnknownCodePageIsRefused) {
  const std::string latin = Data("latin.doc");
  CliInvocation unknown("load --codepage 99999 --translated " + latin);
  EXPECT_EQ(2, unknown.status);
  EXPECT_NE(std::string::npos, unknown.stderrText.find("--codepage 99999: no such code page"));
  EXPECT_TRUE(unknown.lines.empty());
  const std::string program = Quoted(testsupport::BuiltProgram("typeswap-cli"));
  int status = -1;
  testsupport::RunCommand("TYPESWAP_CODEPAGE=abc " + program + " load --translated " + latin + " 2>/dev/null", status);
  EXPECT_EQ(2, status);
  // Given, the option wins over the environment.
  testsupport::RunCommand(
      "TYPESWAP_CODEPAGE=abc " + program + " load --codepage 932 --translated " + latin + " >/dev/null 2>&1", status);
  EXPECT_EQ(0, status);
  EXPECT_EQ(0, CliInvocation("load --codepage 1252 --translated " + latin).status);
}
