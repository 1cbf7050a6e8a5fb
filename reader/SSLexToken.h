// A token as the lexer finds it: a plain value whose text stays in the
// lexer's buffer. The parser keeps these on its stack; the reference-counted
// SSToken is made from one only when somebody asks for an object.
#pragma once

#include <cstdint>

/// Kind and extent of one token: offset and length are bytes of the
/// lexer's buffer. Its line and column are found from its offset when
/// somebody asks (SSLex::PlaceOf).
struct SSLexToken {
  int32_t id = 0;
  /// The id the parser is to see instead of id; 0 when there is none.
  int32_t parseToken = 0;
  uint32_t offset = 0;
  uint32_t length = 0;
};
