// An output document: buffered, in text mode or not, written through the
// safe-file writer so that it only replaces its target when complete.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/CSafeFileWriter.h"

/// Writes a new version of a file safely (see CSafeFileWriter), through a
/// buffer. In text mode every line feed is written as carriage return plus
/// line feed. Failures are errno values (0: success).
class COutputFile {
 public:
  COutputFile() = default;
  COutputFile(const COutputFile&) = delete;
  COutputFile& operator=(const COutputFile&) = delete;

  /// Creates the temporary file for \p path. The directory must exist.
  [[nodiscard]] int Open(const std::string& path, bool textMode);
  /// Gives the file the permission bits of the file at \p path.
  [[nodiscard]] int CopyPermissionsFrom(const std::string& path) { return file_.CopyPermissionsFrom(path); }
  /// Sends the file's bytes, line ends included, through \p transform.
  void SetTransform(CSafeFileWriter::Transform transform) { file_.SetTransform(std::move(transform)); }

  /// Appends \p text; after a failure every later call fails the same way
  /// and Commit refuses.
  [[nodiscard]] int Write(std::string_view text);
  /// Writes what is buffered and renames the file onto the target.
  [[nodiscard]] int Commit();
  /// Removes the temporary file; the target stays as it was.
  void Discard();

  bool IsOpen() const { return file_.IsOpen(); }
  /// The target path given to Open.
  const std::string& Path() const { return file_.TargetPath(); }
  /// The temporary file's path while open.
  const std::string& TemporaryPath() const { return file_.TemporaryPath(); }

 private:
  int Flush();
  int WriteRaw(const char* data, size_t size);

  CSafeFileWriter file_;
  bool textMode_ = true;
  std::vector<char> buffer_;
  size_t used_ = 0;
};
