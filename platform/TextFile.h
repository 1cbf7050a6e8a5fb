// Whole-file reading with the byte-for-byte behaviour of a Windows
// text-mode stream, which the reader's positions depend on.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

/// Turns raw file bytes into what a text-mode read delivers: each CR LF
/// pair becomes LF, a lone CR stays, and a 0x1A byte ends the input.
/// Works in place; returns the number of bytes delivered.
size_t ApplyTextMode(char* data, size_t size);

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
/// are. Unlike a string's, its memory is not zero-filled before the read
/// writes it, and a large file's is on huge pages (AllocateHugePages).
class CFileBytes {
 public:
  CFileBytes() = default;
  CFileBytes(CFileBytes&& other) noexcept;
  CFileBytes& operator=(CFileBytes&& other) noexcept;
  CFileBytes(const CFileBytes&) = delete;
  CFileBytes& operator=(const CFileBytes&) = delete;
  ~CFileBytes();

  const char* data() const noexcept { return data_ != nullptr ? data_ : ""; }
  size_t size() const noexcept { return size_; }

 private:
  friend TextFileRead ReadTextFile(const std::string& path, CFileBytes& bytes);
  /// Room for \p capacity bytes and the zero after them; nothing delivered.
  char* Allocate(size_t capacity);
  /// Delivers the first \p size bytes (at most the capacity).
  void SetSize(size_t size) noexcept;
  void Free() noexcept;

  char* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

/// As ReadTextFile above, into \p bytes.
[[nodiscard]] TextFileRead ReadTextFile(const std::string& path, CFileBytes& bytes);
