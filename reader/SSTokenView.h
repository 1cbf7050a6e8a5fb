// A token as the parser holds it: the lexer's value and where its text is,
// without an object of its own.
#pragma once

#include <cstdint>
#include <string_view>

#include "reader/SSLexConsumer.h"
#include "reader/SSLexToken.h"
#include "reader/SSToken.h"

/// One token the parser has read. The text lives elsewhere (the lexer's
/// window, or a token object the parser keeps), so a view is valid while
/// the parser is on that token: during TokenHook, Error, or the reduction
/// that consumes it. Accessors as SSToken's.
///
/// A token of the lexer finds its text and its line and column in the
/// lexer's input when asked (Note [places on demand]): the window moves
/// under it as the lexer reads on. A token object has its own, and the end
/// of the input has none (line and column 0).
class SSTokenView {
 public:
  SSTokenView() = default;
  /// A token of the lexer whose input is \p places.
  SSTokenView(const SSLexToken& token, const SSLexConsumer* places) noexcept
      : token_(token), source_(reinterpret_cast<uintptr_t>(places)) {}
  /// A view of \p object, which must outlive it.
  explicit SSTokenView(const SSToken& object) noexcept
      : token_{object.Id(), object.ParseToken(), object.Offset(), object.Length()},
        text_(object.Text()),
        source_(reinterpret_cast<uintptr_t>(&object) | kObjectSource) {}
  /// A token without a place.
  SSTokenView(const SSLexToken& token, const char* text) noexcept : token_(token), text_(text) {}

  int32_t Id() const noexcept { return token_.id; }
  /// The id the parser is to see instead of Id(); 0 when there is none.
  int32_t ParseToken() const noexcept { return token_.parseToken; }
  int32_t Line() const { return Place().line; }
  int32_t Column() const { return Place().column; }
  /// The line and column where the token starts.
  SSTextPlace Place() const {
    if (source_ & kObjectSource) {
      const SSToken* object = reinterpret_cast<const SSToken*>(source_ & ~kObjectSource);
      return {object->Line(), object->Column()};
    }
    if (source_ != 0) return reinterpret_cast<const SSLexConsumer*>(source_)->PlaceAt(token_.offset);
    return {};
  }
  uint32_t Offset() const noexcept { return token_.offset; }
  uint32_t Length() const noexcept { return token_.length; }
  /// The text (not followed by a zero byte).
  std::string_view View() const noexcept {
    if (source_ != 0 && !(source_ & kObjectSource)) {
      return reinterpret_cast<const SSLexConsumer*>(source_)->TextAt(token_.offset, token_.length);
    }
    return {text_, token_.length};
  }
  const SSLexToken& Value() const noexcept { return token_; }
  /// For reading a token in place: its value, and then its text.
  SSLexToken& Value() noexcept { return token_; }
  /// For reading a token of the lexer in place: where it finds its place.
  void SetPlaces(const SSLexConsumer* places) noexcept { source_ = reinterpret_cast<uintptr_t>(places); }

 private:
  // Where the place (and a lexer token's text) comes from: the lexer's
  // input, a token object (tagged in the low bit, which their alignment
  // leaves free), or nothing. One word, as the parser copies a view at
  // every shift.
  static constexpr uintptr_t kObjectSource = 1;
  SSLexToken token_;
  const char* text_ = "";  // but for a token of the lexer
  uintptr_t source_ = 0;
};
static_assert(alignof(SSToken) > 1, "the low bit of a token object's address tags it");
