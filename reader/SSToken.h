// A token of the reader: kind, text and position, shared by reference count
// between the lexer, the parser and the parse actions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include "reader/SSRef.h"

namespace ss_detail {
// Note [token blocks]: the lexer makes one token every few bytes of input
// and the parser drops most of them soon after, so the general allocator
// would cost as much as the lexing itself. Short tokens come from a free list
// of equal blocks instead. Each block starts with a header that says whether
// it belongs to the list, since delete is not told the token's size.
struct TokenBlock {
  TokenBlock* next;  // while on the free list
  size_t pooled;     // 1 for a block of kTokenBlockSize
};
constexpr size_t kTokenBlockSize = 96;
// Enough for the tokens a parse holds at once; more go back to the system.
constexpr size_t kMaxFreeTokenBlocks = 4096;
// One list per thread, emptied when the thread ends (whatever puts the
// first block on it arranges for that); tokens released after that (by static objects) go straight back to the system.
// A plain structure, so that reaching it costs no initialisation check.
struct FreeTokenBlocks {
  TokenBlock* head;
  size_t count;
  bool closed;
};
inline constinit thread_local FreeTokenBlocks freeTokenBlocks{};
}  // namespace ss_detail

/// One token. Its text is a copy of the matched bytes followed by two zero
/// bytes; line and column (both from 1, columns in bytes) are those of its
/// first character, offset is where it starts in the lexer's buffer.
class SSToken final : public SSRef {
 public:
  /// A new token holding one reference.
  static SSRefPtr<SSToken> Make(int32_t id, std::string_view text, int32_t line, int32_t column, uint32_t offset = 0,
                                int32_t parseToken = 0) {
    return SSRefPtr<SSToken>::Adopt(new (text.size() + 2) SSToken(id, text, line, column, offset, parseToken));
  }

  int32_t Id() const noexcept { return id_; }
  const char* Text() const noexcept { return reinterpret_cast<const char*>(this + 1); }
  uint32_t Length() const noexcept { return length_; }
  std::string_view View() const noexcept { return {Text(), length_}; }
  int32_t Line() const noexcept { return line_; }
  int32_t Column() const noexcept { return column_; }
  uint32_t Offset() const noexcept { return offset_; }
  /// The id the parser is to see instead of Id(); 0 when there is none.
  int32_t ParseToken() const noexcept { return parseToken_; }

  // Tokens are allocated together with their text; the free list's fast
  // paths are inline, as the lexer makes a token every few bytes.
  static void* operator new(size_t size, size_t textBytes) {
    const size_t bytes = sizeof(ss_detail::TokenBlock) + size + textBytes;
    ss_detail::FreeTokenBlocks& free = ss_detail::freeTokenBlocks;
    if (bytes <= ss_detail::kTokenBlockSize && free.head != nullptr) {
      --free.count;
      return std::exchange(free.head, free.head->next) + 1;
    }
    return AllocateBlock(bytes);
  }
  static void operator delete(void* p) noexcept {
    if (p == nullptr) return;
    ss_detail::TokenBlock* block = static_cast<ss_detail::TokenBlock*>(p) - 1;
    ss_detail::FreeTokenBlocks& free = ss_detail::freeTokenBlocks;
    if (block->pooled && free.count < ss_detail::kMaxFreeTokenBlocks && !free.closed) {
      if (free.count == 0) ArmEmptying();
      block->next = std::exchange(free.head, block);
      ++free.count;
    } else {
      ::operator delete(block);
    }
  }
  static void operator delete(void* p, size_t) noexcept { operator delete(p); }

 private:
  SSToken(int32_t id, std::string_view text, int32_t line, int32_t column, uint32_t offset, int32_t parseToken) noexcept
      : id_(id),
        length_(static_cast<uint32_t>(text.size())),
        line_(line),
        column_(column),
        offset_(offset),
        parseToken_(parseToken) {
    char* out = reinterpret_cast<char*>(this + 1);
    std::memcpy(out, text.data(), text.size());
    out[text.size()] = '\0';
    out[text.size() + 1] = '\0';
  }
  static void* AllocateBlock(size_t bytes);
  /// Arranges for this thread's free list to be emptied when it ends.
  static void ArmEmptying();

  int32_t id_;
  uint32_t length_;
  int32_t line_;
  int32_t column_;
  uint32_t offset_;
  int32_t parseToken_;
  // The text and its two terminating zeros follow the object in its block;
  // a trailing array member would be indexed past its declared bound.
};
