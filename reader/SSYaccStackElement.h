// An entry's element on the parser's stack: the state it was pushed with
// and, for a shifted terminal, its token.
#pragma once

#include <cstddef>
#include <cstdint>

#include "reader/SSRef.h"
#include "reader/SSToken.h"

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
  // elements are recycled through a free list instead of the heap.
  static void* operator new(size_t size);
  static void operator delete(void* p, size_t size) noexcept;

 private:
  int32_t state_ = 0;
  SSRefPtr<SSToken> token_;
};
