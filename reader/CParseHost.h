// What the reader's parser needs from whoever runs it: somewhere to report
// rejected files, and the user's request to stop.
#pragma once

#include <atomic>
#include <cstdint>

/// The loading code that runs a CInterleafParser. The reader knows nothing
/// of logs or pages; it only calls these.
class CParseHost {
 public:
  virtual ~CParseHost() = default;
  /// Writes the explanation of rejection \p code (1000-1110) where the user
  /// reads it.
  virtual void ReportParseError(int32_t code) = 0;
  /// Tells the user that loading was stopped (called once per parse).
  virtual void LogStopped() = 0;
  /// Whether the user has asked loading to stop.
  virtual bool StopRequested() = 0;
  /// The flag StopRequested reads when that is all it does (stop when it
  /// is 1), else nullptr: the parser asks at every reduction, and reads a
  /// flag without a call.
  virtual const std::atomic<uint8_t>* StopFlag() { return nullptr; }
};
