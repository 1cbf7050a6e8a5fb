// A token of the reader: kind, text and position, shared by reference count
// between the lexer, the parser and the parse actions.
#pragma once

#include <cstdint>
#include <string_view>

#include "reader/SSRef.h"

/// One token. Its text is a copy of the matched bytes followed by two zero
/// bytes; line and column (both from 1, columns in bytes) are those of its
/// first character, offset is where it starts in the lexer's buffer.
class SSToken final : public SSRef {
 public:
  /// A new token holding one reference.
  static SSRefPtr<SSToken> Make(int32_t id, std::string_view text, int32_t line, int32_t column,
                                uint32_t offset = 0, int32_t parseToken = 0);

  int32_t Id() const noexcept { return id_; }
  const char* Text() const noexcept { return reinterpret_cast<const char*>(this + 1); }
  uint32_t Length() const noexcept { return length_; }
  std::string_view View() const noexcept { return {Text(), length_}; }
  int32_t Line() const noexcept { return line_; }
  int32_t Column() const noexcept { return column_; }
  uint32_t Offset() const noexcept { return offset_; }
  /// The id the parser is to see instead of Id(); 0 when there is none.
  int32_t ParseToken() const noexcept { return parseToken_; }

  // Tokens are allocated together with their text.
  static void* operator new(size_t size, size_t textBytes);
  static void operator delete(void* p) noexcept;
  static void operator delete(void* p, size_t textBytes) noexcept;

 private:
  SSToken(int32_t id, std::string_view text, int32_t line, int32_t column, uint32_t offset,
          int32_t parseToken) noexcept;

  int32_t id_;
  uint32_t length_;
  int32_t line_;
  int32_t column_;
  uint32_t offset_;
  int32_t parseToken_;
  // The text and its two terminating zeros follow the object in its block;
  // a trailing array member would be indexed past its declared bound.
};
