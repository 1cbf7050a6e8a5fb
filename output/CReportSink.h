// Where output's reports and log lines go: the command line prints them,
// the mapping page shows them, tests collect them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

/// Receives the formatted texts of error reports and plain log lines.
class CReportSink {
 public:
  virtual ~CReportSink() = default;
  /// Takes one finished text: a numbered report or a plain log line.
  virtual void AppendText(std::string_view text) = 0;
};

/// Keeps every text it receives, in order; for tests and for callers that
/// show the reports once a job is over.
class CCollectingReportSink : public CReportSink {
 public:
  void AppendText(std::string_view text) override { texts.emplace_back(text); }
  /// All texts received, joined.
  std::string All() const {
    std::string all;
    for (const std::string& text : texts) all += text;
    return all;
  }
  std::vector<std::string> texts;
};
