// Delivery of output's numbered error reports and plain log lines to a
// report sink.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "output/CErrorRef.h"
#include "output/OutputTexts.h"

class CReportSink;

/// Keeps a reporter's texts instead of delivering them: a file written on a
/// worker thread has its reports numbered and delivered later, in the
/// order of the files, by ReportNumbered and ReportLine of the run's
/// reporter.
class CReportRecorder {
 public:
  virtual ~CReportRecorder() = default;
  /// A report's text before its number and frame, and its code.
  virtual void RecordReport(int32_t code, std::string text) = 0;
  virtual void RecordLine(std::string_view text) = 0;
};

/// Formats reports as "\n[n]  text" with a running number and hands them,
/// and plain log lines, to the installed sink. Without a sink the texts are
/// formatted and dropped. Numbers run per reporter; the process reporter's
/// numbers therefore run for the whole process.
class CErrorReporter {
 public:
  explicit CErrorReporter(CReportSink* sink = nullptr) : sink_(sink) {}
  /// A reporter that numbers nothing and hands every text to \p recorder.
  explicit CErrorReporter(CReportRecorder& recorder) : sink_(nullptr), recorder_(&recorder) {}
  CErrorReporter(const CErrorReporter&) = delete;
  CErrorReporter& operator=(const CErrorReporter&) = delete;

  /// The reporter that output uses unless it is given another.
  static CErrorReporter& Process();

  void SetSink(CReportSink* sink) { sink_ = sink; }
  CReportSink* GetSink() const { return sink_; }

  /// Reports \p message with \p code and up to four references (the first
  /// four given; references of kind CErrorRef::kNone are left out). Each
  /// reference adds a line "- description". Returns the report's number
  /// (0 when recorded).
  int32_t ReportError(const std::string& message, int32_t code = outputtext::kCodeDefault,
                      std::initializer_list<CErrorRef> refs = {});
  /// Numbers and delivers \p text, a report made complete elsewhere (see
  /// CReportRecorder), as ReportError does its own.
  int32_t ReportNumbered(int32_t code, const std::string& text);

  /// Delivers \p text as it is, without number or frame.
  void ReportLine(std::string_view text);

  /// How many numbered reports were made so far.
  int32_t ReportCount() const { return count_; }
  /// The code of the latest report (0 before the first).
  int32_t LastCode() const { return lastCode_; }

 private:
  CReportSink* sink_;
  CReportRecorder* recorder_ = nullptr;
  int32_t count_ = 0;
  int32_t lastCode_ = 0;
};
