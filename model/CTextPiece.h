// A piece of a file's text with the lines and columns where it starts and
// ends, so that output can replace exactly that text later.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/CCharsetString.h"

/// A piece of file text and its position. Lines count from 1; columns count
/// from 1 in bytes within the line; the end column is the column just after
/// the last character. File number 0 means no file.
class CTextPiece {
 public:
  /// An empty piece: no text, no position, no file.
  CTextPiece() = default;

  /// The piece of a token of the reader: its text, the line and column of
  /// its first character, and the character set to read it in. The end
  /// position follows from the line breaks inside the text. The file
  /// number is left 0 for the caller to set.
  CTextPiece(std::string_view tokenText, int32_t line, int32_t column, int32_t charset = CharsetSystem);

  CTextPiece(const CTextPiece&) = default;
  CTextPiece(CTextPiece&&) noexcept = default;
  CTextPiece& operator=(const CTextPiece&) = default;
  CTextPiece& operator=(CTextPiece&&) noexcept = default;
  // Not virtual: nothing deletes a piece through a pointer to this class,
  // and a table pointer would add eight bytes to every reference.
  ~CTextPiece() = default;

  /// The text exactly as read from the file.
  const std::string& GetText() const noexcept { return text_.Text(); }
  /// The text with its character set and counting mode.
  CCharsetString GetCharsetText() const { return CCharsetString(text_.Text(), charset_, text_.Flag()); }
  void SetText(const CCharsetString& text);

  int32_t GetStartLine() const noexcept { return startLine_; }
  int32_t GetStartColumn() const noexcept { return startColumn_; }
  int32_t GetEndLine() const noexcept { return endLine_; }
  int32_t GetEndColumn() const noexcept { return endColumn_; }
  /// Sets all four position values at once.
  void SetPosition(int32_t startLine, int32_t startColumn, int32_t endLine, int32_t endColumn);

  const std::string& GetAuxText() const noexcept { return auxText_.Text(); }
  void SetAuxText(std::string_view text);
  bool GetAuxFlag() const noexcept { return auxText_.Flag(); }
  void SetAuxFlag(bool flag) noexcept { auxText_.SetFlag(flag); }

  uint32_t GetFileNumber() const noexcept { return fileNumber_; }
  void SetFileNumber(uint32_t number) noexcept { fileNumber_ = number; }
  /// The name of the piece's file in the process file table; empty for none.
  std::string GetFileName() const;

  /// True when the piece starts where it ends (it covers no text).
  bool IsEmpty() const noexcept { return startLine_ == endLine_ && startColumn_ == endColumn_; }

  /// Whether the two pieces share text: never across files, and never when
  /// exactly one of them is empty. Two empty pieces overlap only when they
  /// stand at the same place.
  bool Overlaps(const CTextPiece& other) const;
  /// Whether this piece lies wholly before \p other in the file; two empty
  /// pieces at the same place count as before each other.
  bool IsBefore(const CTextPiece& other) const;
  /// Whether this piece lies wholly after \p other.
  bool IsAfter(const CTextPiece& other) const;
  /// True when the piece names a file and a position that can be addressed:
  /// all values non-zero, and the end not before the start.
  bool HasValidPosition() const;

 private:
  static const std::string* EmptyText();

  // A shared text and a flag in the lowest bit of its address, which the
  // alignment of a string leaves free: two flags of their own would round
  // every piece, and every reference, up by eight bytes.
  class TextAndFlag {
   public:
    explicit TextAndFlag(const std::string* text) noexcept : bits_(reinterpret_cast<uintptr_t>(text)) {}
    const std::string& Text() const noexcept { return *reinterpret_cast<const std::string*>(bits_ & ~kFlag); }
    void SetText(const std::string* text) noexcept { bits_ = reinterpret_cast<uintptr_t>(text) | (bits_ & kFlag); }
    bool Flag() const noexcept { return (bits_ & kFlag) != 0; }
    void SetFlag(bool flag) noexcept { bits_ = (bits_ & ~kFlag) | (flag ? kFlag : 0); }

   private:
    static_assert(alignof(std::string) > 1, "the lowest bit of a string's address is free");
    static constexpr uintptr_t kFlag = 1;
    uintptr_t bits_;
  };

  // Texts are shared copies (CStringPool): a model holds hundreds of
  // thousands of pieces, whose texts are a few font numbers and names.
  TextAndFlag text_{EmptyText()};     // flag: positions count characters
  TextAndFlag auxText_{EmptyText()};  // almost always empty; flag: the aux flag
  int32_t startLine_ = 0;
  int32_t startColumn_ = 0;
  int32_t endLine_ = 0;
  int32_t endColumn_ = 0;
  int32_t charset_ = CharsetOther;
  uint32_t fileNumber_ = 0;
};
