// Buffered forward reading of a file with the byte-for-byte behaviour of a
// Windows text-mode stream (CR LF read as LF, 0x1A ends the input).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/FileMapping.h"

/// Reads a file forward in blocks, delivering what a text-mode read would.
/// Callers look at Available(), take what they need with Consume(), and
/// call Fill() when the block is used up. A large file that text mode
/// leaves as it is comes as one block, seen where the system caches it
/// (see Note [mapped input]).
class CTextModeInput {
 public:
  CTextModeInput() = default;
  ~CTextModeInput();
  CTextModeInput(const CTextModeInput&) = delete;
  CTextModeInput& operator=(const CTextModeInput&) = delete;

  /// Opens \p path for reading. Returns 0 or the errno of the failure.
  [[nodiscard]] int Open(const std::string& path);
  void Close();
  bool IsOpen() const { return fd_ >= 0 || mapping_.data() != nullptr; }

  /// Bytes that may be read past the end of Available(), whatever they
  /// hold: a copy may look at whole blocks of 16 bytes.
  static constexpr size_t kReadSlack = 16;

  /// The delivered bytes not consumed yet.
  std::string_view Available() const { return {block_ + pos_, end_ - pos_}; }
  /// Marks the first \p count available bytes as taken.
  void Consume(size_t count) { pos_ += count; }

  /// Reads the next block once the available bytes are used up. Returns 0
  /// or the errno of a read failure (EIO for a file cut short while it was
  /// seen in place); at the end of the input Available() stays empty.
  [[nodiscard]] int Fill();

 private:
  // Delivers more of the mapping: the next stretch that text mode leaves
  // as it is. False once there is none (see plainEnd_).
  bool DeliverMapped();
  // Goes on reading through the buffer from plainEnd_, where text mode
  // acts on a byte of the mapping.
  int LeaveMapping();

  int fd_ = -1;
  // The whole file, when it is seen in place. Its bytes are looked at for
  // those that text mode acts on a stretch at a time, just before they are
  // delivered: then they are still in cache when they are copied.
  CFileMapping mapping_;
  size_t plainEnd_ = 0;       // the first such byte of the mapping, or its size
  std::vector<char> buffer_;  // a block, and kReadSlack bytes
  const char* block_ = "";    // the buffer's or the mapping's bytes
  size_t pos_ = 0;
  size_t end_ = 0;
  bool ended_ = false;
  bool carriedCr_ = false;  ///< a CR that ended the last block, waiting for its LF
};
