// Files parsed side by side on worker threads, each into a model of its
// own, handed out in order.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/CMemoryLoadLog.h"
#include "app/ParseFile.h"
#include "model/CFontReferenceList.h"

/// Parses files on worker threads. Each file goes into a fresh model whose
/// current component and kind are CarriedComponent() and CarriedKind(): a
/// reference made with them read what the files before would have left.
/// Workers run at most a few files ahead of the one last taken, so that
/// the models waiting stay few.
class CParallelParses {
 public:
  /// One parsed file.
  struct Parse {
    std::unique_ptr<CFontReferenceList> model;
    CMemoryLoadLog log;  ///< the parse's own lines
    CParseRecord record;
    ParseOutcome outcome = ParseOutcome::Failed;
    /// Whether a reference was made with CarriedComponent() or
    /// CarriedKind(): found on the worker, where the model is at hand.
    bool tookCarriedState = false;
    std::exception_ptr failure;  ///< what escaped the parse, thrown again by Take
  };

  /// Starts parsing \p paths on \p threads workers.
  CParallelParses(std::vector<std::string> paths, int32_t threads);
  /// Lets the workers finish the files they are parsing and waits for them.
  ~CParallelParses();
  CParallelParses(const CParallelParses&) = delete;
  CParallelParses& operator=(const CParallelParses&) = delete;

  /// Waits for the parse of the file with index \p index and hands it
  /// over. Files are taken in order, each once.
  Parse Take(size_t index);

  /// The current component and kind a parse starts with, which no file
  /// sets.
  static const std::string& CarriedComponent();
  static constexpr int32_t CarriedKind() { return -1000; }

 private:
  void Work();

  std::vector<std::string> paths_;
  std::vector<std::unique_ptr<Parse>> done_;
  size_t window_;
  size_t next_ = 0;   // the next file a worker starts
  size_t taken_ = 0;  // the files handed over
  bool closing_ = false;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::thread> workers_;
};
