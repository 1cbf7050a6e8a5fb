// A load log kept in memory, for the command line and the tests.
#pragma once

#include <vector>

#include "app/CLoadLog.h"

/// A load log that keeps its lines, and how each was added, in memory.
class CMemoryLoadLog : public CLoadLog {
 public:
  /// One line and whether it was added with the request to show it.
  struct Line {
    std::string text;
    bool shown = false;
  };

  int32_t AppendShown(std::string_view text) override { return Add(text, true); }
  int32_t AppendPlain(std::string_view text) override { return Add(text, false); }
  int32_t GetLineCount() const override { return static_cast<int32_t>(lines_.size()); }
  std::string GetLine(int32_t index) const override;

  const std::vector<Line>& Lines() const noexcept { return lines_; }

 private:
  int32_t Add(std::string_view text, bool shown);
  std::vector<Line> lines_;
};
