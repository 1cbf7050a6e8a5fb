// A large input file seen in place, in the system's file cache, instead of
// copied into memory of our own.
//
// Note [mapped input]: reading a 40 MB document copies it into 40 MB of
// fresh memory, and fresh memory costs at its first touch: the system
// clears each page, and on the virtual machines we measure the host backs
// a page only then, at some 0.4 GB/s for memory it has taken back. That
// was a fifth of a whole job in such a run, and 3 to 5 per cent in a warm
// one. The file's cached pages are already there, though the first touch
// of each small page of a mapping costs too: a reader that goes through a
// file once, a block at a time, reads it into one reused buffer instead.
// The price of a mapping is that a file cut short by another program while
// it is mapped would end the process with a bus error, where a read would
// see less; the mapping below turns that into zeros and a flag (Cut) that
// the lexer reports as a read error.
#pragma once

#include <cstddef>
#include <utility>

/// A read-only private mapping of the first length bytes of a file, with
/// zero bytes after them (at least the slack asked for).
class CFileMapping {
 public:
  CFileMapping() = default;
  CFileMapping(CFileMapping&& other) noexcept { *this = std::move(other); }
  CFileMapping& operator=(CFileMapping&& other) noexcept;
  ~CFileMapping() { Unmap(); }

  /// Maps \p length bytes of the open file \p fd, its pages brought in at
  /// once, and \p slack zero bytes after them. False, with nothing mapped,
  /// when the system refuses or too many mappings are in use: the caller
  /// then reads the file instead.
  [[nodiscard]] bool Map(int fd, size_t length, size_t slack = 1);
  void Unmap() noexcept;

  const char* data() const noexcept { return data_; }
  size_t size() const noexcept { return size_; }
  /// Whether a page of the mapping was found past the end of the file (the
  /// file was cut short after it was mapped). Its bytes, and all after it,
  /// read as zero from then on.
  bool Cut() const noexcept;

 private:
  char* data_ = nullptr;
  size_t size_ = 0;
  size_t mapped_ = 0;  ///< bytes of address space, whole pages
  int slot_ = -1;      ///< where the bus error handler finds the mapping
};
