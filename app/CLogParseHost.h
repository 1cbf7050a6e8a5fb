// The loading driver's side of a parse: rejections and the stop request go
// to the load log and the process stop flag.
#pragma once

#include "reader/CParseHost.h"

class CLoadLog;

/// Reports a parse's rejections to a load log and reads the stop flag.
class CLogParseHost : public CParseHost {
 public:
  /// \p log must outlive the host.
  explicit CLogParseHost(CLoadLog& log) : log_(log) {}

  /// Writes the lines of \p code plainly (see ReportParseError).
  void ReportParseError(int32_t code) override;
  /// Adds "*************** PROCESS STOPPED ***************" plainly.
  void LogStopped() override;
  /// True once Stop has set the process stop flag.
  bool StopRequested() override;
  /// The process stop flag.
  const std::atomic<uint8_t>* StopFlag() override;

 private:
  CLoadLog& log_;
};
