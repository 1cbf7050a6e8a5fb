// The lexer's input: the whole file in one buffer, the mark where the next
// token starts, and the line and column of that mark.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/CodePage.h"
#include "platform/TextFile.h"

/// Holds the input of one lexer and counts lines and columns.
///
/// The read position itself lives in the lexer's match loop: characters
/// read past the end of a match are given back anyway, so lines and columns
/// are counted only over what a match consumes, when the mark moves.
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

  /// Offset where the current token starts, and its line and column.
  size_t Mark() const { return mark_; }
  int32_t MarkLine() const { return line_; }
  int32_t MarkColumn() const { return static_cast<int32_t>(mark_ - lineStart_) + 1; }
  /// Moves the mark forward to \p end (a character boundary), counting
  /// lines and columns over the characters passed.
  void MoveMark(size_t end) {
    if (end <= nextLineFeed_) {
      mark_ = end;
    } else {
      MoveMarkAcrossLines(end);
    }
  }

  /// The lead-byte test of the code page in force when the input was taken.
  const LeadByteTable& LeadBytes() const { return leadBytes_; }
  bool HasLeadBytes() const { return hasLeadBytes_; }

 private:
  void TakeCodePage();
  void MoveMarkAcrossLines(size_t end);
  size_t FindLineFeed(size_t from) const;

  // The input: a file's bytes, read straight into memory of their own
  // (no zero-fill first), or a text given.
  CFileBytes file_;
  std::string text_;
  const char* data_ = nullptr;
  size_t length_ = 0;
  std::string name_;
  size_t mark_ = 0;
  int32_t line_ = 1;
  // Columns count bytes, a double-byte character being two: the column is
  // the distance from where the line starts.
  size_t lineStart_ = 0;
  // The first line feed byte at or after the mark: spans that end before it
  // hold no line end, which is most of them.
  size_t nextLineFeed_ = 0;
  LeadByteTable leadBytes_{};
  bool hasLeadBytes_ = false;
};
