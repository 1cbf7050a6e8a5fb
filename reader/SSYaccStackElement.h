// An entry's element on the parser's stack: the state it was pushed with
// and, for a shifted terminal, its token.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

#include "reader/SSRef.h"
#include "reader/SSToken.h"

namespace ss_detail {
// Freed plain elements, linked through their first bytes. One list per
// thread, emptied when the thread ends; elements released after that (by
// static objects) go straight back to the system. The list is a plain
// structure, so that reaching it costs no initialisation check; whatever
// puts the first element on it arranges for its emptying.
struct FreeElement {
  FreeElement* next;
};
struct FreeElements {
  FreeElement* head;
  size_t count;
  bool closed;
};
inline constinit thread_local FreeElements freeElements{};
}  // namespace ss_detail

/// A reference-counted parse-stack element. The reduce operation makes the
/// elements of nonterminals (without a token); subclasses may carry more.
class SSYaccStackElement : public SSRef {
 public:
  SSYaccStackElement() = default;

  /// A new element holding one reference.
  static SSRefPtr<SSYaccStackElement> Make() { return SSRefPtr<SSYaccStackElement>::Adopt(new SSYaccStackElement); }

  int32_t State() const noexcept { return state_; }
  void SetState(int32_t state) noexcept { state_ = state; }
  /// The shifted token, or nullptr for a nonterminal's element.
  SSToken* Token() const noexcept { return token_.get(); }
  void SetToken(SSRefPtr<SSToken> token) noexcept { token_ = std::move(token); }

  // Every shifted token and every reduction makes one element: plain
  // elements are recycled through a free list instead of the heap, inline
  // here because the parser asks for one at every step.
  static void* operator new(size_t size) {
    ss_detail::FreeElements& free = ss_detail::freeElements;
    if (size == sizeof(SSYaccStackElement) && free.head != nullptr) {
      --free.count;
      return std::exchange(free.head, free.head->next);
    }
    return Allocate(size);
  }
  static void operator delete(void* p, size_t size) noexcept {
    ss_detail::FreeElements& free = ss_detail::freeElements;
    if (p != nullptr && size == sizeof(SSYaccStackElement) && free.count < kMaxFree && !free.closed) {
      if (free.count == 0) ArmEmptying();
      free.head = new (p) ss_detail::FreeElement{free.head};
      ++free.count;
      return;
    }
    ::operator delete(p);
  }

 private:
  static constexpr size_t kMaxFree = 4096;
  static void* Allocate(size_t size);
  /// Arranges for this thread's free list to be emptied when it ends.
  static void ArmEmptying();

  int32_t state_ = 0;
  SSRefPtr<SSToken> token_;
};
