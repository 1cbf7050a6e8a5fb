// The engines' stack: the lexer's mode stack and the parser's parse stack.
#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "reader/SSException.h"

/// A last-in first-out stack that reports misuse with the engine's
/// exceptions. It grows by at least its step and at least doubles, so that
/// deep nesting (a diagram of 400,000 nested groups) costs linear time
/// rather than a copy of the whole stack every step.
template <class T>
class SSLifo {
 public:
  /// \p size is the initial capacity and \p increment the growth step; a
  /// stack with increment 0 may not grow.
  explicit SSLifo(uint32_t size = 32, uint32_t increment = 32) : increment_(increment) {
    items_.reserve(size);
    capacity_ = size;
  }

  void Push(T item) {
    if (items_.size() == capacity_) Grow();
    items_.push_back(std::move(item));
  }
  T Pop() {
    if (items_.empty()) throw SSException(SSCode::kLifoPopEmpty, "SSLifo0004e: Cannot pop empty stack");
    T top = std::move(items_.back());
    items_.pop_back();
    return top;
  }
  /// Drops the top \p count entries at once.
  void Drop(uint32_t count) {
    if (count > items_.size()) throw SSException(SSCode::kLifoPopEmpty, "SSLifo0004e: Cannot pop empty stack");
    items_.resize(items_.size() - count);
  }
  T& Top() {
    if (items_.empty()) throw SSException(SSCode::kLifoNoTop, "SSLifo0002e: No top, stack empty");
    return items_.back();
  }
  /// The entry \p depth places below the top (0 is the top).
  T& Peek(uint32_t depth) {
    if (depth >= items_.size()) throw SSException(SSCode::kLifoInvalidIndex, "SSLifo0003e: Invalid index");
    return items_[items_.size() - 1 - depth];
  }
  uint32_t Size() const { return static_cast<uint32_t>(items_.size()); }
  bool Empty() const { return items_.empty(); }

 private:
  void Grow() {
    if (increment_ == 0) throw SSException(SSCode::kLifoFull, "SSLifo0001e: Stack full");
    capacity_ = std::max(capacity_ + increment_, capacity_ * 2);
    items_.reserve(capacity_);
  }

  std::vector<T> items_;
  uint32_t capacity_ = 0;
  uint32_t increment_;
};
