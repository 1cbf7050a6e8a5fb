// Buffered forward reading of a file with the byte-for-byte behaviour of a
// Windows text-mode stream (CR LF read as LF, 0x1A ends the input).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/TextModeReader.h"

/// Reads a file forward in blocks, delivering what a text-mode read would.
/// Callers look at Available(), take what they need with Consume(), and
/// call Fill() when the block is used up.
///
/// The blocks go through one buffer, not a mapping of the whole file (see
/// CTextModeReader): the write of a 40 MB document took 9 ms less read
/// than mapped.
class CTextModeInput {
 public:
  CTextModeInput() = default;
  CTextModeInput(const CTextModeInput&) = delete;
  CTextModeInput& operator=(const CTextModeInput&) = delete;

  /// Opens \p path for reading. Returns 0 or the errno of the failure.
  [[nodiscard]] int Open(const std::string& path);
  void Close();
  bool IsOpen() const { return file_.IsOpen(); }

  /// The bytes of a block: a quarter megabyte, a few hundred reads for a
  /// large document, each block still in cache when it is copied.
  static constexpr size_t kBlockSize = 256 * 1024;
  /// Bytes that may be read past the end of Available(), whatever they
  /// hold: a copy may look at whole blocks of 16 bytes.
  static constexpr size_t kReadSlack = 16;

  /// The delivered bytes not consumed yet.
  std::string_view Available() const { return {buffer_.data() + pos_, end_ - pos_}; }
  /// Marks the first \p count available bytes as taken.
  void Consume(size_t count) { pos_ += count; }

  /// Reads the next block once the available bytes are used up. Returns 0
  /// or the errno of a read failure (EIO for a file that ends before the
  /// length it had when it was opened: cut short while it was read); at
  /// the end of the input Available() stays empty.
  [[nodiscard]] int Fill();

 private:
  CTextModeReader file_;
  std::vector<char> buffer_;  // a block, and kReadSlack bytes
  size_t pos_ = 0;
  size_t end_ = 0;
};
