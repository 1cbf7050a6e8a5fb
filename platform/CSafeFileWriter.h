// The one way this program writes a file: under a temporary name beside the
// target, renamed onto it only when everything was written.
#pragma once

#include <functional>
#include <string>
#include <string_view>

/// Writes a new version of a file safely, as LLVM's FileOutputBuffer does.
/// Create makes a temporary file in the target's folder; Commit closes it
/// and renames it onto the target; Discard, destruction without Commit, a
/// failed Commit and SIGINT or SIGTERM remove it and leave the target as it
/// was. Temporary names are the target's name followed by ".tstmp", the
/// process id and a counter; Create removes those that a process which no
/// longer runs left beside the same target.
///
/// Failures are returned as errno values (0: success). After a failed
/// Write every later call fails the same way and Commit refuses.
class CSafeFileWriter {
 public:
  /// Turns bytes on their way into the temporary file into other bytes
  /// (appended to the third argument). Called once more with no bytes and
  /// atEnd true before Commit renames, so it can write what it held back.
  using Transform = std::function<void(std::string_view bytes, bool atEnd, std::string& out)>;

  CSafeFileWriter() = default;
  ~CSafeFileWriter();
  CSafeFileWriter(const CSafeFileWriter&) = delete;
  CSafeFileWriter& operator=(const CSafeFileWriter&) = delete;

  /// Creates the temporary file for \p target (whose folder must exist).
  /// A file still open is discarded first.
  [[nodiscard]] int Create(const std::string& target);
  /// Gives the temporary file the permission bits of the file at \p path.
  [[nodiscard]] int CopyPermissionsFrom(const std::string& path);
  /// Sends every later byte through \p transform.
  void SetTransform(Transform transform) { transform_ = std::move(transform); }

  /// Appends \p bytes to the temporary file.
  [[nodiscard]] int Write(std::string_view bytes);
  /// Closes the temporary file and renames it onto the target. On failure
  /// the temporary is gone and the target untouched.
  [[nodiscard]] int Commit();
  /// Removes the temporary file; the target stays as it was.
  void Discard();

  bool IsOpen() const { return fd_ >= 0; }
  const std::string& TargetPath() const { return target_; }
  /// The temporary file's path while open.
  const std::string& TemporaryPath() const { return temporary_; }

  /// Writes \p bytes as the whole new content of \p target: Create, Write,
  /// Commit. Returns 0 or the errno of the failure (the target unchanged).
  [[nodiscard]] static int WriteWhole(const std::string& target, std::string_view bytes);

  /// True when \p name (a file name or path) is one of this program's
  /// temporary files.
  static bool IsTemporaryName(std::string_view name);

 private:
  int WriteFully(std::string_view bytes);
  void Forget();

  std::string target_;
  std::string temporary_;
  int fd_ = -1;
  int error_ = 0;
  int slot_ = -1;  // the signal handler's record of the temporary
  Transform transform_;
  std::string transformed_;
};
