// Where the core's load log, reports, messages and progress go on the
// command line: log and reports to stdout, messages and progress to stderr.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "app/CMemoryLoadLog.h"
#include "mapping/CMessageSink.h"
#include "output/COutputObserver.h"
#include "output/CReportSink.h"

/// Prints a message box's text on stderr as one or more lines; carriage
/// returns are dropped and the caption is left out.
void PrintMessage(std::string_view text);

/// A load log that also prints every line, as it is added, on stdout
/// (unless made with \p print false: --quiet).
class CPrintingLoadLog : public CMemoryLoadLog {
 public:
  explicit CPrintingLoadLog(bool print = true) : print_(print) {}
  int32_t AppendShown(std::string_view text) override;
  int32_t AppendPlain(std::string_view text) override;

 private:
  bool print_;
};

/// Passes every line on to another log and, when stderr is a terminal,
/// shows on stderr which file of the selection is being loaded: "file n of
/// m", and the share of the selection's bytes read before it.
class CProgressLoadLog : public CLoadLog {
 public:
  /// Over \p target; the files are those of \p selections (selection texts)
  /// in the order they are loaded. \p show false: never shows anything.
  CProgressLoadLog(CLoadLog& target, const std::vector<std::string>& selections, bool show);
  ~CProgressLoadLog() override { Clear(); }
  int32_t AppendShown(std::string_view text) override;
  int32_t AppendPlain(std::string_view text) override;
  int32_t GetLineCount() const override { return target_.GetLineCount(); }
  std::string GetLine(int32_t index) const override { return target_.GetLine(index); }
  /// Removes the progress line (before other output goes to the terminal).
  void Clear();

 private:
  void Notice(std::string_view text);

  CLoadLog& target_;
  std::vector<uintmax_t> sizes_;  ///< bytes of each file, in loading order
  uintmax_t total_ = 0;
  uintmax_t done_ = 0;
  size_t next_ = 0;
  bool show_;
  bool shown_ = false;
  std::string processing_;  ///< the log's "Processing: " text
};

/// Message boxes of the mapping core, printed on stderr.
class CStderrMessageSink : public CMessageSink {
 public:
  void ShowMessage(std::string_view text, std::string_view caption) override { PrintMessage(text); }
};

/// Output's reports and log lines, printed on stdout as they come: each
/// report's number on the line of its message, each text ending its line.
class CStdoutReportSink : public CReportSink {
 public:
  void AppendText(std::string_view text) override;
};

/// Output's messages on stderr; its progress too, on one line that is
/// rewritten, but only when stderr is a terminal.
class CConsoleOutputObserver : public COutputObserver {
 public:
  /// \p quiet: no progress even on a terminal.
  explicit CConsoleOutputObserver(bool quiet = false);
  ~CConsoleOutputObserver() override { ClearProgress(); }
  void ShowProgress(const std::string& fileName, int32_t currentPercent, int32_t totalPercent) override;
  void ShowMessage(const std::string& text, const std::string& caption) override;

 private:
  void ClearProgress();
  bool terminal_;
  bool shown_ = false;
};
