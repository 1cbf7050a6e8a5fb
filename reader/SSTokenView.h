// A token as the parser holds it: the lexer's value and where its text is,
// without an object of its own.
#pragma once

#include <cstdint>
#include <string_view>

#include "reader/SSLexToken.h"

/// One token the parser has read. The text lives elsewhere (the lexer's
/// buffer, or a token object the parser keeps), so a view is valid while
/// the parser is on that token: during TokenHook, Error, or the reduction
/// that consumes it. Accessors as SSToken's.
class SSTokenView {
 public:
  SSTokenView() = default;
  SSTokenView(const SSLexToken& token, const char* text) noexcept : token_(token), text_(text) {}

  int32_t Id() const noexcept { return token_.id; }
  /// The id the parser is to see instead of Id(); 0 when there is none.
  int32_t ParseToken() const noexcept { return token_.parseToken; }
  int32_t Line() const noexcept { return token_.line; }
  int32_t Column() const noexcept { return token_.column; }
  uint32_t Offset() const noexcept { return token_.offset; }
  uint32_t Length() const noexcept { return token_.length; }
  /// The text (not followed by a zero byte).
  std::string_view View() const noexcept { return {text_, token_.length}; }
  const SSLexToken& Value() const noexcept { return token_; }
  /// For reading a token in place: its value, and then its text.
  SSLexToken& Value() noexcept { return token_; }
  void SetText(const char* text) noexcept { text_ = text; }

 private:
  SSLexToken token_;
  const char* text_ = "";
};
