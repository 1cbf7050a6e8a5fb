// Where the core's load log, reports, messages and progress go on the
// command line: log and reports to stdout, messages and progress to stderr.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "app/CMemoryLoadLog.h"
#include "mapping/CMessageSink.h"
#include "output/COutputObserver.h"
#include "output/CReportSink.h"

/// Prints a message box's text on stderr as one or more lines; carriage
/// returns are dropped and the caption is left out.
void PrintMessage(std::string_view text);

/// A load log that also prints every line, as it is added, on stdout.
class CPrintingLoadLog : public CMemoryLoadLog {
 public:
  int32_t AppendShown(std::string_view text) override;
  int32_t AppendPlain(std::string_view text) override;
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
  CConsoleOutputObserver();
  ~CConsoleOutputObserver() override { ClearProgress(); }
  void ShowProgress(const std::string& fileName, int32_t currentPercent, int32_t totalPercent) override;
  void ShowMessage(const std::string& text, const std::string& caption) override;

 private:
  void ClearProgress();
  bool terminal_;
  bool shown_ = false;
};
