// What a front end shows while output runs: progress figures and the
// messages that need the user's attention.
#pragma once

#include <cstdint>
#include <string>

/// Receives output's progress and messages. The mapping page shows them in
/// its progress bars and in message boxes, the command line on stderr.
/// Every operation does nothing unless overridden.
class COutputObserver {
 public:
  virtual ~COutputObserver() = default;

  /// The file being written and how far the file (\p currentPercent) and
  /// the whole run (\p totalPercent) have come, 0 to 100.
  virtual void ShowProgress(const std::string& fileName, int32_t currentPercent, int32_t totalPercent) {}

  /// A message that a window shows in a message box with \p caption.
  virtual void ShowMessage(const std::string& text, const std::string& caption) {}
};
