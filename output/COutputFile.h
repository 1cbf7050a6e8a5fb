// A file that is written under a temporary name beside its target and only
// replaces the target when the whole file was written.
#pragma once

#include <string>
#include <string_view>
#include <vector>

/// Writes a new version of a file safely. Open creates a temporary file in
/// the target's directory; Commit flushes it and renames it onto the target;
/// anything else (Discard, destruction, a failed Commit) removes the
/// temporary and leaves the target as it was. In text mode every line feed
/// is written as carriage return plus line feed.
class COutputFile {
 public:
  COutputFile() = default;
  ~COutputFile();
  COutputFile(const COutputFile&) = delete;
  COutputFile& operator=(const COutputFile&) = delete;

  /// Creates the temporary file for \p path. Returns 0, or the errno of the
  /// failure. The directory must exist.
  [[nodiscard]] int Open(const std::string& path, bool textMode);

  /// Appends \p text. Returns 0, or the errno of the first failure; after a
  /// failure every later call fails the same way and Commit refuses.
  [[nodiscard]] int Write(std::string_view text);

  /// Flushes and closes the temporary file and renames it onto the target.
  /// Returns 0, or the errno of the failure (the temporary is then gone and
  /// the target untouched).
  [[nodiscard]] int Commit();

  /// Removes the temporary file; the target stays as it was.
  void Discard();

  bool IsOpen() const { return fd_ >= 0; }
  /// The target path given to Open.
  const std::string& Path() const { return path_; }
  /// The temporary file's path while open.
  const std::string& TemporaryPath() const { return tempPath_; }

 private:
  int Flush();
  int WriteRaw(const char* data, size_t size);
  // Writes all of \p data to the file, resuming short writes; errno or 0.
  int WriteFully(const char* data, size_t size);

  std::string path_;
  std::string tempPath_;
  int fd_ = -1;
  bool textMode_ = true;
  int error_ = 0;
  std::vector<char> buffer_;
  size_t used_ = 0;
};
