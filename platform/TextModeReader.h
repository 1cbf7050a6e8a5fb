// Forward reading of a file, block by block, with the byte-for-byte
// behaviour of a Windows text-mode stream (CR LF read as LF, 0x1A ends the
// input), into memory the caller keeps.
#pragma once

#include <cstddef>
#include <string>

/// Reads one file forward in text mode. Each Read delivers the next bytes
/// into the caller's memory, so that a reader that keeps one buffer in
/// cache touches no other: the first touch of each small page of a mapping
/// costs more, on the virtual machines we measure, than reading the page.
class CTextModeReader {
 public:
  /// How far a file is read: the length it had when it was opened (as a
  /// whole-file read of that length would), or on to its end, wherever
  /// that is when it comes.
  enum class Extent { kOpenLength, kEndOfFile };

  explicit CTextModeReader(Extent extent = Extent::kEndOfFile) : extent_(extent) {}
  ~CTextModeReader() { Close(); }
  CTextModeReader(const CTextModeReader&) = delete;
  CTextModeReader& operator=(const CTextModeReader&) = delete;

  /// Opens \p path (a regular file) for reading. Returns 0 or the errno of
  /// the failure.
  [[nodiscard]] int Open(const std::string& path);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  /// The file's length when it was opened.
  size_t FileLength() const { return length_; }
  /// Whether the input has ended: no Read delivers more. Read to the
  /// length at opening, the input ends with the read that reaches it.
  bool Ended() const { return ended_; }

  /// Reads what comes next into the \p capacity bytes at \p into (at least
  /// two), as text mode delivers it; \p delivered tells how many bytes
  /// that is, 0 only at the end of the input. Returns 0 or the errno of a
  /// read failure: EIO for a file that ends before the length it had when
  /// it was opened (cut short while it was read).
  [[nodiscard]] int Read(char* into, size_t capacity, size_t& delivered);

 private:
  Extent extent_;
  int fd_ = -1;
  size_t length_ = 0;  // the file's length when it was opened
  size_t offset_ = 0;  // the bytes read from it so far
  bool ended_ = false;
  bool carriedCr_ = false;  // a CR that ended the last read, waiting for its LF
};
