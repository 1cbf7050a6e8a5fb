// The numbering of file names that text pieces carry instead of the names.
#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

/// Maps file names to numbers 1, 2, ... and back. Names that differ only in
/// the case of their letters share a number. The process has one table,
/// never cleared; separate tables exist only for tests.
class CFileTable {
 public:
  CFileTable() = default;
  CFileTable(const CFileTable&) = delete;
  CFileTable& operator=(const CFileTable&) = delete;

  /// The process-wide table.
  static CFileTable& Process();

  /// The number of \p name, assigning the next free one when the name (case
  /// ignored) is new.
  uint32_t FileNumberOf(std::string_view name);

  /// The name as first given for \p number; empty for 0 or an unknown number.
  std::string FileNameOf(uint32_t number) const;

  /// How many names the table holds.
  uint32_t Count() const;

 private:
  mutable std::mutex mutex_;
  std::unordered_map<std::string, uint32_t> numbers_;  // upper-cased name -> number
  std::deque<std::string> names_;                      // number - 1 -> name as given
  // Loading asks for the same file's number once per reference.
  std::string lastName_;
  uint32_t lastNumber_ = 0;
};
