// What the table, report and run commands share after their own options:
// the batch changes of --family and --component, and loading with the
// mapping table built.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/CMemoryLoadLog.h"
#include "cli/CliConsole.h"
#include "mapping/CMappingJob.h"

class CCliArgs;

/// The cores loading may use: all of them. The command line takes no Stop
/// while loading, so a set of files is parsed side by side.
int32_t CliLoadThreads();

/// The values of --family OLD=NEW and --component NAME=NEW in \p changes,
/// in the order given; what is wrong with them (OLD or NAME empty, no
/// "="), or nothing.
std::optional<std::string> CliBatchChanges(const CCliArgs& cli, std::vector<BatchChange>& changes);

/// A mapping job for the command line: its load log goes through a
/// progress display (file n of m on a terminal) to \p log.
class CCliMappingJob {
 public:
  /// \p progress false: never shows progress (--quiet).
  CCliMappingJob(const CWizardChoices& choices, CLoadLog& log, bool progress);
  /// Clears the progress line; the job (models and table) is left to the
  /// end of the process (LeaveToProcessEnd).
  ~CCliMappingJob();
  CCliMappingJob(const CCliMappingJob&) = delete;
  CCliMappingJob& operator=(const CCliMappingJob&) = delete;
  /// Loads as CMappingJob does, and clears the progress line.
  [[nodiscard]] bool Load(bool withFontFiles);
  /// Builds the table, applies the --map files, then the batch changes.
  /// False when a map failed.
  [[nodiscard]] bool BuildTable(const CCliArgs& cli, const std::vector<BatchChange>& changes, CMessageSink& messages);
  CMappingJob& Job() { return *job_; }

 private:
  CProgressLoadLog progressLog_;
  std::unique_ptr<CMappingJob> job_;
};

/// What table and report share: checks the options that choose the files,
/// map files and batch changes, loads (the log goes to stderr only when
/// loading failed, keeping stdout for the data) and builds the table.
class CCliTableLoad {
 public:
  /// Does it all; usage errors are reported as those of \p command.
  CCliTableLoad(const CCliArgs& cli, std::string_view command);

  /// kCliOk; kCliFailed when loading, a file of the set or a map failed
  /// (the table then holds what loaded); kCliUsage for a bad
  /// option. The table exists unless loading failed or an option was bad.
  int Status() const { return status_; }
  bool HasTable() const { return job_ != nullptr; }
  CMappingJob& Job() { return job_->Job(); }

 private:
  CMemoryLoadLog log_;
  std::unique_ptr<CCliMappingJob> job_;
  int status_;
};
