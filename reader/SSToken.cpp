// A token of the reader, allocated in one block with its text.
#include "reader/SSToken.h"

#include <cstring>
#include <new>
#include <utility>

namespace {
// Empties the thread's free list when the thread ends.
struct EmptiedAtThreadEnd {
  bool armed = false;
  ~EmptiedAtThreadEnd() {
    ss_detail::FreeTokenBlocks& free = ss_detail::freeTokenBlocks;
    free.closed = true;
    while (free.head != nullptr) ::operator delete(std::exchange(free.head, free.head->next));
  }
};
thread_local EmptiedAtThreadEnd emptiedAtThreadEnd;
}  // namespace

void SSToken::ArmEmptying() { emptiedAtThreadEnd.armed = true; }

void* SSToken::AllocateBlock(size_t bytes) {
  const bool pooled = bytes <= ss_detail::kTokenBlockSize;
  auto* block =
      static_cast<ss_detail::TokenBlock*>(::operator new(pooled ? ss_detail::kTokenBlockSize : bytes, std::nothrow));
  if (block == nullptr) throw SSExceptionOutOfStorage();
  block->pooled = pooled;
  return block + 1;
}
