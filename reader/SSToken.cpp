// A token of the reader, allocated in one block with its text.
#include "reader/SSToken.h"

#include <cstring>
#include <new>
#include <utility>

namespace {

// Note [token blocks]: the lexer makes one token every few bytes of input
// and the parser drops most of them soon after, so the general allocator
// would cost as much as the lexing itself. Short tokens come from a free list
// of equal blocks instead. Each block starts with a header that says whether
// it belongs to the list, since delete is not told the token's size.
struct BlockHeader {
  BlockHeader* next;  // while on the free list
  size_t pooled;      // 1 for a block of kPoolBlockSize
};
constexpr size_t kPoolBlockSize = 96;
// Enough for the tokens a parse holds at once; more go back to the system.
constexpr size_t kMaxFreeBlocks = 4096;

struct FreeBlocks {
  BlockHeader* head = nullptr;
  size_t count = 0;
  // Tokens released while the thread ends (by static objects) go straight
  // back to the system.
  bool closed = false;
  ~FreeBlocks() {
    closed = true;
    while (head != nullptr) ::operator delete(std::exchange(head, head->next));
  }
};
thread_local FreeBlocks freeBlocks;

}  // namespace

void* SSToken::operator new(size_t size, size_t textBytes) {
  const size_t bytes = sizeof(BlockHeader) + size + textBytes;
  BlockHeader* block;
  if (bytes <= kPoolBlockSize && freeBlocks.head != nullptr && !freeBlocks.closed) {
    block = std::exchange(freeBlocks.head, freeBlocks.head->next);
    --freeBlocks.count;
  } else {
    block = static_cast<BlockHeader*>(::operator new(bytes <= kPoolBlockSize ? kPoolBlockSize : bytes, std::nothrow));
    if (block == nullptr) throw SSExceptionOutOfStorage();
    block->pooled = bytes <= kPoolBlockSize;
  }
  return block + 1;
}

void SSToken::operator delete(void* p) noexcept {
  if (p == nullptr) return;
  BlockHeader* block = static_cast<BlockHeader*>(p) - 1;
  if (block->pooled && freeBlocks.count < kMaxFreeBlocks && !freeBlocks.closed) {
    block->next = std::exchange(freeBlocks.head, block);
    ++freeBlocks.count;
  } else {
    ::operator delete(block);
  }
}
void SSToken::operator delete(void* p, size_t) noexcept { operator delete(p); }

SSToken::SSToken(int32_t id, std::string_view text, int32_t line, int32_t column, uint32_t offset,
                 int32_t parseToken) noexcept
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

SSRefPtr<SSToken> SSToken::Make(int32_t id, std::string_view text, int32_t line, int32_t column,
                                uint32_t offset, int32_t parseToken) {
  return SSRefPtr<SSToken>::Adopt(new (text.size() + 2) SSToken(id, text, line, column, offset, parseToken));
}
