// Showing what a run would change.
#include "cli/DryRun.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/CTerminalText.h"
#include "cli/CliConsole.h"
#include "output/LineDiff.h"

CScratchFolder::CScratchFolder() {
  std::error_code error;
  std::string pattern = (std::filesystem::temp_directory_path(error) / "typeswap-dry-run-XXXXXX").string();
  if (error) pattern = "/tmp/typeswap-dry-run-XXXXXX";
  if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

CScratchFolder::~CScratchFolder() {
  std::error_code error;
  if (!path_.empty()) std::filesystem::remove_all(path_, error);
}

namespace {

bool ReadWhole(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = std::move(buffer).str();
  return !in.bad();
}

}  // namespace

bool PrintDryRunDiffs(const std::vector<COutputRecord>& written, const std::string& folder,
                      const CTerminalText& terminal) {
  bool ok = true;
  for (const COutputRecord& record : written) {
    std::string before, after;
    if (!ReadWhole(record.inputName, before) || !ReadWhole(record.outputName, after)) {
      PrintMessage("typeswap-cli run: cannot read " + record.inputName + " again for its differences");
      ok = false;
      continue;
    }
    const std::vector<std::string_view> beforeLines = SplitLines(before);
    const std::vector<std::string_view> afterLines = SplitLines(after);
    const std::string name = std::filesystem::path(record.outputName).lexically_relative(folder).generic_string();
    std::string out = "--- a/" + name + "\n+++ b/" + name + "\n";
    for (const DiffHunk& hunk : DiffLines(beforeLines, afterLines)) {
      out += HunkHeader(hunk);
      out += '\n';
      for (const DiffLine& line : hunk.lines) {
        out += line.op;
        terminal.AppendLine(out, line.text);
        out += '\n';
      }
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
  }
  return ok;
}
