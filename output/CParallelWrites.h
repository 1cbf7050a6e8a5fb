// Files written side by side on worker threads, what each write tells kept
// and handed to the calling thread in the order of the files.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "output/CErrorReporter.h"
#include "output/CFileProgress.h"

/// Runs one write per file on worker threads, files taken in order. A write
/// speaks only through the reporter and progress it is given, which keep
/// what it tells; the caller follows the files in order and tells it where
/// one thread would have, so that nothing it shows depends on the threads.
class CParallelWrites {
 public:
  /// One thing a write told.
  struct Event {
    enum class Kind : uint8_t {
      kReport,    ///< value: the code; text: the report before its number
      kLine,      ///< text: a plain log line
      kProgress,  ///< value: every replacement up to this one was reached
    };
    Kind kind;
    int32_t value = 0;
    std::string text;

    /// Tells \p reporter a report (numbered now) or a line again; false
    /// for progress.
    bool Retell(CErrorReporter& reporter) const;
  };
  /// Writes file \p index, speaking through \p reporter and \p progress.
  using Task = std::function<void(size_t index, CErrorReporter& reporter, CFileProgress& progress)>;

  /// Starts \p count writes on \p threads workers.
  CParallelWrites(size_t count, int32_t threads, Task task);
  /// Lets the workers finish the files they are writing, starts no other,
  /// and waits for them.
  ~CParallelWrites();
  CParallelWrites(const CParallelWrites&) = delete;
  CParallelWrites& operator=(const CParallelWrites&) = delete;

  /// Hands what the write of file \p index tells to \p onEvent, in order
  /// and as it comes, until the write is over; then throws again what
  /// escaped the task. What \p onEvent throws goes on, and the file's copy
  /// is kept from taking its name. Files are followed in order, each once.
  void Follow(size_t index, const std::function<void(const Event&)>& onEvent);

 private:
  class Record;
  void Work();
  // Starts no further file, keeps every copy not yet in place from taking
  // its name, and waits for the workers.
  void Close();
  // Holds a complete copy until the caller has followed all its write
  // told; throws when the caller stopped following.
  void AwaitCommit(Record& record);
  void Push(Record& record, Event event);

  Task task_;
  std::vector<std::unique_ptr<Record>> records_;
  size_t next_ = 0;  // the next file a worker starts
  bool closing_ = false;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::thread> workers_;
};
