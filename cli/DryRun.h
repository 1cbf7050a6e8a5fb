// typeswap-cli run --dry-run: the run's copies shown as differences from
// their inputs instead of being written.
#pragma once

#include <string>
#include <vector>

#include "output/COutputRecord.h"

class CTerminalText;

/// A temporary folder of its own, removed with everything in it when the
/// object goes.
class CScratchFolder {
 public:
  CScratchFolder();
  ~CScratchFolder();
  CScratchFolder(const CScratchFolder&) = delete;
  CScratchFolder& operator=(const CScratchFolder&) = delete;
  /// The folder's absolute path; empty when it could not be made.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

/// Prints, for each of \p written (copies made below \p folder), a unified
/// diff from its input to the copy on stdout: "--- a/NAME", "+++ b/NAME"
/// with NAME the copy's path below \p folder, then the hunks, document
/// lines in the terminal's character set. False when a file could not be
/// read (said on stderr).
[[nodiscard]] bool PrintDryRunDiffs(const std::vector<COutputRecord>& written, const std::string& folder,
                                    const CTerminalText& terminal);
