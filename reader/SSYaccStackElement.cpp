// Parse-stack elements: the slow paths of their free list.
#include "reader/SSYaccStackElement.h"

namespace {
// Empties the thread's free list when the thread ends.
struct EmptiedAtThreadEnd {
  bool armed = false;
  ~EmptiedAtThreadEnd() {
    ss_detail::FreeElements& free = ss_detail::freeElements;
    free.closed = true;
    while (free.head != nullptr) ::operator delete(std::exchange(free.head, free.head->next));
  }
};
thread_local EmptiedAtThreadEnd emptiedAtThreadEnd;
}  // namespace

void SSYaccStackElement::ArmEmptying() { emptiedAtThreadEnd.armed = true; }

void* SSYaccStackElement::Allocate(size_t size) {
  void* p = ::operator new(size, std::nothrow);
  if (p == nullptr) throw SSExceptionOutOfStorage();
  return p;
}
