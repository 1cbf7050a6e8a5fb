// Whole-file reading with the byte-for-byte behaviour of a Windows
// text-mode stream, which the reader's positions depend on.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/FileMapping.h"

/// Turns raw file bytes into what a text-mode read delivers: each CR LF
/// pair becomes LF, a lone CR stays, and a 0x1A byte ends the input.
/// Works in place; returns the number of bytes delivered.
size_t ApplyTextMode(char* data, size_t size);

/// Where the first byte is that text mode acts on (CR or 0x1A) among the
/// \p size bytes at \p data; \p size when there is none.
size_t FindTextModeByte(const char* data, size_t size);

/// Result of reading a whole file.
struct TextFileRead {
  int error = 0;          ///< errno of the failed open or read, else 0
  size_t fileLength = 0;  ///< length of the file on disk
};

/// Reads the whole of \p path in text mode into \p text (whose size is the
/// number of bytes delivered). The file length is reported separately,
/// since text mode may deliver fewer bytes than the file holds.
[[nodiscard]] TextFileRead ReadTextFile(const std::string& path, std::string& text);

/// The bytes of a file read whole, followed by a zero byte as a string's
/// are. A large file that text mode leaves as it is stays where the system
/// caches it (CFileMapping); otherwise the bytes are read into memory that
/// is not zero-filled first, on huge pages (AllocateHugePages).
class CFileBytes {
 public:
  CFileBytes() = default;
  CFileBytes(CFileBytes&& other) noexcept;
  CFileBytes& operator=(CFileBytes&& other) noexcept;
  CFileBytes(const CFileBytes&) = delete;
  CFileBytes& operator=(const CFileBytes&) = delete;
  ~CFileBytes();

  const char* data() const noexcept {
    return mapping_.data() != nullptr ? mapping_.data() : data_ != nullptr ? data_ : "";
  }
  size_t size() const noexcept { return mapping_.data() != nullptr ? mapping_.size() : size_; }
  /// Whether the file was cut short while its bytes were looked at in
  /// place: the bytes past its new end read as zeros, and are no longer
  /// the file's. A read error for whoever reads them.
  bool Cut() const noexcept { return mapping_.Cut(); }

 private:
  friend TextFileRead ReadTextFile(const std::string& path, CFileBytes& bytes);
  /// Room for \p capacity bytes and the zero after them; nothing delivered.
  char* Allocate(size_t capacity);
  /// Delivers the first \p size bytes (at most the capacity).
  void SetSize(size_t size) noexcept;
  void Free() noexcept;

  CFileMapping mapping_;
  char* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

/// As ReadTextFile above, into \p bytes.
[[nodiscard]] TextFileRead ReadTextFile(const std::string& path, CFileBytes& bytes);
