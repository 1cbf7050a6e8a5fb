// The lexer's input: a window of the file in one buffer, the mark where the
// next token starts, and the line and column of any place in it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/CodePage.h"
#include "platform/TextModeReader.h"

/// A place in the input: lines and columns count from 1, columns in bytes
/// (a double-byte character takes two).
struct SSTextPlace {
  int32_t line = 0;
  int32_t column = 0;
};

/// Holds the input of one lexer and finds the line and column of a place.
///
/// A file is read forward into one buffer (Note [input window]): the
/// window holds the bytes from the oldest token still in use on, and
/// slides on when the lexer needs more. Offsets count from the start of
/// the input; positions in the window from Data().
///
/// The read position itself lives in the lexer's match loop. Lines are
/// counted only where somebody asks for a place (Note [places on demand]),
/// not at every token: most tokens are never asked for theirs.
class SSLexConsumer {
 public:
  /// The bytes a window starts with.
  static constexpr size_t kWindow = size_t{256} << 10;
  /// Reads \p fileName in text mode (CR LF as LF, 0x1A ends the input), up
  /// to the length it has when opened, through a window of \p window bytes
  /// (at least two; a smaller file is read whole). Throws SSLex0101e when
  /// it cannot be opened and SSLex0102e when it is empty or its first
  /// bytes cannot be read.
  explicit SSLexConsumer(const std::string& fileName, size_t window = kWindow);
  /// Input already in memory, taken as it is; empty input is allowed.
  SSLexConsumer(std::string text, std::string name);
  // Data() points into the consumer's own buffer.
  SSLexConsumer(const SSLexConsumer&) = delete;
  SSLexConsumer& operator=(const SSLexConsumer&) = delete;

  /// The window: Size() bytes of the input, the first at offset Origin(),
  /// followed by a zero byte.
  const unsigned char* Data() const { return reinterpret_cast<const unsigned char*>(data_); }
  size_t Size() const { return size_; }
  size_t Origin() const { return origin_; }
  /// The \p length bytes at \p offset, which must lie in the window.
  std::string_view TextAt(size_t offset, size_t length) const { return {data_ + (offset - origin_), length}; }
  /// The file's length when it was opened; the text's length.
  size_t Length() const { return length_; }
  const std::string& Name() const { return name_; }
  /// Whether the file was cut short, or failed to read, after its first
  /// bytes: the input then ends early, and is not the file's.
  bool InputCut() const { return cut_; }

  /// Whether input lies beyond the window.
  bool More() const { return more_; }
  /// Slides the window on past what is no longer needed and reads more:
  /// the bytes before the mark, and before what \p keepFrom (set with
  /// SetKeepFrom) says is still in use, go. Positions in the window move
  /// with it. False when nothing more could be read: the end of the
  /// input, or InputCut().
  bool Refill();
  /// Where the oldest text still in use starts (an offset), asked at every
  /// Refill: the parser's tokens on its stack. The mark is kept anyway.
  void SetKeepFrom(std::function<size_t()> keepFrom) { keepFrom_ = std::move(keepFrom); }

  /// Where the current token starts: a position in the window. The lexer
  /// keeps its own, and sets this one before Refill, which moves it with
  /// the window.
  size_t Mark() const { return mark_; }
  /// Moves the mark forward to position \p end.
  void MoveMark(size_t end) { mark_ = end; }

  /// The line and column of \p offset, a character boundary in the window
  /// (at most its end). Cheapest for places asked in the order of the
  /// input. It moves the consumer's record of the last place asked for:
  /// one thread at a time, as for the rest of the lexer.
  SSTextPlace PlaceAt(size_t offset) const;

  /// The lead-byte test of the code page in force when the input was taken.
  const LeadByteTable& LeadBytes() const { return leadBytes_; }
  bool HasLeadBytes() const { return hasLeadBytes_; }

 private:
  void TakeCodePage();
  /// Reads on into the buffer until it is full or the input ends; throws
  /// SSLex0102e when \p first and the read fails.
  void ReadMore(bool first);
  /// Room for \p capacity bytes and a zero byte, keeping the window's
  /// bytes.
  void Reserve(size_t capacity);
  /// How many line ends lie in [\p from, \p to), both character
  /// boundaries; \p last becomes the offset of the last of them.
  size_t CountLineEnds(size_t from, size_t to, size_t& last) const;
  /// As CountLineEnds, a byte at a time, from \p from on; \p boundary is
  /// a character boundary at or before \p from.
  size_t CountEachLineEnd(size_t from, size_t to, size_t& last, size_t boundary) const;
  /// Where the line that holds \p offset (in the window) starts.
  size_t LineStartOf(size_t offset) const;
  /// Whether the line feed byte at \p at ends a line: in double-byte input
  /// it may be the second byte of a character. \p boundary is a character
  /// boundary at or before it.
  bool EndsLine(size_t at, size_t boundary) const;

  // The input: a file read into buffer_ (not zero-filled first), or a
  // text given.
  CTextModeReader file_{CTextModeReader::Extent::kOpenLength};
  // Memory of AllocateHugePages for capacity bytes and a zero byte, given
  // back when the consumer goes, even from a constructor that throws.
  struct Buffer {
    char* bytes = nullptr;
    size_t capacity = 0;
    Buffer() = default;
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;
    ~Buffer();
  };
  Buffer buffer_;
  std::string text_;
  const char* data_ = "";
  size_t size_ = 0;
  size_t origin_ = 0;
  size_t length_ = 0;
  bool more_ = false;
  bool cut_ = false;
  std::function<size_t()> keepFrom_;
  std::string name_;
  size_t mark_ = 0;
  // The last place asked for, from which the next is counted: its offset,
  // its line, and where that line starts (offsets). The line start of
  // the window's first byte stands for the line starts before it.
  mutable size_t placed_ = 0;
  mutable int32_t placedLine_ = 1;
  mutable size_t placedLineStart_ = 0;
  size_t windowLineStart_ = 0;
  LeadByteTable leadBytes_{};
  bool hasLeadBytes_ = false;
};
