// The lexer's input: the whole file in one buffer, the mark where the next
// token starts, and the line and column of any place in it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/CodePage.h"
#include "platform/TextFile.h"

/// A place in the input: lines and columns count from 1, columns in bytes
/// (a double-byte character takes two).
struct SSTextPlace {
  int32_t line = 0;
  int32_t column = 0;
};

/// Holds the input of one lexer and finds the line and column of a place.
///
/// The read position itself lives in the lexer's match loop. Lines are
/// counted only where somebody asks for a place (Note [places on demand]),
/// not at every token: most tokens are never asked for theirs.
class SSLexConsumer {
 public:
  /// Reads \p fileName in text mode (CR LF as LF, 0x1A ends the input).
  /// Throws SSLex0101e when it cannot be opened and SSLex0102e when it is
  /// empty.
  explicit SSLexConsumer(const std::string& fileName);
  /// Input already in memory, taken as it is; empty input is allowed.
  SSLexConsumer(std::string text, std::string name);
  // Data() points into the consumer's own buffer.
  SSLexConsumer(const SSLexConsumer&) = delete;
  SSLexConsumer& operator=(const SSLexConsumer&) = delete;

  const unsigned char* Data() const { return reinterpret_cast<const unsigned char*>(data_); }
  size_t Length() const { return length_; }
  const std::string& Name() const { return name_; }
  /// Whether the file was cut short while it was read (CFileBytes::Cut).
  bool InputCut() const { return file_.Cut(); }

  /// Offset where the current token starts.
  size_t Mark() const { return mark_; }
  /// Moves the mark forward to \p end.
  void MoveMark(size_t end) { mark_ = end; }

  /// The line and column of \p offset, a character boundary at most
  /// Length(). Cheapest for places asked in the order of the input. It
  /// moves the consumer's record of the last place asked for: one thread
  /// at a time, as for the rest of the lexer.
  SSTextPlace PlaceAt(size_t offset) const;

  /// The lead-byte test of the code page in force when the input was taken.
  const LeadByteTable& LeadBytes() const { return leadBytes_; }
  bool HasLeadBytes() const { return hasLeadBytes_; }

 private:
  void TakeCodePage();
  /// How many line ends lie in [\p from, \p to), both character
  /// boundaries; \p last becomes the offset of the last of them.
  size_t CountLineEnds(size_t from, size_t to, size_t& last) const;
  /// As CountLineEnds, a byte at a time, from \p from on; \p boundary is
  /// a character boundary at or before \p from.
  size_t CountEachLineEnd(size_t from, size_t to, size_t& last, size_t boundary) const;
  /// Whether the line feed byte at \p at ends a line: in double-byte input
  /// it may be the second byte of a character. \p boundary is a character
  /// boundary at or before it.
  bool EndsLine(size_t at, size_t boundary) const;

  // The input: a file's bytes, read straight into memory of their own
  // (no zero-fill first), or a text given.
  CFileBytes file_;
  std::string text_;
  const char* data_ = nullptr;
  size_t length_ = 0;
  std::string name_;
  size_t mark_ = 0;
  // The last place asked for, from which the next is counted: its offset,
  // its line, and where that line starts.
  mutable size_t placed_ = 0;
  mutable int32_t placedLine_ = 1;
  mutable size_t placedLineStart_ = 0;
  LeadByteTable leadBytes_{};
  bool hasLeadBytes_ = false;
};
