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
  [[nodiscard]] int Write(std::string_view text) {
    // A replacement is a few bytes: written at once where the buffer has room.
    if (text.size() <= kShortText && kBufferSize - used_ >= 2 * kShortText && textMode_ && file_.IsOpen()) {
      char* to = buffer_.data() + used_;
      for (char c : text) {
        if (c == '\n') *to++ = '\r';
        *to++ = c;
      }
      used_ = static_cast<size_t>(to - buffer_.data());
      return 0;
    }
    return WriteText(text, text.size());
  }
  /// Write of \p text followed in memory by more bytes, \p readable in
  /// all from its start: a copy straight from a read buffer (see
  /// CTextModeInput::kReadSlack) goes faster.
  [[nodiscard]] int WriteFollowed(std::string_view text, size_t readable);
  /// For a copy written straight into the buffer in text mode: sets
  /// \p place to where \p bytes may be written, and 16 bytes more that
  /// may be written over, writing out what is buffered first when that is
  /// needed. Null when the file is not open in text mode or \p bytes is
  /// more than the buffer holds. Returns 0 or the errno of the failure.
  [[nodiscard]] int Reserve(size_t bytes, char*& place) {
    place = nullptr;
    if (!file_.IsOpen() || !textMode_ || bytes > kBufferSize) return 0;
    if (kBufferSize - used_ < bytes) {
      if (int err = Flush()) return err;
    }
    place = buffer_.data() + used_;
    return 0;
  }
  /// Takes the first \p bytes at the place of Reserve as written.
  void Wrote(size_t bytes) { used_ += bytes; }
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
  static constexpr size_t kBufferSize = 256 * 1024;
  // Room past the buffer's end: text-mode copies store whole blocks of 16
  // bytes, the last of which may reach beyond the bytes written.
  static constexpr size_t kStoreSlack = 16;
  // Texts up to this size take the short way.
  static constexpr size_t kShortText = 32;

  int Flush();
  int WriteText(std::string_view text, size_t readable);
  int WriteRaw(const char* data, size_t size);

  CSafeFileWriter file_;
  bool textMode_ = true;
  std::vector<char> buffer_;  // kBufferSize bytes, and room for a last store
  size_t used_ = 0;
};
