// Runs typeswap-cli for the command tests: its stdout lines, its stderr
// text and its exit status.
#pragma once

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace clitest {

/// A path below the source tree, quoted for the shell.
inline std::string Quoted(const std::string& path) { return "'" + path + "'"; }
inline std::string Example(const std::string& name) {
  return Quoted(testsupport::SourcePath("examples/" + name).string());
}

/// One run of `typeswap-cli ARGUMENTS` from the directory \p in (the
/// current one when empty), with the variables \p environment ("A=b C=d")
/// set.
struct CliInvocation {
  explicit CliInvocation(const std::string& arguments, const std::string& in = {},
                         const std::string& environment = {}) {
    testsupport::TempDir scratch;
    const std::string errors = (scratch.path() / "stderr").string();
    std::string command = Quoted(testsupport::BuiltProgram("typeswap-cli")) + " " + arguments + " 2>" + Quoted(errors);
    if (!environment.empty()) command = "env " + environment + " " + command;
    if (!in.empty()) command = "cd " + Quoted(in) + " && " + command;
    stdoutText = testsupport::RunCommand(command, status);
    std::istringstream out(stdoutText);
    for (std::string line; std::getline(out, line);) lines.push_back(line);
    stderrText = testsupport::ReadFile(errors);
  }
  bool Has(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }

  std::string stdoutText;
  std::vector<std::string> lines;
  std::string stderrText;
  int status = -1;
};

}  // namespace clitest
