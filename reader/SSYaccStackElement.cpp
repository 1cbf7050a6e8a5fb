// Parse-stack elements and their free list.
#include "reader/SSYaccStackElement.h"

#include <new>
#include <utility>

namespace {

// Freed plain elements, linked through their first bytes. One list per
// thread, emptied when the thread ends; elements released after that (by
// static objects) go straight back to the system.
struct FreeBlock {
  FreeBlock* next;
};
struct FreeElements {
  FreeBlock* head = nullptr;
  size_t count = 0;
  bool closed = false;
  ~FreeElements() {
    closed = true;
    while (head != nullptr) ::operator delete(std::exchange(head, head->next));
  }
};
thread_local FreeElements freeElements;
constexpr size_t kMaxFree = 4096;

}  // namespace

void* SSYaccStackElement::operator new(size_t size) {
  if (size == sizeof(SSYaccStackElement) && freeElements.head != nullptr && !freeElements.closed) {
    --freeElements.count;
    return std::exchange(freeElements.head, freeElements.head->next);
  }
  void* p = ::operator new(size, std::nothrow);
  if (p == nullptr) throw SSExceptionOutOfStorage();
  return p;
}

void SSYaccStackElement::operator delete(void* p, size_t size) noexcept {
  if (p == nullptr) return;
  if (size == sizeof(SSYaccStackElement) && freeElements.count < kMaxFree && !freeElements.closed) {
    freeElements.head = new (p) FreeBlock{freeElements.head};
    ++freeElements.count;
    return;
  }
  ::operator delete(p);
}
