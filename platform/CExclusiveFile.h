// A file opened for reading that no other process may hold at the same
// time, as the pre-checks open the files they examine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

/// A file open for reading under an exclusive advisory lock (flock). When
/// another open file description holds a lock on it, opening fails with the
/// sharing-violation cause (11). Failures throw CFileException.
class CExclusiveFile {
 public:
  /// Opens \p path; throws CFileException when it cannot be opened, is a
  /// directory, or is locked elsewhere.
  explicit CExclusiveFile(const std::string& path);
  ~CExclusiveFile();
  CExclusiveFile(const CExclusiveFile&) = delete;
  CExclusiveFile& operator=(const CExclusiveFile&) = delete;

  /// Reads up to \p count bytes; fewer only at the end of the file.
  size_t Read(void* buffer, size_t count);
  /// The length of the file in bytes.
  uint64_t Length() const;
  /// Releases the lock and closes the file; closing twice does nothing.
  void Close();

 private:
  std::string path_;
  int fd_ = -1;
};
