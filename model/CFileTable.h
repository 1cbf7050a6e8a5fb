// The numbering of file names that text pieces carry instead of the names.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/FileIdentity.h"

/// Maps file names to numbers 1, 2, ... and back. Names of one file share a
/// number, however they are spelled ("./", "..", symbolic links); names
/// that differ only in case are two files, as the file system says. The
/// process has one table, never cleared; separate tables exist only for
/// tests. Each number also keeps the stamp of its file as it was loaded.
class CFileTable {
 public:
  CFileTable() = default;
  CFileTable(const CFileTable&) = delete;
  CFileTable& operator=(const CFileTable&) = delete;

  /// The process-wide table.
  static CFileTable& Process();

  /// The number of \p name, assigning the next free one when the file is
  /// new (see CanonicalPath).
  uint32_t FileNumberOf(std::string_view name);

  /// The name as first given for \p number; empty for 0 or an unknown number.
  std::string FileNameOf(uint32_t number) const;

  /// How many names the table holds.
  uint32_t Count() const;

  /// Records \p stamp as the state in which file \p number was read.
  void SetStamp(uint32_t number, const CFileStamp& stamp);
  /// The stamp recorded for \p number, if any.
  std::optional<CFileStamp> StampOf(uint32_t number) const;

 private:
  mutable std::mutex mutex_;
  std::unordered_map<std::string, uint32_t> numbers_;  // canonical path -> number
  std::deque<std::string> names_;                      // number - 1 -> name as given
  std::unordered_map<uint32_t, CFileStamp> stamps_;
  // Loading asks for the same file's number once per reference.
  std::string lastName_;
  uint32_t lastNumber_ = 0;
};
