// Parse-stack elements and their free list.
#include "reader/SSYaccStackElement.h"

#include <new>

namespace {

// Freed plain elements, linked through their first bytes. One list per
// thread, so that parsers on different threads never share it.
struct FreeBlock {
  FreeBlock* next;
};
thread_local FreeBlock* freeElements = nullptr;
thread_local size_t freeCount = 0;
constexpr size_t kMaxFree = 4096;

}  // namespace

void* SSYaccStackElement::operator new(size_t size) {
  if (size == sizeof(SSYaccStackElement) && freeElements != nullptr) {
    FreeBlock* block = freeElements;
    freeElements = block->next;
    --freeCount;
    return block;
  }
  void* p = ::operator new(size, std::nothrow);
  if (p == nullptr) throw SSExceptionOutOfStorage();
  return p;
}

void SSYaccStackElement::operator delete(void* p, size_t size) noexcept {
  if (p == nullptr) return;
  if (size == sizeof(SSYaccStackElement) && freeCount < kMaxFree) {
    freeElements = new (p) FreeBlock{freeElements};
    ++freeCount;
    return;
  }
  ::operator delete(p);
}
