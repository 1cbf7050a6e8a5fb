// The man page and the help page of typeswap-cli keep up with the program:
// every command and option that --help names is described in both.
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "tests/cli/CliInvocation.h"

using clitest::CliInvocation;

TEST(CliDocumentation, ManPageAndHelpPageNameEveryCommandAndOption) {
  CliInvocation help("--help");
  ASSERT_EQ(0, help.status);
  std::set<std::string> commands, options;
  const std::regex command("^  ([a-z]+) ");
  for (const std::string& line : help.lines) {
    std::smatch match;
    if (std::regex_search(line, match, command)) commands.insert(match[1]);
  }
  ASSERT_GE(commands.size(), 6u);
  const std::regex option("--[a-z][a-z-]*");
  for (const std::string& name : commands) {
    const std::string text = CliInvocation(name + " --help").stdoutText;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it)
      options.insert(it->str());
  }
  ASSERT_GE(options.size(), 15u);

  std::string man = testsupport::ReadFile(testsupport::SourcePath("packaging/man/typeswap-cli.1"));
  man = std::regex_replace(man, std::regex(R"(\\-)"), "-");
  const std::string page = testsupport::ReadFile(testsupport::SourcePath("resources/help/command-line.html"));
  for (const std::string& name : commands) {
    EXPECT_NE(std::string::npos, man.find(".B " + name)) << name;
    EXPECT_NE(std::string::npos, page.find("<code>" + name)) << name;
  }
  for (const std::string& name : options) {
    EXPECT_NE(std::string::npos, man.find(name)) << name;
    EXPECT_NE(std::string::npos, page.find(name)) << name;
  }
}
