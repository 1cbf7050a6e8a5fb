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
  CCharsetString GetCharsetText() const {
    return CCharsetString(text_.Text(), charset_, text_.Has(TextBits::kCountChars));
  }
  void SetText(const CCharsetString& text);

  int32_t GetStartLine() const noexcept { return startLine_; }
  int32_t GetStartColumn() const noexcept { return startColumn_; }
  int32_t GetEndLine() const noexcept { return endLine_; }
  int32_t GetEndColumn() const noexcept { return endColumn_; }
  /// Sets all four position values at once.
  void SetPosition(int32_t startLine, int32_t startColumn, int32_t endLine, int32_t endColumn);

  const std::string& GetAuxText() const noexcept { return text_.AuxText(); }
  void SetAuxText(std::string_view text);
  bool GetAuxFlag() const noexcept { return text_.Has(TextBits::kAuxFlag); }
  void SetAuxFlag(bool flag) noexcept { text_.Set(TextBits::kAuxFlag, flag); }

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

  // The shared text, the aux text and both flags in one word: the flags sit
  // in the lowest bits of an address, which alignment leaves free, and the
  // aux text (almost always empty) in a shared pair with the text, made
  // only for a piece that has one. A word for each would round every
  // piece, and every reference, up by sixteen bytes.
  class TextBits {
   public:
    static constexpr uintptr_t kCountChars = 1;  // positions count characters
    static constexpr uintptr_t kAuxFlag = 2;
    explicit TextBits(const std::string* text) noexcept : bits_(reinterpret_cast<uintptr_t>(text)) {}
    const std::string& Text() const noexcept { return HasAux() ? *Texts()->text : *Address<std::string>(); }
    const std::string& AuxText() const noexcept { return HasAux() ? *Texts()->aux : *EmptyText(); }
    /// Sets both texts (shared copies), keeping the flags.
    void SetTexts(const std::string* text, const std::string* aux);
    bool Has(uintptr_t flag) const noexcept { return (bits_ & flag) != 0; }
    void Set(uintptr_t flag, bool on) noexcept { bits_ = (bits_ & ~flag) | (on ? flag : 0); }

   private:
    struct TextPair {
      const std::string* text;
      const std::string* aux;
      bool operator==(const TextPair&) const = default;
    };
    static constexpr uintptr_t kHasAux = 4;  // the address is a TextPair's
    static constexpr uintptr_t kTags = kCountChars | kAuxFlag | kHasAux;
    static_assert(alignof(std::string) > kTags && alignof(TextPair) > kTags, "the lowest bits of an address are free");
    bool HasAux() const noexcept { return (bits_ & kHasAux) != 0; }
    template <class T>
    const T* Address() const noexcept {
      return reinterpret_cast<const T*>(bits_ & ~kTags);
    }
    const TextPair* Texts() const noexcept { return Address<TextPair>(); }
    /// The process's one copy of the pair.
    static const TextPair* Share(const std::string* text, const std::string* aux);
    uintptr_t bits_;
  };

  // Texts are shared copies (CStringPool): a model holds hundreds of
  // thousands of pieces, whose texts are a few font numbers and names.
  TextBits text_{EmptyText()};
  int32_t startLine_ = 0;
  int32_t startColumn_ = 0;
  int32_t endLine_ = 0;
  int32_t endColumn_ = 0;
  int32_t charset_ = CharsetOther;
  uint32_t fileNumber_ = 0;
};
