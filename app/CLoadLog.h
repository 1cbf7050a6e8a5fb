// The load log as the loading code sees it: a list of lines that only grows
// at its end, shown by the load page or collected by the command line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

/// The load log. A line is added in one of two ways: shown (the view
/// scrolls to bring it into sight) or plain (added without scrolling).
class CLoadLog {
 public:
  virtual ~CLoadLog() = default;
  /// Adds \p text as the new last line and asks the view to show it;
  /// returns the line's index.
  virtual int32_t AppendShown(std::string_view text) = 0;
  /// Adds \p text as the new last line without asking to show it; returns
  /// the line's index.
  virtual int32_t AppendPlain(std::string_view text) = 0;
  /// The number of lines.
  virtual int32_t GetLineCount() const = 0;
  /// The line at \p index (empty outside the log).
  virtual std::string GetLine(int32_t index) const = 0;
};
