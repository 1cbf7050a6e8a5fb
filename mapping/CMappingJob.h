// The job without its pages up to the mapping: loading as the load page
// does, then the mapping table with font map files applied as the mapping
// page's Load... applies them, and the multiple-change dialog's changes
// given as a batch.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/CLoadSession.h"
#include "mapping/CMappingTable.h"
#include "mapping/MultipleChange.h"

class CLoadLog;
class CMessageSink;

/// Loads the chosen files into a load session, then builds the mapping
/// table over the translated files and applies font map files to it.
class CMappingJob {
 public:
  /// A job over \p choices writing its load log to \p log (which must
  /// outlive it).
  CMappingJob(const CWizardChoices& choices, CLoadLog& log);

  /// Loads the translated files, then the font files when
  /// \p withFontFiles. True when the session finished.
  [[nodiscard]] bool Load(bool withFontFiles);

  /// Builds the table, then applies each of \p maps in order as the mapping
  /// page's Load... does. False when a file could not be read or was no map
  /// file; the messages went to \p messages.
  [[nodiscard]] bool BuildTable(const std::vector<std::string>& maps, CMessageSink& messages);

  /// Applies each of \p changes in order, as the multiple-change dialog's
  /// OK does with that one entry chosen. An entry must be one the dialog
  /// offers (byte for byte); one that no row offers changes nothing and is
  /// said to \p messages. Returns how many changes found no row.
  int32_t ApplyBatchChanges(const std::vector<BatchChange>& changes, CMessageSink& messages);

  CLoadSession& Session() { return session_; }
  CMappingTable& Table() { return table_; }

 private:
  CLoadSession session_;
  CMappingTable table_;
};
