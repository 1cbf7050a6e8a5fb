// A stack of plain values for the parser's inner loop: pushing and dropping
// are a compare and a store, with no call.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>
#include <type_traits>

/// Values of a trivially copyable \p T. Storage doubles when full, so that
/// any depth costs linear time; dropped values are simply forgotten. It
/// grows in place where it can (realloc): a deep stack (a diagram of
/// 400,000 nested groups) then neither copies its values nor touches their
/// pages again at each doubling.
template <class T>
class SSValueStack {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

 public:
  explicit SSValueStack(size_t capacity = 64) : items_(Allocate(nullptr, capacity)), capacity_(capacity) {}
  SSValueStack(const SSValueStack&) = delete;
  SSValueStack& operator=(const SSValueStack&) = delete;
  ~SSValueStack() { std::free(items_); }

  void Push(const T& value) {
    if (size_ == capacity_) Grow();
    items_[size_++] = value;
  }
  /// Forgets the top \p count values; the caller knows there are as many.
  void Drop(size_t count) noexcept { size_ -= count; }
  T& Top() noexcept { return items_[size_ - 1]; }
  const T& Top() const noexcept { return items_[size_ - 1]; }
  /// The value at \p index counted from the bottom.
  T& operator[](size_t index) noexcept { return items_[index]; }
  const T& operator[](size_t index) const noexcept { return items_[index]; }
  size_t Size() const noexcept { return size_; }
  bool Empty() const noexcept { return size_ == 0; }

 private:
  static T* Allocate(T* items, size_t capacity) {
    void* grown = std::realloc(items, capacity * sizeof(T));
    if (grown == nullptr) throw std::bad_alloc();
    return static_cast<T*>(grown);
  }
  __attribute__((noinline)) void Grow() {
    const size_t capacity = capacity_ < 32 ? 64 : 2 * capacity_;
    items_ = Allocate(items_, capacity);
    capacity_ = capacity;
  }

  T* items_;  // from realloc
  size_t size_ = 0;
  size_t capacity_;
};
