// What the table and run commands share: the selection options, loading as
// the load page does, and the mapping table with the chosen map files
// applied.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/CLoadSession.h"
#include "app/CMemoryLoadLog.h"
#include "cli/CliConsole.h"
#include "mapping/CMappingTable.h"

class CCliArgs;
class CLoadLog;
class CMessageSink;

/// The selection text of every value given for \p option, in order, each
/// path list ended by ";" so that the next one appends to it.
std::string CliSelection(const CCliArgs& cli, std::string_view option);

/// What is wrong with the values of --family and --component (each must be
/// OLD=NEW with OLD not empty), or nothing.
std::optional<std::string> CliBatchChangeProblem(const CCliArgs& cli);

/// The value of --font-type (0 when not given) in \p type; false when it is
/// not 0, 1 or 2.
[[nodiscard]] bool CliFontType(const CCliArgs& cli, int32_t& type);

/// Loads the chosen files into a load session, then builds the mapping
/// table over the translated files and applies font map files to it.
class CCliMappingJob {
 public:
  /// A job over \p choices writing its load log to \p log (which must
  /// outlive it). \p progress: show on a terminal which file is loading.
  CCliMappingJob(const CWizardChoices& choices, CLoadLog& log, bool progress = false);

  /// Loads the translated files, then the font files when
  /// \p withFontFiles. True when the session finished.
  [[nodiscard]] bool Load(bool withFontFiles);

  /// BuildTable with the map files of --map, then ApplyBatchChanges with
  /// --family and --component (checked by CliBatchChangeProblem before).
  [[nodiscard]] bool BuildTable(const CCliArgs& cli, CMessageSink& messages);

  /// Builds the table, then applies each of \p maps in order as the mapping
  /// page's Load... does. False when a file could not be read or was no map
  /// file; the messages went to \p messages.
  [[nodiscard]] bool BuildTable(const std::vector<std::string>& maps, CMessageSink& messages);

  /// The batch equivalents of the multiple-change dialog, in order: each
  /// ("family", "OLD=NEW") gives NEW to the rows whose current family is
  /// OLD, each ("component", "NAME=NEW") to the rows of component NAME (with
  /// its kind mark), as the dialog's by-font and by-component modes do.
  /// OLD and NAME must be texts the dialog offers, byte for byte; one that
  /// no row offers is reported to \p messages and changes nothing. False
  /// when a value has no "=".
  [[nodiscard]] bool ApplyBatchChanges(const std::vector<std::pair<std::string, std::string>>& changes,
                                       CMessageSink& messages);

  CLoadSession& Session() { return session_; }
  CMappingTable& Table() { return table_; }

 private:
  CProgressLoadLog progressLog_;
  CLoadSession session_;
  CMappingTable table_;
};

/// What table and report share: checks the options that choose the files,
/// map files and batch changes, loads (the log goes to stderr only when
/// loading failed, keeping stdout for the data) and builds the table.
class CCliTableLoad {
 public:
  /// Does it all; usage errors are reported as those of \p command.
  CCliTableLoad(const CCliArgs& cli, std::string_view command);

  /// kCliOk; kCliFailed when loading or a map failed; kCliUsage for a bad
  /// option. The table exists unless loading failed or an option was bad.
  int Status() const { return status_; }
  bool HasTable() const { return job_ != nullptr; }
  CCliMappingJob& Job() { return *job_; }

 private:
  CMemoryLoadLog log_;
  std::unique_ptr<CCliMappingJob> job_;
  int status_;
};
